// An independent statement of the default text form: the digits come from printf's correctly
// rounded "%.14e" (in the C locale), and the layout is checked character by character. Shared by
// the property tests and the fuzz targets.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace oracle {

struct Digits {
    std::string significant;  // without trailing zeros
    int exponent = 0;
};

inline Digits PrintfDigits(double x) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(x));
    Digits d;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') d.significant += *p;
    }
    d.significant.erase(d.significant.find_last_not_of('0') + 1);
    d.exponent = std::atoi(p + 1);
    return d;
}

// Says what is wrong with the text of a finite x, or nothing when it is right.
inline std::string TextFormProblem(double x, const std::string& text) {
    if (x == 0) return text == "0" ? "" : "zero is not \"0\"";
    std::string body = text;
    if ((x < 0) != (!body.empty() && body[0] == '-')) return "wrong sign";
    if (x < 0) body.erase(0, 1);
    const Digits want = PrintfDigits(x);
    const bool plain = want.exponent >= -4 && want.exponent <= 14;

    std::string expected;
    if (!plain) {
        expected = want.significant.substr(0, 1);
        if (want.significant.size() > 1) expected += std::string(".") + want.significant.substr(1);
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "E%c%02d", want.exponent < 0 ? '-' : '+',
                      std::abs(want.exponent));
        expected += exponent;
    } else if (want.exponent < 0) {
        expected = std::string("0.") + std::string(-want.exponent - 1, '0') + want.significant;
    } else {
        std::string digits = want.significant;
        if (digits.size() <= static_cast<std::size_t>(want.exponent)) {
            digits.resize(want.exponent + 1, '0');
        }
        expected = digits.substr(0, want.exponent + 1);
        if (digits.size() > static_cast<std::size_t>(want.exponent + 1)) {
            expected += std::string(".") + digits.substr(want.exponent + 1);
        }
    }
    return body == expected ? "" : std::string("expected ") + expected;
}

}  // namespace oracle
