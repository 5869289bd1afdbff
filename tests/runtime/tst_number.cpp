// Checked arithmetic: every fault kind, raised where it arises, with its message and name.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "runtime/runtime.h"

namespace {

using rt::FaultKind;
using rt::Number;

struct FaultCase {
    const char* name;
    std::function<Number()> step;
    FaultKind kind;
    const char* message;
    const char* kindName;
};

std::ostream& operator<<(std::ostream& os, const FaultCase& c) { return os << c.name; }

constexpr double kMax = std::numeric_limits<double>::max();

const FaultCase kFaultCases[] = {
    {"SqrOfNegative", [] { return rt::Sqr(-1e-300); }, FaultKind::InvalidArgument,
     "Invalid argument", "invalid-argument"},
    {"DivideByZero", [] { return Number(1) / 0.0; }, FaultKind::DivisionByZero, "Division by zero",
     "division-by-zero"},
    {"DivideByNegativeZero", [] { return Number(-1e-300) / -0.0; }, FaultKind::DivisionByZero,
     "Division by zero", "division-by-zero"},
    {"ZeroOverZero", [] { return Number(0) / 0.0; }, FaultKind::InvalidOperation,
     "Invalid operation", "invalid-operation"},
    {"InfinityMinusInfinity",
     [] { return Number(std::numeric_limits<double>::infinity()) - Number(kMax * 2); },
     FaultKind::InvalidOperation, "Invalid operation", "invalid-operation"},
    {"ProductOverflows", [] { return Number(1e200) * 1e200; }, FaultKind::Overflow, "Overflow",
     "overflow"},
    {"SumOverflows", [] { return Number(kMax) + kMax; }, FaultKind::Overflow, "Overflow",
     "overflow"},
    {"DifferenceOverflows", [] { return -Number(kMax) - kMax; }, FaultKind::Overflow, "Overflow",
     "overflow"},
    {"QuotientOverflows", [] { return Number(1e300) / 1e-300; }, FaultKind::Overflow, "Overflow",
     "overflow"},
    {"ReadingOverflows", [] { return Number(rt::ValFromText("1e309")); }, FaultKind::Overflow,
     "Overflow", "overflow"},
};

class Faults : public testing::TestWithParam<FaultCase> {};

TEST_P(Faults, RaiseTheirKind) {
    const FaultCase& c = GetParam();
    try {
        c.step();
        FAIL() << "no fault";
    } catch (const rt::Fault& fault) {
        EXPECT_EQ(fault.kind(), c.kind);
        EXPECT_EQ(fault.message(), c.message);
        EXPECT_STREQ(fault.what(), c.message);
        EXPECT_EQ(fault.kindName(), c.kindName);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Faults, testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckedArithmetic, LeavesOrdinaryResultsAlone) {
    EXPECT_EQ((Number(0.1) + 0.2).value(), 0.1 + 0.2);
    EXPECT_EQ((Number(1e-300) * 1e-300).value(), 0.0) << "underflow is not a fault";
    EXPECT_EQ((Number(0) / 5.0).value(), 0.0);
    EXPECT_EQ(rt::Sqr(-0.0).value(), 0.0) << "minus zero is not negative";
    EXPECT_EQ(rt::Sqr(2.25).value(), 1.5);
    EXPECT_EQ(rt::Atn(1.0).value() * 4, 3.141592653589793);
}

}  // namespace
