#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "double_double.h"
#include "runtime/runtime.h"

namespace rt {
namespace {

// Fifteen digits: every decimal of fifteen digits survives the trip through a double, so the
// text never shows a digit the double does not hold.
constexpr int kSignificantDigits = 15;
constexpr std::uint64_t kLowest15Digits = 100'000'000'000'000;  // 10^14
constexpr std::uint64_t kPast15Digits = 10 * kLowest15Digits;
// Plain notation while it needs no more than the fifteen digits and three leading zeros.
constexpr int kLowestPlainExponent = -4;
constexpr int kHighestPlainExponent = 14;

// 10^k for k from kLowestPower up, as (hi + lo) · 2^e: 106 bits of it.
struct PowerOfTen {
    double hi;
    double lo;
    int e;
};
constexpr int kLowestPower = -294;
constexpr PowerOfTen kPowersOfTen[] = {
#include "powers_of_ten.inc"
};

// x = f · 2^e2 with f from 0.5 to below 1, for a finite x above 0.
double Significand(double x, int& e2) {
    int scale = 0;
    if (x < TwoToThe(-1022)) x *= TwoToThe(54), scale = 54;  // below the normal numbers
    const std::uint64_t bits = BitsOf(x);
    e2 = int(bits >> 52) - 1022 - scale;
    return DoubleOf((bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1022) << 52));
}

// f · 10^k · 2^e2 to 104 bits or so, for a significand f from 0.5 to 1, where that lies from
// 10^14 to below 10^16.
TwoDoubles Scaled(double f, int e2, int k) {
    const PowerOfTen& power = kPowersOfTen[k - kLowestPower];
    const TwoDoubles p = ExactProduct(f, power.hi);
    const double lo = p.lo + f * power.lo;
    const double hi = p.hi + lo;  // the sum again as a double and what it leaves
    const double scale = TwoToThe(e2 + power.e);
    return {hi * scale, (lo - (hi - p.hi)) * scale};
}

// A whole number of any size, just enough to settle the rare case the fast way cannot: which
// side of a half the rest of the fifteenth digit lies.
class Whole {
  public:
    explicit Whole(std::uint64_t value) {
        for (; value != 0; value >>= 32) words_.push_back(std::uint32_t(value));
    }
    Whole& Times(std::uint32_t factor, int count) {
        for (int i = 0; i < count; ++i) {
            std::uint64_t carry = 0;
            for (std::uint32_t& word : words_) {
                const std::uint64_t product = std::uint64_t(word) * factor + carry;
                word = std::uint32_t(product);
                carry = product >> 32;
            }
            if (carry != 0) words_.push_back(std::uint32_t(carry));
        }
        return *this;
    }
    friend int Compare(const Whole& a, const Whole& b) {
        if (a.words_.size() != b.words_.size()) return a.words_.size() < b.words_.size() ? -1 : 1;
        for (std::size_t i = a.words_.size(); i-- > 0;) {
            if (a.words_[i] != b.words_[i]) return a.words_[i] < b.words_[i] ? -1 : 1;
        }
        return 0;
    }

  private:
    std::vector<std::uint32_t> words_;
};

// Whether m · 2^q · 10^k, exactly, lies below (-1), on (0) or above (1) n + 1/2.
int AgainstHalf(std::uint64_t m, int q, int k, std::uint64_t n) {
    Whole twice(2 * m), half(2 * n + 1);
    twice.Times(2, std::max(q, 0)).Times(10, std::max(k, 0));
    half.Times(2, std::max(-q, 0)).Times(10, std::max(-k, 0));
    return Compare(twice, half);
}

// The fifteen significant digits of a finite x above 0, rounded correctly (a half to even), and
// the decimal exponent of the first.
struct Decimal {
    std::uint64_t digits;  // from 10^14 to below 10^15
    int exponent;
};

Decimal RoundTo15Digits(double x) {
    int e2 = 0;
    const double f = Significand(x, e2);
    // x lies from 2^(e2 − 1) to below 2^e2: its decimal exponent is this or one more.
    int exponent = int(std::floor((e2 - 1) * 0.30102999566398120));
    TwoDoubles y = Scaled(f, e2, kSignificantDigits - 1 - exponent);
    if (y.hi >= double(kPast15Digits)) y = Scaled(f, e2, kSignificantDigits - 1 - ++exponent);
    // y is x · 10^(14 − exponent), from 10^14 to below 10^15, within 1e-16 or so.
    double whole = double(std::uint64_t(y.hi));  // y is positive: the cut is the floor
    double rest = (y.hi - whole) + y.lo;
    if (rest < 0) whole -= 1, rest += 1;
    if (rest >= 1) whole += 1, rest -= 1;
    std::uint64_t n = std::uint64_t(whole);
    constexpr double kDoubt = 1e-9;  // far beyond the error of y
    int side = rest < 0.5 - kDoubt ? -1 : rest > 0.5 + kDoubt ? 1 : 0;
    if (side == 0) {
        side = AgainstHalf(std::uint64_t(f * TwoToThe(53)), e2 - 53,
                           kSignificantDigits - 1 - exponent, n);
    }
    if (side > 0 || (side == 0 && n % 2 == 1)) ++n;
    if (n == kPast15Digits) n = kLowest15Digits, ++exponent;
    return {n, exponent};
}

}  // namespace

std::string TextFromDouble(double x) {
    if (x == 0) return "0";
    if (!std::isfinite(x)) return std::isnan(x) ? "NaN" : (x < 0 ? "-Infinity" : "Infinity");
    const Decimal d = RoundTo15Digits(std::fabs(x));
    // The digits in two halves of seven and eight, two at a time from a table of pairs.
    char digits[kSignificantDigits + 1];
    const auto pairs = [](std::uint32_t n, char* last, int count) {
        static constexpr char kPairs[] =
            "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
            "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
            "8081828384858687888990919293949596979899";
        for (; count > 1; count -= 2, n /= 100, last -= 2) {
            last[-1] = kPairs[2 * (n % 100)];
            last[0] = kPairs[2 * (n % 100) + 1];
        }
        if (count == 1) *last = char('0' + n);
    };
    pairs(std::uint32_t(d.digits / 100'000'000), digits + 6, 7);
    pairs(std::uint32_t(d.digits % 100'000'000), digits + 14, 8);
    int count = kSignificantDigits;
    while (count > 1 && digits[count - 1] == '0') --count;  // no trailing zeros

    char text[32];  // "-d.ddddddddddddddE-308", or "-0.000" and fifteen digits
    char* end = text;
    const auto put = [&end](const char* from, int count) {
        for (int i = 0; i < count; ++i) *end++ = from[i];
    };
    const auto zeros = [&end](int count) {
        for (int i = 0; i < count; ++i) *end++ = '0';
    };
    if (x < 0) *end++ = '-';
    if (d.exponent < kLowestPlainExponent || d.exponent > kHighestPlainExponent) {
        *end++ = digits[0];
        if (count > 1) *end++ = '.', put(digits + 1, count - 1);
        *end++ = 'E';
        *end++ = d.exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(d.exponent);
        if (magnitude >= 100) *end++ = char('0' + magnitude / 100);
        *end++ = char('0' + magnitude / 10 % 10);
        *end++ = char('0' + magnitude % 10);
    } else if (d.exponent < 0) {
        *end++ = '0', *end++ = '.';
        zeros(-d.exponent - 1);
        put(digits, count);
    } else if (count <= d.exponent + 1) {
        put(digits, count);
        zeros(d.exponent + 1 - count);
    } else {
        put(digits, d.exponent + 1);
        *end++ = '.';
        put(digits + d.exponent + 1, count - d.exponent - 1);
    }
    return std::string(text, end);
}

}  // namespace rt
