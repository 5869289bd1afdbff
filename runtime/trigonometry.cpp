// The method and its error bounds are written in runtime/trigonometry.h.
#include "runtime/trigonometry.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "double_double.h"
#include "trigonometry_parts.h"
#include "wide.h"

namespace rt {
namespace {

using namespace wide;

#include "trigonometry.inc"

constexpr double kTiny = 0x1p-27;      // below it, sin x = tan x = atan x = x
constexpr double kLinearEnd = 0x1p53;  // from it on, atan x is π/2 rounded
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// --- The fast way

// The whole number nearest x, for x from 0 to 2^51, as a double and as an index: adding 1.5 · 2^52
// leaves it in the last bits of the sum, with no conversion to an integer on the way to either.
struct NearestWhole {
    double value;
    std::size_t index;
    static NearestWhole Of(double x) {
        const double sum = x + 0x1.8p52;
        return {sum - 0x1.8p52, std::size_t(BitsOf(sum) & 0xffffffff)};
    }
};

// a = n · π/2 + r, r from -π/4 to π/4 (or a hair beyond), for a from 2^-27 up: |r| as a pair,
// the relative error that error of the pair may bring to sin r, cos r, tan r or 1/tan r (at most
// twice the pair's own, relative), and which quadrant (n mod 4) and sign r have.
struct Near {
    TwoDoubles r;
    double error;
    int quadrant;
    bool negative;
};

// r · π/2 for a pair r above 0.
[[gnu::always_inline]] inline TwoDoubles TimesHalfPi(TwoDoubles r) {
    const TwoDoubles p = ExactProduct(r.hi, kHalfPiPair.hi);
    return FastTwoSum(p.hi, p.lo + (r.hi * kHalfPiPair.lo + r.lo * kHalfPiPair.hi));
}

// Below `unreduced` a stays whole: π/4 for the sine and cosine, whose table ends there, and the
// end of the tangent's table for the tangent.
[[gnu::always_inline]] inline Near NearestRightAngle(double a, double unreduced) {
    if (a <= unreduced) return {{a, 0}, 0, 0, false};
    Near near{};
    if (a < 0x1p20) {
        // Cody and Waite: n · π/2 taken off piece by piece; n · kHalfPiPieces[0 to 2] are exact,
        // and so is the first difference (a and n · π/2 lie within a factor of 2).
        const double n = (a * (1 / kHalfPi) + 0x1.8p52) - 0x1.8p52;
        const double first = a - n * kHalfPiPieces[0];
        const TwoDoubles second = TwoSum(first, -(n * kHalfPiPieces[1]));
        if (std::fabs(second.hi) >= 0x1p-20) {
            // The last two pieces, small beside what is left (2^-28 of it at most), go into its
            // second double; the roundings there stay within 2^-101.
            near.r =
                FastTwoSum(second.hi, (second.lo - n * kHalfPiPieces[2]) - n * kHalfPiPieces[3]);
        } else {  // close to a multiple of π/2: the third piece, exactly too
            const TwoDoubles third = TwoSum(second.hi, -(n * kHalfPiPieces[2]));
            near.r = TwoSum(third.hi, (second.lo + third.lo) - n * kHalfPiPieces[3]);
        }
        near.quadrant = int(n) % 4;
        near.negative = near.r.hi < 0;
        if (near.negative) near.r = {-near.r.hi, -near.r.lo};
        // The pieces' sum is π/2 to 2^-148, the roundings take 2^-104 at most: within 2^-100.
        near.error = near.r.hi >= 0x1p-30 ? 0x1p-69 : 0x1p-99 / near.r.hi;
    } else {
        const Reduced reduced = Reduce(a);
        near.r = TimesHalfPi(PairOf(reduced.t));
        near.error = 0x1p-99;  // t to 2^-320 and 106 bits of it, times π/2 to 2^-104
        near.quadrant = reduced.quadrant;
        near.negative = reduced.negative;
    }
    return near;
}

// The table point below or above r, and what is left of r from it.
struct FromTable {
    const SineCosine* at;
    double hh, h, h2;  // as in TablePoint, and h^2
    double c, s;       // 1 - cos h and sin h - h, by their series to h^6 and h^7
};

// The table point a = i/256 next to r: i, r.hi - a (exact: both lie within a factor of 2, and
// at most 1/512 apart), and the whole rest of r as a double.
struct TablePoint {
    std::size_t i;
    double hh, h;
};

[[gnu::always_inline]] inline TablePoint PointOf(TwoDoubles r) {
    const NearestWhole i = NearestWhole::Of(r.hi * 256);
    const double hh = r.hi - i.value * (1.0 / 256);
    return {i.index, hh, hh + r.lo};
}

[[gnu::always_inline]] inline FromTable Split256(TwoDoubles r) {
    const TablePoint point = PointOf(r);
    FromTable t;
    t.at = &kSineCosine[point.i];
    t.hh = point.hh;
    t.h = point.h;
    t.h2 = t.h * t.h;
    t.c = t.h2 * (0.5 - t.h2 * (1.0 / 24 - t.h2 * (1.0 / 720)));
    t.s = t.h * t.h2 * (-1.0 / 6 + t.h2 * (1.0 / 120 - t.h2 * (1.0 / 5040)));
    return t;
}

// sin(a + h) = S + C h - S (1 - cos h) + C (sin h - h), largest first.
[[gnu::always_inline]] inline TwoDoubles FastSine(TwoDoubles r, const FromTable& t) {
    const double S = t.at->sin.hi, C = t.at->cos.hi;
    const TwoDoubles Ch = ExactProduct(C, t.hh);
    const TwoDoubles head = FastTwoSum(S, Ch.hi);
    return FastTwoSum(head.hi, head.lo + Ch.lo + t.at->sin.lo + (C * r.lo + t.at->cos.lo * t.hh) +
                                   (C * t.s - S * t.c));
}

// cos(a + h) = C - S h - C (1 - cos h) - S (sin h - h).
[[gnu::always_inline]] inline TwoDoubles FastCosine(TwoDoubles r, const FromTable& t) {
    const double S = t.at->sin.hi, C = t.at->cos.hi;
    const TwoDoubles Sh = ExactProduct(S, t.hh);
    const TwoDoubles head = FastTwoSum(C, -Sh.hi);
    return FastTwoSum(head.hi, head.lo - Sh.lo + t.at->cos.lo - (S * r.lo + t.at->sin.lo * t.hh) -
                                   (C * t.c + S * t.s));
}

// The table point next to r and what is left of r from it, for the tangent: tan a as T, and
// tan h - h by its series to h^7.
struct TangentFromTable {
    const TangentSlope* at;
    double hh, h;  // as in TablePoint
    double tail;   // tan h - h
};

[[gnu::always_inline]] inline TangentFromTable TangentSplit(TwoDoubles r) {
    const TablePoint point = PointOf(r);
    TangentFromTable t;
    t.at = &kTangent[point.i];
    t.hh = point.hh;
    t.h = point.h;
    const double h2 = t.h * t.h;
    t.tail = t.h * h2 * (1.0 / 3 + h2 * (2.0 / 15 + h2 * (17.0 / 315)));
    return t;
}

// tan(a + h) = T + S tan h / (1 - u), with T = tan a, S = 1 + T^2 and u = T tan h, which is
// T + S tan h + S tan h · u + S tan h · u^2 / (1 - u). With tan h = hh + rest, S hh and T hh
// are exact pairs; S tan h · u, up to 2^-14 of the whole, is their first doubles' product and the
// cross terms, and joins the sum as a pair of its own so the rest sums only small terms.
[[gnu::always_inline]] inline TwoDoubles FastTangent(TwoDoubles r) {
    const TangentFromTable t = TangentSplit(r);
    const double T = t.at->tan.hi, S = t.at->slope.hi;
    const double rest = r.lo + t.tail, u = T * (t.h + t.tail);
    const TwoDoubles Sh = ExactProduct(S, t.hh);
    const TwoDoubles Th = ExactProduct(T, t.hh);
    const TwoDoubles m = ExactProduct(Sh.hi, Th.hi);  // S hh · T hh
    const double cross = Sh.lo * Th.hi + Sh.hi * (Th.lo + T * rest + t.at->tan.lo * t.hh) +
                         S * rest * u + t.at->slope.lo * t.hh * u;
    const TwoDoubles head = FastTwoSum(T, Sh.hi);
    const TwoDoubles second = FastTwoSum(head.hi, m.hi);
    return FastTwoSum(second.hi, second.lo + head.lo + Sh.lo + t.at->tan.lo +
                                     (S * rest + t.at->slope.lo * t.hh) + (m.lo + cross) +
                                     (m.hi + cross) * u / (1 - u));
}

// a / b for normalised pairs a and b, b above 0: q = a.hi / b.hi by the one reciprocal of b.hi,
// and what the exact remainder a - q b adds, by the same reciprocal (2^-104 or so, relative),
// left unnormalised for a caller that needs q before the rest.
struct Division {
    double q, rest;
};
[[gnu::always_inline]] inline Division Divided(TwoDoubles a, TwoDoubles b) {
    const double inverse = 1 / b.hi;
    const double q = a.hi * inverse;
    const TwoDoubles p = ExactProduct(q, b.hi);
    return {q, (((a.hi - p.hi) - p.lo) + a.lo - q * b.lo) * inverse};
}
[[gnu::always_inline]] inline TwoDoubles Quotient(TwoDoubles a, TwoDoubles b) {
    const Division d = Divided(a, b);
    return FastTwoSum(d.q, d.rest);
}

// 1/tan(a + h) = (1 - T tan h) / (T + tan h), each side as a pair, and one quotient.
[[gnu::always_inline]] inline TwoDoubles FastCotangent(TwoDoubles r) {
    const TangentFromTable t = TangentSplit(r);
    const double T = t.at->tan.hi, rest = r.lo + t.tail;  // tan h = hh + rest
    const TwoDoubles Th = ExactProduct(T, t.hh);
    const TwoDoubles one = FastTwoSum(1, -Th.hi);
    const TwoDoubles sum = TwoSum(T, t.hh);
    // Each side normalised: rest (tan h - hh, up to 2^-28) is far more than the last place of
    // the side's first double, and the quotient takes a side's second double as a small one.
    return Quotient(FastTwoSum(one.hi, one.lo - Th.lo - T * rest - t.at->tan.lo * t.hh),
                    FastTwoSum(sum.hi, sum.lo + t.at->tan.lo + rest));
}

// atan w for w from 0 to 1, w = a or, for a beyond 1, w = 1/a: with a table of atan c at
// c = j/128 next to w, atan w = atan c + atan v, v = (w - c) / (1 + w c), which is
// (1 - c a) / (a + c) for w = 1/a; |v| is at most 1/256.
[[gnu::always_inline]] inline TwoDoubles FastArcTangent(double a) {
    const bool beyond = a > 1;
    const NearestWhole j = NearestWhole::Of(beyond ? 128 / a : 128 * a);
    // v = q + rest, unnormalised: the series below needs only q, and starts before rest is known.
    Division v{a, 0};
    if (j.index != 0) {
        const double c = j.value * (1.0 / 128);
        const TwoDoubles ca = ExactProduct(c, a);
        if (beyond) {  // 1 - c a is exact: c a lies from 1/2 to 2
            v = Divided({1 - ca.hi, -ca.lo}, TwoSum(a, c));
        } else {  // a - c is exact: both lie within a factor of 2
            const TwoDoubles one = FastTwoSum(1, ca.hi);
            v = Divided({a - c, 0}, {one.hi, one.lo + ca.lo});
        }
    } else if (beyond) {
        v = Divided({1, 0}, {a, 0});  // 1/a
    }
    // atan v - v by its series to v^9.
    const double v2 = v.q * v.q;
    const double tail = v.q * v2 * (-1.0 / 3 + v2 * (1.0 / 5 + v2 * (-1.0 / 7 + v2 * (1.0 / 9))));
    const TwoDoubles& at = kArcTangent[j.index];
    const TwoDoubles head = FastTwoSum(at.hi, v.q);
    return FastTwoSum(head.hi, head.lo + at.lo + v.rest + tail);
}

// π/2 - z for z from 0 to π/4.
[[gnu::always_inline]] inline TwoDoubles HalfPiLess(TwoDoubles z) {
    const TwoDoubles head = FastTwoSum(kHalfPiPair.hi, -z.hi);
    return FastTwoSum(head.hi, head.lo + (kHalfPiPair.lo - z.lo));
}

// atan a for a from 2^-27 to below 2^53.
[[gnu::always_inline]] inline TwoDoubles FastArcTangentOf(double a) {
    return a > 1 ? HalfPiLess(FastArcTangent(a)) : FastArcTangent(a);
}

// --- The rounding test

// Whether the exact value, within `error` of y (y.hi above 0, the pair normalised), rounds to
// y.hi: no midpoint between doubles lies within `error` of y.hi + y.lo.
[[gnu::always_inline]] inline bool RoundsToHi(TwoDoubles y, double error) {
    const Word bits = BitsOf(y.hi);
    const Word down = BitsOf(y.lo) >> 63;  // y.lo's sign: which neighbour is the nearer
    const double neighbour = DoubleOf(bits + 1 - 2 * down);
    return std::fabs(y.lo) + error < std::fabs(neighbour - y.hi) * 0.5;
}

constexpr double kBound = 0x1p-66;  // of every fast way, relative

// --- The slow way

// sin, cos, tan and 1/tan of r, by the quadrant: x = n · π/2 + r.
enum class Of { Sine, Cosine, Tangent, Cotangent };

[[gnu::always_inline]] inline Of WhatOf(parts::Function function, int quadrant) {
    const bool odd = quadrant % 2 == 1;
    switch (function) {
        case parts::Function::Sine:
            return odd ? Of::Cosine : Of::Sine;
        case parts::Function::Cosine:
            return odd ? Of::Sine : Of::Cosine;
        default:
            return odd ? Of::Cotangent : Of::Tangent;
    }
}

// The magnitude of function(a) for a from 2^-27 up.
double SlowCircle(parts::Function function, double a) {
    Wide r;
    int quadrant = 0;
    if (a <= kQuarterPi) {
        r = WideOf(a);
    } else {
        const Reduced reduced = Reduce(a);
        r = Multiply(reduced.t, HalfPi());
        quadrant = reduced.quadrant;
    }
    Wide sine, cosine;
    SlowSineCosine(r, sine, cosine);
    switch (WhatOf(function, quadrant)) {
        case Of::Sine:
            return Rounded(sine);
        case Of::Cosine:
            return Rounded(cosine);
        case Of::Tangent:
            return Rounded(Divide(sine, cosine));
        default:
            return Rounded(Divide(cosine, sine));
    }
}

// The magnitude of atan a for a from 2^-27 to below 2^53.
double SlowArcTangent(double a) {
    const bool flip = a > 1;
    const Wide w = flip ? Divide(One(), WideOf(a)) : WideOf(a);
    // Newton's method on f(z) = sin z - w cos z, whose derivative is 1/cos z at the root:
    // z <- z - (sin z - w cos z) cos z, from the fast estimate, each step doubling the bits.
    Wide z = WideOf(FastArcTangent(a).hi);
    for (int step = 0; step < 4; ++step) {
        Wide sine, cosine;
        SlowSineCosine(z, sine, cosine);
        const Wide wCosine = Multiply(w, cosine);
        if (Less(sine, wCosine)) {
            z = Add(z, Multiply(Subtract(wCosine, sine), cosine));
        } else {
            z = Subtract(z, Multiply(Subtract(sine, wCosine), cosine));
        }
    }
    return Rounded(flip ? Subtract(HalfPi(), z) : z);
}

// --- Both ways together

double WithSign(double magnitude, bool negative) { return negative ? -magnitude : magnitude; }

// The double nearest the magnitude of function(a), from the fast pair y when the test lets it
// decide, the slow way otherwise.
[[gnu::always_inline]] inline double Decided(TwoDoubles y, double relativeError,
                                             parts::Function function, double a) {
    if (RoundsToHi(y, y.hi * relativeError)) return y.hi;
    return function == parts::Function::ArcTangent ? SlowArcTangent(a) : SlowCircle(function, a);
}

// What sine, cosine and tangent give beneath 2^-27, at an infinity and for NaN.
[[gnu::always_inline]] inline bool Special(double x, double a, parts::Function function,
                                           double& value) {
    if (a >= kTiny && a - a == 0) return false;
    value = a - a != 0 && a == a ? kNaN : function == parts::Function::Cosine && a == a ? 1 : x;
    return true;
}

// The fast pair for the magnitude of sin, cos or tan of n π/2 + r.
[[gnu::always_inline]] inline TwoDoubles FastCircle(parts::Function function, const Near& near) {
    switch (WhatOf(function, near.quadrant)) {
        case Of::Sine:
            return FastSine(near.r, Split256(near.r));
        case Of::Cosine:
            return FastCosine(near.r, Split256(near.r));
        case Of::Tangent:
            return FastTangent(near.r);
        default:
            return FastCotangent(near.r);
    }
}

// Whether sin, cos or tan of x = n π/2 + r is negative, from n's quadrant q and the signs of r and
// x: sin(n π/2 + r) is sin r, cos r, -sin r, -cos r by the quadrant, cos(n π/2 + r) is cos r,
// -sin r, -cos r, sin r, and tan(n π/2 + r) is tan r or -1/tan r; sin and tan are odd, cos even.
[[gnu::always_inline]] inline bool Negative(parts::Function function, int q, bool rNegative,
                                            bool xNegative) {
    switch (function) {
        case parts::Function::Sine:
            return ((q >= 2) != (q % 2 == 0 && rNegative)) != xNegative;
        case parts::Function::Cosine:
            return (q == 1 || q == 2) != (q % 2 == 1 && rNegative);
        default:
            return ((q % 2 == 1) != rNegative) != xNegative;
    }
}

[[gnu::always_inline]] inline double Unreduced(parts::Function function) {
    return function == parts::Function::Tangent ? kTangentTableEnd : kQuarterPi;
}

// sin, cos or tan of x: the exact cases, else the fast pair and its rounding test, else the
// slow way.
[[gnu::always_inline]] inline double Circle(parts::Function function, double x) {
    const double a = std::fabs(x);
    double special;
    if (Special(x, a, function, special)) return special;
    const Near near = NearestRightAngle(a, Unreduced(function));
    const TwoDoubles y = FastCircle(function, near);
    return WithSign(Decided(y, kBound + near.error, function, a),
                    Negative(function, near.quadrant, near.negative, x < 0));
}

}  // namespace

double Sine(double x) { return Circle(parts::Function::Sine, x); }
double Cosine(double x) { return Circle(parts::Function::Cosine, x); }
double Tangent(double x) { return Circle(parts::Function::Tangent, x); }

double ArcTangent(double x) {
    const double a = std::fabs(x);
    if (!(a >= kTiny)) return x;  // tiny, or NaN
    if (a == 1) return WithSign(kQuarterPi, x < 0);
    if (a >= kLinearEnd) return WithSign(kHalfPi, x < 0);
    const TwoDoubles y = FastArcTangentOf(a);
    return WithSign(Decided(y, kBound, parts::Function::ArcTangent, a), x < 0);
}

double ArcCosine(double x) { return 2 * ArcTangent(std::sqrt((1 - x) / (1 + x))); }

double ArcTangent2(double y, double x) {
    const double ay = std::fabs(y), ax = std::fabs(x);
    double angle = 0;
    if (ay <= ax) {
        angle = ax == 0 ? 0 : ArcTangent(ay / ax);
    } else {
        angle = (kHalfPiPair.hi - ArcTangent(ax / ay)) + kHalfPiPair.lo;
    }
    if (std::signbit(x)) angle = (2 * kHalfPiPair.hi - angle) + 2 * kHalfPiPair.lo;
    return std::signbit(y) ? -angle : angle;
}

namespace parts {

TwoDoubles Fast(Function function, double x) {
    const double a = std::fabs(x);
    if (function == Function::ArcTangent) return FastArcTangentOf(a);
    return FastCircle(function, NearestRightAngle(a, Unreduced(function)));
}

double Slow(Function function, double x) {
    const double a = std::fabs(x);
    return function == Function::ArcTangent ? SlowArcTangent(a) : SlowCircle(function, a);
}

}  // namespace parts
}  // namespace rt
