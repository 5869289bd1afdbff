// Roots and extremes of a function of one number, each found inside a bracket that every step
// keeps, so that no step can leave it and none can go on for ever:
// - Edge: where a condition starts to hold, by bisection (64 halvings at most), the number
//   returned on the side where it holds: to the last bit where the bracket is at most 4096 times
//   as wide as the edge is large (the sky's quarter degrees are), else within its width / 2⁶⁴.
// - Bracketed: the root of f between a point where f < 0 and one where f > 0 by the Illinois
//   method (the secant, with the value at an end kept twice halved), until no number lies between
//   the two ends: the root as f's own rounding places it. Where the line lands on an end, the
//   number beside it is tried once before the bracket is halved.
// - BracketedFrom: the same from a first guess and the slope near it.
// - Extreme: where g is least between a and b, by the golden section, to a millionth of b − a.
// Kepler's equation, the one root of a known function with its own starting series, keeps its
// Newton steps and their bracket beside it (orbit.cpp); the day's crossings by Halley's steps
// beside the series they solve (crossings.cpp).
#pragma once

#include <algorithm>
#include <cmath>

namespace daycalc {

// The edge between a number where a condition does not hold and one where it does, to the last
// bit: the number on the side where it holds.
template <typename Holds>
double Edge(double outside, double inside, const Holds& holds) {
    for (int i = 0; i < 64; ++i) {
        const double middle = (outside + inside) / 2;
        if (middle == outside || middle == inside) break;
        (holds(middle) ? inside : outside) = middle;
    }
    return inside;
}

// Where g is least between a and b, by the golden section: to a millionth of the interval.
template <typename G>
double Extreme(const G& g, double a, double b) {
    constexpr double kGolden = 0.6180339887498949;
    double c = b - kGolden * (b - a), d = a + kGolden * (b - a);
    double gc = g(c), gd = g(d);
    for (int i = 0; i < 30; ++i) {
        if (gc <= gd) {
            b = d, d = c, gd = gc;
            c = b - kGolden * (b - a), gc = g(c);
        } else {
            a = c, c = d, gc = gd;
            d = a + kGolden * (b - a), gd = g(d);
        }
    }
    return gc <= gd ? c : d;
}

// The root of f between `below` (f < 0) and `above` (f > 0) by the Illinois method, f exact: to
// the last bit, where no number lies between the two ends.
template <typename F>
double Bracketed(const F& f, double below, double fBelow, double above, double fAbove) {
    double x = below;
    int side = 0;
    bool nudged = false;
    for (int i = 0; i < 100; ++i) {
        x = (below * fAbove - above * fBelow) / (fAbove - fBelow);
        const double middle = (below + above) / 2;
        if (middle == below || middle == above) {
            x = middle;
            break;
        }
        if (!(x > std::min(below, above) && x < std::max(below, above))) {
            // The line lands on an end: one whose value is all but 0 and the root next to it. The
            // number beside that end, once; then halves.
            const double end = std::fabs(x - below) <= std::fabs(x - above) ? below : above;
            x = nudged ? middle : std::nextafter(end, end == below ? above : below);
            nudged = true;
        }
        const double fx = f(x);
        if (fx == 0) break;
        if (fx < 0) {
            below = x, fBelow = fx;
            if (side == -1) fAbove /= 2;
            side = -1;
        } else {
            above = x, fAbove = fx;
            if (side == 1) fBelow /= 2;
            side = 1;
        }
    }
    return x;
}

// The same root from a first guess near it, where f's slope is about `slope`: the bracket first
// narrowed to the guess and to twice Newton's step past it, the root mostly between them.
template <typename F>
double BracketedFrom(const F& f, double below, double fBelow, double above, double fAbove,
                     double guess, double slope) {
    const auto inside = [&](double x) {
        return x > std::min(below, above) && x < std::max(below, above);
    };
    if (inside(guess)) {
        const double fGuess = f(guess);
        if (fGuess == 0) return guess;
        (fGuess < 0 ? below : above) = guess;
        (fGuess < 0 ? fBelow : fAbove) = fGuess;
        const double probe = guess - 2 * fGuess / slope;
        if (inside(probe)) {
            const double fProbe = f(probe);
            if (fProbe == 0) return probe;
            (fProbe < 0 ? below : above) = probe;
            (fProbe < 0 ? fBelow : fAbove) = fProbe;
        }
    }
    return Bracketed(f, below, fBelow, above, fAbove);
}

}  // namespace daycalc
