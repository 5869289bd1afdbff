// The root finders against functions whose roots are known: steep and flat ones, roots beside a
// bracket's end, and a root that f's rounding places at no exact number; each found to the last
// bit (no number between the ends, the one returned next to the sign change).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "daylight/roots.h"

namespace {

struct Known {
    const char* name;
    std::function<double(double)> f;
    double below, above;  // f < 0 at below, f > 0 at above
    double root;          // the exact root, or the nearest number to it
    // How near a root of three times over is found within the hundred steps each finder takes
    // at most (0 for a simple root: to the last bit).
    double flat = 0;
};

const Known kKnown[] = {
    {"line", [](double x) { return 3 * x - 1; }, 0, 1, 1.0 / 3},
    {"steep", [](double x) { return 1e12 * (x - 0.25); }, 0, 1, 0.25},
    {"flat cube", [](double x) { return (x - 0.3) * (x - 0.3) * (x - 0.3); }, 0, 1, 0.3, 1e-5},
    {"falling", [](double x) { return std::cos(x); }, 2, 1, std::numbers::pi / 2},
    {"beside the lower end", [](double x) { return x - std::nextafter(0.5, 1.0); }, 0.5, 1,
     std::nextafter(0.5, 1.0)},
    {"beside the upper end", [](double x) { return x - std::nextafter(1.0, 0.0); }, 0.5, 1,
     std::nextafter(1.0, 0.0)},
    {"far apart", [](double x) { return std::log(x); }, 1e-300, 1e300, 1},
};

void PrintTo(const Known& k, std::ostream* out) { *out << k.name; }

// Whether x is next to f's change of sign: f is 0 there, or of the other sign on one side.
bool AtTheChange(const Known& k, double x) {
    const double here = k.f(x);
    if (here == 0) return true;
    const double side =
        here < 0 ? k.f(std::nextafter(x, k.above)) : k.f(std::nextafter(x, k.below));
    return (here < 0) != (side < 0) || side == 0;
}

class Roots : public testing::TestWithParam<Known> {};

TEST_P(Roots, BracketedFindsTheRootToTheLastBit) {
    const Known& k = GetParam();
    const double x = daycalc::Bracketed(k.f, k.below, k.f(k.below), k.above, k.f(k.above));
    EXPECT_TRUE(k.flat > 0 || AtTheChange(k, x)) << x;
    EXPECT_LE(std::fabs(x - k.root),
              4 * std::fabs(std::nextafter(k.root, 2 * k.root) - k.root) + k.flat)
        << x;
}

TEST_P(Roots, AGuessOnEitherSideOrFarOffFindsTheSameRoot) {
    const Known& k = GetParam();
    const double fBelow = k.f(k.below), fAbove = k.f(k.above);
    const double alone = daycalc::Bracketed(k.f, k.below, fBelow, k.above, fAbove);
    const double width = std::fabs(k.above - k.below);
    for (const double off : {-1e-9, 1e-9, 0.3}) {
        const double guess = std::clamp(k.root + off * width, std::min(k.below, k.above),
                                        std::max(k.below, k.above));
        for (const double slope : {1.0, -1.0, 0.0}) {
            const double x =
                daycalc::BracketedFrom(k.f, k.below, fBelow, k.above, fAbove, guess, slope);
            EXPECT_TRUE(k.flat > 0 || AtTheChange(k, x)) << off << " " << slope << " " << x;
            EXPECT_LE(std::fabs(x - alone),
                      2 * std::fabs(std::nextafter(alone, 2 * alone) - alone) + 2 * k.flat);
        }
    }
}

TEST_P(Roots, AnEdgeIsFoundToTheLastBitFromEitherSide) {
    const Known& k = GetParam();
    const auto holds = [&k](double x) { return k.f(x) >= 0; };
    const double edge = daycalc::Edge(k.below, k.above, holds);
    const auto fails = [&k](double x) { return k.f(x) < 0; };
    const double other = daycalc::Edge(k.above, k.below, fails);
    EXPECT_TRUE(holds(edge));
    EXPECT_TRUE(fails(other));
    const double width = std::fabs(k.above - k.below);
    if (width <= 4096 * std::fabs(k.root)) {
        EXPECT_FALSE(holds(std::nextafter(edge, k.below))) << edge;
        EXPECT_EQ(std::nextafter(other, k.above), edge);
    } else {
        EXPECT_LE(std::fabs(edge - other), width / 0x1p64);
    }
}

INSTANTIATE_TEST_SUITE_P(Known, Roots, testing::ValuesIn(kKnown),
                         [](const testing::TestParamInfo<Known>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name)) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             }
                             return name;
                         });

// The golden section's stated bound: within a millionth of the interval of the least value.
TEST(Extreme, FindsTheLeastValueWithinAMillionthOfTheInterval) {
    struct Case {
        std::function<double(double)> g;
        double a, b, least;
    };
    const Case cases[] = {{[](double x) { return (x - 0.7) * (x - 0.7); }, 0, 1, 0.7},
                          {[](double x) { return std::cos(x); }, 2, 4, std::numbers::pi},
                          {[](double x) { return -std::sin(x); }, 0, 3, std::numbers::pi / 2},
                          {[](double x) { return std::fabs(x - 10); }, 0, 100, 10}};
    for (const Case& c : cases) {
        EXPECT_NEAR(daycalc::Extreme(c.g, c.a, c.b), c.least, 1e-6 * (c.b - c.a)) << c.least;
    }
}

}  // namespace
