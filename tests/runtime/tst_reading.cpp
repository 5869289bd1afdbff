// The reading rules, replayed from one table of examples.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "runtime/runtime.h"

namespace {

constexpr double kOverflows = std::numeric_limits<double>::infinity();

struct ReadingCase {
    const char* name;
    std::string text;
    double value;  // kOverflows: the text is an overflow fault
};

std::ostream& operator<<(std::ostream& os, const ReadingCase& c) { return os << c.name; }

const ReadingCase kReadingCases[] = {
    // Plain numerals.
    {"Integer", "24", 24},
    {"Decimal", "23.5", 23.5},
    {"LeadingPoint", ".5", 0.5},
    {"TrailingPoint", "5.", 5},
    {"PlusSign", "+7", 7},
    {"MinusSign", "-38", -38},
    {"LeadingZeros", "000012.50", 12.5},
    // Blanks, tabs and line feeds are dropped wherever they stand.
    {"BlankInsideDigits", "1 2.5", 12.5},
    {"BlankAfterSign", "- 5", -5},
    {"TabsAndLineFeeds", "\t3\n6\t5 . 2 5", 365.25},
    {"BlankInsideExponent", "1 e - 3", 1e-3},
    {"BlanksOnly", " \t\n ", 0},
    {"CarriageReturnEndsNumber", "1\r2", 1},
    {"NoBreakSpaceEndsNumber",
     "1\xc2\xa0"
     "2",
     1},
    // The first character that cannot continue the number ends it.
    {"DecimalCommaEndsNumber", "23,5", 23},
    {"SecondPointEndsNumber", "1.2.3", 1.2},
    {"TrailingLetters", "24abc", 24},
    {"DoubleSign", "--5", 0},
    {"SignAfterSign", "+-5", 0},
    {"SignAlone", "-", 0},
    {"PointAlone", ".", 0},
    {"Empty", "", 0},
    {"Word", "abc", 0},
    {"HexPrefix", "0x10", 0},
    {"Infinity", "inf", 0},
    {"NotANumber", "nan", 0},
    {"FullWidthDigit", "\xef\xbc\x95", 0},
    // Exponents need a digit after the letter and its sign.
    {"Exponent", "1.5e3", 1500},
    {"CapitalExponent", "2E-2", 0.02},
    {"ExponentPlus", "3e+2", 300},
    {"ExponentWithoutDigits", "2e", 2},
    {"ExponentSignWithoutDigits", "2e+", 2},
    {"ExponentThenLetter", "3e2x", 300},
    {"ExponentThenPoint", "4e1.5", 40},
    {"ExponentWithoutMantissa", "e5", 0},
    {"PointThenExponent", ".e5", 0},
    {"SecondExponentLetter", "1e2e3", 100},
    // Correct rounding, range and the sign of zero.
    {"RoundsCorrectly", "0.1", 0.1},
    {"HalfwayRoundsToEven", "9007199254740993", 9007199254740992.0},
    {"LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max()},
    {"SmallestSubnormal", "4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
    {"UnderflowReadsZero", "1e-400", 0},
    {"NegativeUnderflowReadsZero", "-1e-400", -0.0},
    {"HugeNegativeExponent", "5e-99999999999999999999", 0},
    {"ManyFractionZerosUnderflow", "0." + std::string(400, '0') + "1", 0},
    {"ZeroWithHugeExponent", "0e99999", 0},
    {"NegativeZero", "-0", -0.0},
    {"Overflow", "1e400", kOverflows},
    {"NegativeOverflow", "-1e999", kOverflows},
    {"OverflowJustPastMax", "1.8e308", kOverflows},
    {"HugeExponentOverflow", "1e99999999999999999999", kOverflows},
    {"ManyDigitsOverflow", std::string(400, '9'), kOverflows},
    {"LongMantissaRounds", "1." + std::string(1000, '0') + "1", 1},
};

class Reading : public testing::TestWithParam<ReadingCase> {};

TEST_P(Reading, ReadsTheNumberAtTheStartOrOverflows) {
    const ReadingCase& c = GetParam();
    if (c.value == kOverflows) {
        try {
            rt::ValFromText(c.text);
            FAIL() << "no fault";
        } catch (const rt::Fault& fault) {
            EXPECT_EQ(fault.kind(), rt::FaultKind::Overflow);
        }
        return;
    }
    const double value = rt::ValFromText(c.text);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << "sign of zero";
}

INSTANTIATE_TEST_SUITE_P(Examples, Reading, testing::ValuesIn(kReadingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Reading, MegabyteTextsReadInLinearTime) {
    const std::string blanks(1 << 20, ' ');
    const std::string digits(1 << 20, '7');
    const std::string spaced = [] {
        std::string s;
        for (int i = 0; i < (1 << 19); ++i) s += "1 ";
        return s;
    }();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rt::ValFromText(blanks + "42"), 42);
    EXPECT_EQ(rt::ValFromText("0." + digits), 7.0 / 9.0);
    EXPECT_EQ(rt::ValFromText("0." + spaced), 1.0 / 9.0);
    EXPECT_THROW(rt::ValFromText(digits), rt::Fault);
    // Generous: a quadratic scan of a megabyte would take minutes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace

namespace {

// The same texts through the lenient reading's question "read whole?" and the strict reading of
// options that are not typed into a box.
struct StrictCase {
    const char* name;
    std::string text;
    bool readWhole;
    std::optional<double> strict;
};

std::ostream& operator<<(std::ostream& os, const StrictCase& c) { return os << c.name; }

const StrictCase kStrictCases[] = {
    {"Integer", "38", true, 38},
    {"SignsPointsAndExponents", "-1e-3", true, -1e-3},
    {"PlusAndLeadingPoint", "+.5", true, 0.5},
    {"TrailingPoint", "5.", true, 5},
    {"BlanksAreLenientOnly", " 3 8 ", true, std::nullopt},
    {"LetterAfter", "38S", false, std::nullopt},
    {"DecimalComma", "23,5", false, std::nullopt},
    {"Empty", "", false, std::nullopt},
    {"NoNumber", "abc", false, std::nullopt},
    {"ExponentWithoutDigits", "2e", false, std::nullopt},
    {"Hexadecimal", "0x1p-2", false, std::nullopt},
    {"Infinity", "inf", false, std::nullopt},
    {"BeyondTheRange", "1e400", true, std::nullopt},
    {"BelowTheRange", "1e-400", true, 0},
};

class Strict : public testing::TestWithParam<StrictCase> {};

TEST_P(Strict, ReadsOnlyADecimalNumberAndNothingElse) {
    EXPECT_EQ(rt::ReadWhole(GetParam().text), GetParam().readWhole);
    EXPECT_EQ(rt::StrictNumber(GetParam().text), GetParam().strict);
}

INSTANTIATE_TEST_SUITE_P(Table, Strict, testing::ValuesIn(kStrictCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
