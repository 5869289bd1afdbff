// The degree conversion and the arc cosine: exact values where the formulas promise them, and
// faults at the ends of the arc cosine's domain.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "daylight/daylight.h"

namespace {

using daycalc::aCos;
using daycalc::Radians;
using rt::FaultKind;

const double q = std::atan(1.0);

TEST(Radians, RightAnglesAreExactMultiplesOfTheArcTangentOfOne) {
    EXPECT_EQ(Radians(90).value(), 2 * q);
    EXPECT_EQ(Radians(180).value(), 4 * q);
    EXPECT_EQ(Radians(-90).value(), -2 * q);
    EXPECT_EQ(Radians(0).value(), 0);
    EXPECT_EQ(Radians(1e308).value(), 1e308 / 180 * q * 4) << "huge angles stay finite";
}

struct ArcCosineCase {
    const char* name;
    double x;
    double expected;  // used when no fault is expected
    std::optional<FaultKind> fault;
};

std::ostream& operator<<(std::ostream& os, const ArcCosineCase& c) { return os << c.name; }

const ArcCosineCase kArcCosineCases[] = {
    {"Zero", 0, 2 * q, {}},
    {"NegativeZero", -0.0, 2 * q, {}},
    {"Half", 0.5, std::acos(0.5), {}},
    {"MinusHalf", -0.5, std::acos(-0.5), {}},
    {"NearlyOne", 0.9999999, std::acos(0.9999999), {}},
    {"One", 1, 0, FaultKind::DivisionByZero},
    {"MinusOne", -1, 0, FaultKind::DivisionByZero},
    {"JustAboveOne", 1.0000001, 0, FaultKind::InvalidArgument},
    {"JustBelowMinusOne", -1.0000001, 0, FaultKind::InvalidArgument},
    {"SquareOverflows", 1e155, 0, FaultKind::Overflow},
    {"NegativeSquareOverflows", -1e155, 0, FaultKind::Overflow},
};

class ArcCosine : public testing::TestWithParam<ArcCosineCase> {};

TEST_P(ArcCosine, GivesTheAngleOrFaults) {
    const ArcCosineCase& c = GetParam();
    try {
        const double angle = aCos(c.x).value();
        ASSERT_FALSE(c.fault) << "no fault";
        EXPECT_NEAR(angle, c.expected, 1e-9);  // the arc tangent route loses digits near 1
    } catch (const rt::Fault& fault) {
        ASSERT_TRUE(c.fault) << "unexpected " << fault.message();
        EXPECT_EQ(fault.kind(), *c.fault);
    }
}

INSTANTIATE_TEST_SUITE_P(Domain, ArcCosine, testing::ValuesIn(kArcCosineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArcCosine, ZeroIsExactlyAQuarterTurn) { EXPECT_EQ(aCos(0).value(), 2 * q); }

}  // namespace
