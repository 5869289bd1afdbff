// MPFR's correctly rounded sine, cosine, tangent and arc tangent, the oracle for the runtime's
// own; shared by the property tests and the fuzz target.
#pragma once

#include <mpfr.h>

#include <cstdint>
#include <random>

namespace oracle {

enum class Circular { Sine, Cosine, Tangent, ArcTangent };

// out = f(in), rounded to out's precision.
inline void Apply(Circular f, mpfr_ptr out, mpfr_srcptr in) {
    using Function = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
    constexpr Function kFunctions[] = {mpfr_sin, mpfr_cos, mpfr_tan, mpfr_atan};
    kFunctions[int(f)](out, in, MPFR_RNDN);
}

// The double nearest f(x), from MPFR at 53 bits, rounded to nearest.
inline double Mpfr(Circular f, double x) {
    mpfr_t in, out;
    mpfr_init2(in, 53);
    mpfr_init2(out, 53);
    mpfr_set_d(in, x, MPFR_RNDN);
    Apply(f, out, in);
    const double result = mpfr_get_d(out, MPFR_RNDN);
    mpfr_clear(in);
    mpfr_clear(out);
    return result;
}

// |hi + lo - |f(x)|| / |f(x)|, from MPFR at 300 bits: how far a pair is from the magnitude.
inline double RelativeError(Circular f, double x, double hi, double lo) {
    mpfr_t in, exact, pair;
    mpfr_inits2(300, in, exact, pair, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_d(in, x, MPFR_RNDN);
    Apply(f, exact, in);
    mpfr_abs(exact, exact, MPFR_RNDN);
    mpfr_set_d(pair, hi, MPFR_RNDN);
    mpfr_add_d(pair, pair, lo, MPFR_RNDN);
    mpfr_sub(pair, pair, exact, MPFR_RNDN);
    mpfr_div(pair, pair, exact, MPFR_RNDN);
    const double error = mpfr_get_d(pair, MPFR_RNDN);
    mpfr_clears(in, exact, pair, static_cast<mpfr_ptr>(nullptr));
    return error < 0 ? -error : error;
}

// Arguments over the whole range: every other one any finite double (its bits at random), the
// rest where the calculator's angles lie, within ±8.
inline double RandomArgument(std::mt19937_64& rng, std::uint64_t i) {
    if (i % 2 == 0) {
        for (;;) {
            const double x = __builtin_bit_cast(double, rng());
            if (x - x == 0) return x;
        }
    }
    return std::uniform_real_distribution<double>(-8, 8)(rng);
}

}  // namespace oracle
