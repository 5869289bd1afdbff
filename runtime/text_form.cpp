#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "runtime/runtime.h"

namespace rt {
namespace {

// Fifteen digits: every decimal of fifteen digits survives the trip through a double, so the
// text never shows a digit the double does not hold.
constexpr int kSignificantDigits = 15;
// Plain notation while it needs no more than the fifteen digits and three leading zeros.
constexpr int kLowestPlainExponent = -4;
constexpr int kHighestPlainExponent = 14;

// The significant digits without trailing zeros, and the decimal exponent of the first one.
struct Decimal {
    char buffer[kSignificantDigits];
    std::size_t count = 0;
    int exponent = 0;

    std::string_view Digits() const { return {buffer, count}; }
};

Decimal RoundTo15Digits(double magnitude) {
    char text[32];  // "d.dddddddddddddde+XXX"
    const char* end = std::to_chars(text, text + sizeof text, magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1)
                          .ptr;
    Decimal d;
    d.buffer[d.count++] = text[0];
    const char* p = text + 2;
    for (; *p != 'e'; ++p) d.buffer[d.count++] = *p;
    while (d.count > 1 && d.buffer[d.count - 1] == '0') --d.count;
    std::from_chars(p + 1 + (p[1] == '+'), end, d.exponent);
    return d;
}

void AppendPlain(std::string& text, const Decimal& d) {
    const std::string_view digits = d.Digits();
    if (d.exponent < 0) {
        text += "0.";
        text.append(-d.exponent - 1, '0');
        text += digits;
        return;
    }
    const std::size_t wholeDigits = d.exponent + 1;
    if (digits.size() <= wholeDigits) {
        text += digits;
        text.append(wholeDigits - digits.size(), '0');
        return;
    }
    text += digits.substr(0, wholeDigits);
    text += '.';
    text += digits.substr(wholeDigits);
}

void AppendExponentForm(std::string& text, const Decimal& d) {
    const std::string_view digits = d.Digits();
    text += digits[0];
    if (digits.size() > 1) {
        text += '.';
        text += digits.substr(1);
    }
    text += d.exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(d.exponent);
    if (magnitude < 10) text += '0';
    char exponent[4];
    text.append(exponent, std::to_chars(exponent, exponent + sizeof exponent, magnitude).ptr);
}

}  // namespace

std::string TextFromDouble(double x) {
    if (x == 0) return "0";
    if (!std::isfinite(x)) return std::isnan(x) ? "NaN" : (x < 0 ? "-Infinity" : "Infinity");
    const Decimal decimal = RoundTo15Digits(std::fabs(x));
    std::string text;
    if (x < 0) text += '-';
    if (decimal.exponent >= kLowestPlainExponent && decimal.exponent <= kHighestPlainExponent) {
        AppendPlain(text, decimal);
    } else {
        AppendExponentForm(text, decimal);
    }
    return text;
}

}  // namespace rt
