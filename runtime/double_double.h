// Exact steps on doubles that the text form and the circular functions share: a double's bits,
// powers of two, and sums and products carried to twice the precision of a double, with no fused
// multiply-add (the build forbids contracting a · b + c into one).
#pragma once

#include <cstdint>
#include <cstring>

namespace rt {

// hi + lo, with |lo| at most half a unit in the last place of hi once normalised.
struct TwoDoubles {
    double hi;
    double lo;
};

// A double's bits and back (std::bit_cast, which not every C++ library has yet).
inline std::uint64_t BitsOf(double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}
inline double DoubleOf(std::uint64_t bits) {
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// 2^n for n from -1022 to 1023, exactly.
inline double TwoToThe(int n) { return DoubleOf(std::uint64_t(1023 + n) << 52); }

// a + b exactly, for |a| >= |b| or a = 0 (Dekker).
inline TwoDoubles FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a + b exactly, whatever their sizes (Knuth).
inline TwoDoubles TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a · b exactly, by Dekker's splitting into halves of 26 bits, for |a|, |b| below 2^995.
inline TwoDoubles Split(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}
inline TwoDoubles ExactProduct(double a, double b) {
    const double p = a * b;
    const TwoDoubles x = Split(a), y = Split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

}  // namespace rt
