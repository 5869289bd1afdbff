#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "double_double.h"
#include "runtime/runtime.h"

namespace rt {
namespace {

// Fifteen digits: every decimal of fifteen digits survives the trip through a double, so the
// text never shows a digit the double does not hold.
constexpr int kSignificantDigits = 15;
constexpr int kMostDigits = 17;  // enough for any double to read back as itself
constexpr std::array<std::uint64_t, kMostDigits + 1> kTenToThe = [] {
    std::array<std::uint64_t, kMostDigits + 1> powers{1};
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = 10 * powers[i - 1];
    return powers;
}();
// Plain notation while it needs no more than the fifteen digits and three leading zeros.
constexpr int kLowestPlainExponent = -4;
constexpr int kHighestPlainExponent = 14;

// 10^k for k from kLowestPower up, as (hi + lo) · 2^e: 106 bits of it.
struct PowerOfTen {
    double hi;
    double lo;
    int e;
};
constexpr int kLowestPower = -308;
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

// Whether f · 2^e2 (f from 0.5 to below 1) is at least 10^k = (hi + lo) · 2^e (hi from 1 to
// below 2), by the exponents of the two and then, where they are next to each other, by the
// significands.
bool AtLeastTenToThe(double f, int e2, int k) {
    const PowerOfTen& power = kPowersOfTen[k - kLowestPower];
    const int d = e2 - power.e;
    return d >= 2 || (d == 1 && (2 * f > power.hi || (2 * f == power.hi && power.lo <= 0)));
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

// The first `count` significant digits (1 to 17) of a finite x above 0, rounded correctly (a
// half to even), and the decimal exponent of the first.
struct Decimal {
    std::uint64_t digits;  // from 10^(count - 1) to below 10^count
    int exponent;
};

Decimal RoundToSignificant(double x, int count) {
    const std::uint64_t lowest = kTenToThe[count - 1], past = kTenToThe[count];
    int e2 = 0;
    const double f = Significand(x, e2);
    // x lies from 2^(e2 − 1) to below 2^e2: its decimal exponent is this or one more (the
    // product, which is floor((e2 − 1) · log10 2) for |e2| below 1650, shifted).
    int exponent = ((e2 - 1) * 78913) >> 18;
    if (exponent + 1 >= kLowestPower && AtLeastTenToThe(f, e2, exponent + 1)) ++exponent;
    TwoDoubles y = Scaled(f, e2, count - 1 - exponent);
    if (y.hi >= double(past)) y = Scaled(f, e2, count - 1 - ++exponent);  // y.hi rounded up to it
    // y is x · 10^(count − 1 − exponent), from 10^(count − 1) to below 10^count, within 1e-14.
    // Its whole part and what is left, a few units at most either way (past 2^53, y.lo holds
    // them); the whole part is counted as a whole number, for a double cannot hold every one.
    std::uint64_t n = std::uint64_t(y.hi);  // y is positive: the cut is the floor
    double rest = (y.hi - double(n)) + y.lo;
    for (; rest < 0; rest += 1) --n;
    for (; rest >= 1; rest -= 1) ++n;
    constexpr double kDoubt = 1e-9;  // far beyond the error of y
    int side = rest < 0.5 - kDoubt ? -1 : rest > 0.5 + kDoubt ? 1 : 0;
    if (side == 0) {
        side = AgainstHalf(std::uint64_t(f * TwoToThe(53)), e2 - 53, count - 1 - exponent, n);
    }
    if (side > 0 || (side == 0 && n % 2 == 1)) ++n;
    if (n == past) n = lowest, ++exponent;
    return {n, exponent};
}

// The digits of d, `count` of them with the trailing zeros dropped, laid out as the default text
// form lays them out: plain where the first digit's decimal exponent is -4 to 14, otherwise a
// mantissa and "E" with a sign and at least two digits.
std::string Layout(bool negative, Decimal d, int count) {
    // The digits in two halves, the last eight and those before, two at a time from a table of
    // pairs: two short chains of divisions instead of one long one.
    char digits[kMostDigits];
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
    constexpr std::uint64_t kEight = 100'000'000;
    const int low = std::min(count, 8);
    pairs(std::uint32_t(d.digits % kEight), digits + count - 1, low);
    if (count > low) pairs(std::uint32_t(d.digits / kEight), digits + count - 1 - low, count - low);
    while (count > 1 && digits[count - 1] == '0') --count;  // no trailing zeros

    char text[40];  // "-d.ddddddddddddddddE-308", or "-0.000" and seventeen digits
    char* end = text;
    const auto put = [&end](const char* from, int count) {
        std::memcpy(end, from, std::size_t(count));
        end += count;
    };
    const auto zeros = [&end](int count) {
        std::memset(end, '0', std::size_t(count));
        end += count;
    };
    if (negative) *end++ = '-';
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

}  // namespace

std::string TextFromDouble(double x) {
    if (x == 0) return "0";
    if (!std::isfinite(x)) return std::isnan(x) ? "NaN" : (x < 0 ? "-Infinity" : "Infinity");
    return Layout(x < 0, RoundToSignificant(std::fabs(x), kSignificantDigits), kSignificantDigits);
}

std::string ShortestText(double x) {
    if (x == 0 || !std::isfinite(x)) return TextFromDouble(x);
    for (int count = 1;; ++count) {
        const std::string text = Layout(x < 0, RoundToSignificant(std::fabs(x), count), count);
        if (count == kMostDigits || StrictNumber(text) == x) return text;
    }
}

namespace {

// Hours to whole seconds, the nearest, a half up: p + e is the exact product (e by fma), and p's
// fraction is exact, so the comparison with a half is too.
long long UnitsOf(double hours, double perHour) {
    const double p = hours * perHour;
    const double e = std::fma(hours, perHour, -p);
    const double whole = std::floor(p), rest = p - whole;
    const bool up = rest > 0.5 || (rest == 0.5 && e >= 0);
    return static_cast<long long>(whole) + (up ? 1 : 0);
}
long long SecondsOf(double hours) { return UnitsOf(hours, 3600); }

// Whole days and what is left of a number of units, `perDay` of them a day.
std::pair<long long, long long> DaysAnd(long long units, long long perDay) {
    const long long days = units >= 0 ? units / perDay : -((-units + perDay - 1) / perDay);
    return {days, units - days * perDay};
}

std::string DateMark(long long days) {
    if (days == 0) return "";
    return (days > 0 ? " +" : " -") + std::to_string(days > 0 ? days : -days);
}

std::string TwoDigits(long long n) { return {char('0' + n / 10), char('0' + n % 10)}; }

constexpr double kLongestHours = 1e12;

}  // namespace

std::string ClockText(double hours) {
    if (!(std::fabs(hours) <= kLongestHours)) return TextFromDouble(hours);
    const auto [days, within] = DaysAnd(SecondsOf(hours), 86400);
    return TwoDigits(within / 3600) + ":" + TwoDigits(within / 60 % 60) + ":" +
           TwoDigits(within % 60) + DateMark(days);
}

std::string ClockMinutesText(double hours) {
    if (!(std::fabs(hours) <= kLongestHours)) return TextFromDouble(hours);
    const auto [days, within] = DaysAnd(UnitsOf(hours, 60), 1440);
    return TwoDigits(within / 60) + ":" + TwoDigits(within % 60) + DateMark(days);
}

std::string LengthWords(double hours) {
    if (!(std::fabs(hours) <= kLongestHours)) return TextFromDouble(hours) + " h";
    const long long minutes = UnitsOf(std::fabs(hours), 60);
    const std::string sign = hours < 0 && minutes > 0 ? "-" : "";
    if (minutes < 60) return sign + std::to_string(minutes) + " min";
    const std::string whole = sign + std::to_string(minutes / 60) + " h";
    return minutes % 60 == 0 ? whole : whole + " " + std::to_string(minutes % 60) + " min";
}

std::string DurationText(double hours) {
    if (!(std::fabs(hours) <= kLongestHours)) return TextFromDouble(hours);
    const long long seconds = SecondsOf(std::fabs(hours));
    return std::string(hours < 0 && seconds > 0 ? "-" : "") + std::to_string(seconds / 3600) + ":" +
           TwoDigits(seconds / 60 % 60) + ":" + TwoDigits(seconds % 60);
}

double RoundToDigits(double x, int digits) {
    if (x == 0 || !std::isfinite(x)) return x;
    const int count = std::clamp(digits, 1, kMostDigits);
    const Decimal d = RoundToSignificant(std::fabs(x), count);
    const std::string text = Layout(x < 0, {d.digits, 0}, count) + "E" + std::to_string(d.exponent);
    return StrictNumber(text).value_or(x);
}

}  // namespace rt
