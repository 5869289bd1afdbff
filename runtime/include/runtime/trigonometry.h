// The circular functions the calculator is made of, the same bits on every processor, compiler
// and in WebAssembly: built from integer arithmetic and the four IEEE operations on doubles,
// rounded as written (no fused multiply-add, no long double, no C library function).
//
// Sine, Cosine, Tangent and ArcTangent are correctly rounded: each gives the double nearest the
// exact value (a tie cannot happen: none of these values is a midpoint between doubles). The
// method, for a finite x:
//
// 1. Exact cases: below 2^-27 in magnitude, sin x, tan x and atan x round to x and cos x to 1
//    (what is dropped, x^3/3 at most, is less than a quarter of a unit in the last place);
//    atan(±1) is ±π/4 rounded, and from 2^53 on atan x rounds to ±π/2 rounded.
// 2. Reduction (sine and cosine beyond π/4, the tangent beyond 1.25, where its table ends):
//    x = n · π/2 + r with |r| at most π/4.
//    Below 2^20, by Cody and Waite: n · π/2 taken off in four pieces of π/2, the first three of
//    32 bits so that their products with n are exact; r as a pair of doubles within 2^-100.
//    From 2^20 up, with whole numbers: the 53-bit significand times 384 bits of 2/π (from a
//    table of 1536 bits, starting where the exponent needs them), exact to 2^-320. No double
//    lies closer than 2^-61 to a multiple of π/2 (6381956970095103 · 2^797 is the closest), so
//    r keeps at least 250 significant bits for every double up to the largest, 1.8e308.
// 3. The fast way, in pairs of doubles (about 106 bits), from tables at a = i/256 with
//    h = r - a (|h| at most 1/512): sin r = sin a cos h + cos a sin h and cos r likewise, cos h
//    and sin h by their Taylor series to h^6 and h^7; tan r = T + (1 + T^2) tan h / (1 - T tan h)
//    (r up to 1.25 unreduced, the second-order term's leading product exact) and
//    1/tan r = (1 - T tan h) / (T + tan h) with T = tan a, tan h by its series to h^7. The
//    arc tangent of w (|x|, or 1/|x| beyond 1, and then π/2 less) from a table of atan(j/128)
//    and the series of atan v to v^9, v = (w - j/128) / (1 + w · j/128), |v| at most 1/256.
//    Error bound, relative, before the final rounding: 2^-66 for every function (the tests
//    hold the pairs to a quarter of it against MPFR; they measure 2^-70 or so), plus what the
//    error of r brings to sine, cosine, tangent and its inverse, twice its relative error at
//    most: 2^-69, or 2^-99 / |r| for |r| below 2^-30 (after the reduction with whole numbers,
//    2^-99).
// 4. The rounding test: when a midpoint between doubles may lie within the bound of the pair
//    (about once in 5,000 calls), the slow way decides.
// 5. The slow way, in fixed point with 64 whole and 320 fractional bits: r again from the
//    reduction with whole numbers, the Taylor series of sine and cosine to 2^-320, the tangent
//    by long division, the arc tangent by Newton's method on sin z - w cos z = 0 from the fast
//    estimate (four steps, each doubling the bits). Its error, below 2^-300 (relative: 2^-250
//    for the smallest r), is far below the distance of any of these functions' values from a
//    midpoint (the hardest known cases of double precision lie about 2^-120 from one).
//
// ArcCosine and ArcTangent2 are made of ArcTangent, square roots and the four
// operations, within a few units in the last place; not correctly rounded, but the same bits
// everywhere too.
//
// NaN gives NaN, as do the sine, cosine and tangent of an infinity; atan(±∞) is ±π/2.
#pragma once

namespace rt {

double Sine(double x);
double Cosine(double x);
double Tangent(double x);
double ArcTangent(double x);

double ArcCosine(double x);              // 0 to π; NaN beyond ±1
double ArcTangent2(double y, double x);  // the angle of (x, y), -π to π

// π/2 and π/4 rounded: the right angle of the formulas that need one, and ArcTangent(1).
inline constexpr double kHalfPi = 0x1.921fb54442d18p+0;
inline constexpr double kQuarterPi = 0x1.921fb54442d18p-1;

}  // namespace rt
