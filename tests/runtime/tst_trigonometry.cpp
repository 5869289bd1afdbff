// The runtime's circular functions against MPFR: correctly rounded over random arguments of
// every size and the hard cases, each of the two ways within its bound, and the functions made
// from them within a few units in the last place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "../../runtime/trigonometry_parts.h"
#include "runtime/trigonometry.h"
#include "trigonometry_oracle.h"

namespace {

using oracle::Circular;
using rt::parts::Function;

struct Named {
    const char* name;
    Circular oracle;
    Function part;
    double (*function)(double);
    double bound;  // of the fast way, from the header
};
const Named kFunctions[] = {
    {"Sine", Circular::Sine, Function::Sine, rt::Sine, 0x1p-66},
    {"Cosine", Circular::Cosine, Function::Cosine, rt::Cosine, 0x1p-66},
    {"Tangent", Circular::Tangent, Function::Tangent, rt::Tangent, 0x1p-66},
    {"ArcTangent", Circular::ArcTangent, Function::ArcTangent, rt::ArcTangent, 0x1p-66},
};

void PrintTo(const Named& f, std::ostream* out) { *out << f.name; }

std::uint64_t BitsOf(double x) { return __builtin_bit_cast(std::uint64_t, x); }

// How many random arguments each function gets: DAYLIGHT_ORACLE_SAMPLES, or 200,000.
std::uint64_t Samples() {
    const char* text = std::getenv("DAYLIGHT_ORACLE_SAMPLES");
    return text != nullptr ? std::strtoull(text, nullptr, 10) : 200'000;
}

class CorrectlyRounded : public testing::TestWithParam<Named> {};

TEST_P(CorrectlyRounded, OverRandomArguments) {
    const Named& f = GetParam();
    std::mt19937_64 rng(BitsOf(f.bound) + std::uint64_t(f.part));
    const std::uint64_t samples = Samples();
    std::uint64_t mismatches = 0;
    for (std::uint64_t i = 0; i < samples; ++i) {
        const double x = oracle::RandomArgument(rng, i);
        const double expected = oracle::Mpfr(f.oracle, x), got = f.function(x);
        if (BitsOf(got) != BitsOf(expected) && ++mismatches <= 5) {
            ADD_FAILURE() << f.name << std::hexfloat << "(" << x << ") = " << got << ", not "
                          << expected;
        }
    }
    EXPECT_EQ(mismatches, 0u) << "of " << samples;
}

// Both ways on their own, so that the rarely taken slow way is held to the oracle as often as
// the fast one, and the fast way's pair to its bound, with a factor of 4 to spare.
TEST_P(CorrectlyRounded, EachWayOnItsOwn) {
    const Named& f = GetParam();
    std::mt19937_64 rng(11 + std::uint64_t(f.part));
    double worst = 0;
    for (std::uint64_t i = 0; i < 20'000; ++i) {
        double x = std::fabs(oracle::RandomArgument(rng, i));
        if (x < 0x1p-27 || (f.part == Function::ArcTangent && x >= 0x1p53)) continue;
        const rt::TwoDoubles fast = rt::parts::Fast(f.part, x);
        worst = std::max(worst, oracle::RelativeError(f.oracle, x, fast.hi, fast.lo));
        if (i % 10 == 0) {
            const double expected = std::fabs(oracle::Mpfr(f.oracle, x));
            ASSERT_EQ(BitsOf(rt::parts::Slow(f.part, x)), BitsOf(expected))
                << f.name << std::hexfloat << "(" << x << ")";
        }
    }
    EXPECT_LE(worst, f.bound / 4) << f.name;
}

INSTANTIATE_TEST_SUITE_P(Trigonometry, CorrectlyRounded, testing::ValuesIn(kFunctions),
                         [](const auto& info) { return std::string(info.param.name); });

// Arguments where a function is hardest to get right: nearest the multiples of π/2 (the worst of
// all doubles, 6381956970095103 · 2^797, lies 2^-61 from one), the largest, where the series
// stop and start, and the angles the calculator takes most.
struct HardCase {
    const char* name;
    double x;
};
const HardCase kHardCases[] = {
    {"closest_to_a_right_angle", 0x1.6ac5b262ca1ffp+849},
    {"nearest_half_pi", 0x1.921fb54442d18p+0},
    {"nearest_pi", 0x1.921fb54442d18p+1},
    {"nearest_three_half_pi", 0x1.2d97c7f3321d2p+2},
    {"nearest_1e6_half_pi", 0x1.7f7f7c4d3a3cep+20},
    {"ten_to_22", 1e22},
    {"largest", 0x1.fffffffffffffp+1023},
    {"quarter_pi_rounded", 0x1.921fb54442d18p-1},
    {"just_past_quarter_pi", 0x1.921fb54442d19p-1},
    {"tiny_limit", 0x1p-27},
    {"below_tiny_limit", 0x1.fffffffffffffp-28},
    {"where_x3_is_a_quarter_ulp", 0x1.6a09e667f3bcdp-27},
    {"smallest_subnormal", 0x1p-1074},
    {"one", 1},
    {"one_and_a_bit", 0x1.0000000000001p+0},
    {"atan_linear_end", 0x1p53},
    {"below_atan_linear_end", 0x1.fffffffffffffp+52},
    {"radians_of_90_degrees", 90.0 / 180 * 0.78539816339744828 * 4},
    {"radians_of_66_5_degrees", 66.5 / 180 * 0.78539816339744828 * 4},
    {"table_edge", 0x1.0000000000001p-9},
    {"tangent_table_end", 1.25},
    {"past_tangent_table_end", 0x1.4000000000001p+0},
};

class HardCases : public testing::TestWithParam<HardCase> {};

TEST_P(HardCases, EveryFunctionBothSigns) {
    for (const Named& f : kFunctions) {
        for (const double x : {GetParam().x, -GetParam().x}) {
            EXPECT_EQ(BitsOf(f.function(x)), BitsOf(oracle::Mpfr(f.oracle, x)))
                << f.name << std::hexfloat << "(" << x << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Trigonometry, HardCases, testing::ValuesIn(kHardCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Trigonometry, NotANumberAndInfinities) {
    const double inf = INFINITY;
    for (const Named& f : kFunctions) {
        EXPECT_TRUE(std::isnan(f.function(NAN))) << f.name;
        if (f.part != Function::ArcTangent) {
            EXPECT_TRUE(std::isnan(f.function(inf))) << f.name;
        }
    }
    EXPECT_EQ(rt::ArcTangent(1), rt::kQuarterPi);  // what the calculator's radians are made of
    EXPECT_EQ(rt::ArcTangent(inf), rt::kHalfPi);
    EXPECT_EQ(rt::ArcTangent(-inf), -rt::kHalfPi);
}

// The functions made of these: within 4 units in the last place of MPFR's, over their domains.
TEST(Trigonometry, MadeFunctionsWithinFourUnits) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> unit(-1, 1), any(-1e3, 1e3);
    const auto units = [](double got, double expected) {
        return std::fabs(got - expected) /
               (std::nextafter(std::fabs(expected), INFINITY) - std::fabs(expected));
    };
    const auto mpfr = [](int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double x) {
        mpfr_t in, out;
        mpfr_inits2(53, in, out, static_cast<mpfr_ptr>(nullptr));
        mpfr_set_d(in, x, MPFR_RNDN);
        f(out, in, MPFR_RNDN);
        const double result = mpfr_get_d(out, MPFR_RNDN);
        mpfr_clears(in, out, static_cast<mpfr_ptr>(nullptr));
        return result;
    };
    for (int i = 0; i < 20'000; ++i) {
        const double s = unit(rng), y = any(rng), x = any(rng);
        EXPECT_LE(units(rt::ArcCosine(s), mpfr(mpfr_acos, s)), 4) << s;
        mpfr_t a, b, out;
        mpfr_inits2(53, a, b, out, static_cast<mpfr_ptr>(nullptr));
        mpfr_set_d(a, y, MPFR_RNDN);
        mpfr_set_d(b, x, MPFR_RNDN);
        mpfr_atan2(out, a, b, MPFR_RNDN);
        EXPECT_LE(units(rt::ArcTangent2(y, x), mpfr_get_d(out, MPFR_RNDN)), 4) << y << ", " << x;
        mpfr_clears(a, b, out, static_cast<mpfr_ptr>(nullptr));
    }
    for (const double edge : {-1.0, 0.0, 1.0}) {
        EXPECT_EQ(rt::ArcCosine(edge), mpfr(mpfr_acos, edge));
    }
    EXPECT_TRUE(std::isnan(rt::ArcCosine(-1.5)));
}

}  // namespace
