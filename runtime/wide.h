// Fixed point numbers of 384 bits, for the slow way of the circular functions and the reduction of
// large arguments: word 0 the whole part, words 1 to 5 the fraction (down to 2^-320), most
// significant first. Sums and differences are exact; products and quotients are cut off below
// 2^-320, each within 2^-317.
#pragma once

#include <cstdint>

#include "double_double.h"

namespace rt::wide {

using Word = std::uint64_t;
__extension__ typedef unsigned __int128 DoubleWord;

constexpr int kWords = 6;

constexpr int kFractionBits = 64 * (kWords - 1);

// A number from 0 up to below 2^64.
struct Wide {
    Word w[kWords] = {};
};

// Whether a < b.
bool Less(const Wide& a, const Wide& b);

// a + b, for a sum below 2^64.
Wide Add(Wide a, const Wide& b);

// a - b, for a >= b.
Wide Subtract(Wide a, const Wide& b);

// a · b, the bits below 2^-320 cut off (an error under 2^-317), for a product below 2^64.
Wide Multiply(const Wide& a, const Wide& b);

// a / b for b above 0 and a quotient below 2^64, cut off: long division, a bit at a time.
Wide Divide(const Wide& a, const Wide& b);

// A double from 0 up to below 2^64, exactly where its last bit is at least 2^-320 (cut off
// otherwise).
Wide WideOf(double x);

// The double nearest a, a half to even, for a from 2^-1000 to below 2^64.
double Rounded(const Wide& a);

// The first 106 bits of a, for a above 0: the pair of doubles it starts with.
TwoDoubles PairOf(const Wide& a);

// 1, and π/2 to 2^-320 (cut off).
Wide One();
Wide HalfPi();

// sin r and cos r, for r from 0 to 1, by their Taylor series: each term the last times r^2 over
// the next two whole numbers, until a term is below 2^-320.
void SlowSineCosine(const Wide& r, Wide& sine, Wide& cosine);

// a = (quadrant + t) · π/2 for a from π/4 up, with t from -1/2 to 1/2: its magnitude and sign.
struct Reduced {
    int quadrant = 0;  // 0 to 3
    bool negative = false;
    Wide t;  // |t|
};

// The reduction of a large argument: its product with the bits of 2/π that matter for it (those
// from 2^-k on for a of 2^k or so; earlier ones give multiples of 4).
Reduced Reduce(double a);

}  // namespace rt::wide
