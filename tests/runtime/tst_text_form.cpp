// The default text form of a double, from a table of hard cases.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "runtime/runtime.h"

namespace {

struct TextFormCase {
    const char* name;
    double value;
    const char* text;
};

std::ostream& operator<<(std::ostream& os, const TextFormCase& c) { return os << c.name; }

constexpr TextFormCase kTextFormCases[] = {
    {"Zero", 0.0, "0"},
    {"NegativeZero", -0.0, "0"},
    {"WholeNumber", 12, "12"},
    {"NegativeWholeNumber", -24, "-24"},
    {"Half", 0.5, "0.5"},
    {"NegativeFraction", -0.25, "-0.25"},
    {"ShortestDayAtStart", 9.352084178252251, "9.35208417825225"},
    {"RoundsUpLastDigit", 14.64791582174775, "14.6479158217478"},
    {"BinaryJustBelowDecimalHalfway", 0.1234567890123455, "0.123456789012345"},
    {"FifteenDigitsOfAWholeNumberWithFraction", 123456789012345.67, "123456789012346"},
    {"TenthIsNotExact", 0.1, "0.1"},
    {"SumOfTenths", 0.1 + 0.2, "0.3"},
    {"DropsTrailingZerosAfterRounding", 1.0000000000000002, "1"},
    // The double just below 10 (9.99999999999999822…, written exactly): its fifteen digits carry
    // into a new one.
    {"RoundingCarriesIntoNewDigit", 0x1.3ffffffffffffp+3, "10"},
    {"SmallestPlain", 0.0001, "0.0001"},
    {"SmallestPlainWithDigits", 0.00012345, "0.00012345"},
    {"LargestExponentFormBelowOne", 0.00001, "1E-05"},
    {"ExponentFormSmall", 1.5e-7, "1.5E-07"},
    // The double just below 1e-4 (9.99999999999999912…e-05, written exactly), whose exponent form
    // would start at E-05: rounded, it is plain.
    {"RoundsUpIntoPlain", 0x1.a36e2eb1c432cp-14, "0.0001"},
    {"LargestPlain", 123456789012345, "123456789012345"},
    {"LargestPlainRoundsUp", 999999999999999.4, "999999999999999"},
    {"CarryIntoExponentForm", 999999999999999.5, "1E+15"},
    {"ExponentFormLarge", 1e15, "1E+15"},
    {"ExponentFormRounded", 1234567890123456.0, "1.23456789012346E+15"},
    {"ThreeDigitExponent", 1e100, "1E+100"},
    {"NearlyTheLargestDouble", 1.7976931348623e308, "1.7976931348623E+308"},
    {"SmallestNormal", std::numeric_limits<double>::min(), "2.2250738585072E-308"},
    {"SmallestSubnormal", std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    {"NegativeExponentForm", -2.5e-20, "-2.5E-20"},
};

class TextForm : public testing::TestWithParam<TextFormCase> {};

TEST_P(TextForm, WritesTheDefaultForm) {
    EXPECT_EQ(rt::TextFromDouble(GetParam().value), GetParam().text);
}

TEST_P(TextForm, ReadsBackToTheSameDigits) {
    const std::string text = rt::TextFromDouble(GetParam().value);
    EXPECT_EQ(rt::TextFromDouble(rt::ValFromText(text)), text);
}

// Rounded to 15 digits, the largest double's text lies beyond the double range.
TEST(TextForm, TheLargestDoublesTextReadsAsAnOverflow) {
    EXPECT_EQ(rt::TextFromDouble(std::numeric_limits<double>::max()), "1.79769313486232E+308");
    EXPECT_THROW(rt::ValFromText(rt::TextFromDouble(std::numeric_limits<double>::max())),
                 rt::Fault);
}

INSTANTIATE_TEST_SUITE_P(HardCases, TextForm, testing::ValuesIn(kTextFormCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The shortest text reads back as the very double; a label's digits round a half to even.
TEST(TextForm, ShortestTextAndLabelDigits) {
    for (const double x : {0.1, 0.1 + 0.2, -3.5, 1e22, 5e-324, 1.7976931348623157e308, 365.25}) {
        EXPECT_EQ(rt::StrictNumber(rt::ShortestText(x)), x) << rt::ShortestText(x);
    }
    EXPECT_EQ(rt::ShortestText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(rt::RoundToDigits(123.456, 4), 123.5);
    EXPECT_EQ(rt::RoundToDigits(0.000123456, 2), 0.00012);
    EXPECT_EQ(rt::RoundToDigits(2.5, 1), 2);
    EXPECT_EQ(rt::RoundToDigits(-91.3106, 6), -91.3106);
}

}  // namespace

namespace {

// Hours as people read them: to the nearest second from the exact number of seconds, a half up,
// the carry running through minutes, hours and the date; and to the nearest minute, for a page.
struct ClockCase {
    const char* name;
    double hours;
    const char* clock;
    const char* length;
    const char* minutes;  // the clock to the minute
    const char* words;    // the length in words
};

std::ostream& operator<<(std::ostream& os, const ClockCase& c) { return os << c.name; }

const ClockCase kClockCases[] = {
    {"Midnight", 0, "00:00:00", "0:00:00", "00:00", "0 min"},
    {"ShortestDayAtStart", 9.352084178252251, "09:21:08", "9:21:08", "09:21", "9 h 21 min"},
    {"HalfSecondUp", 0.03125, "00:01:53", "0:01:53", "00:02", "2 min"},  // exactly 112.5 s
    {"JustBelowAHalfSecond", 0.03125 - 0x1p-40, "00:01:52", "0:01:52", "00:02", "2 min"},
    {"CarryIntoTheHour", 2 - 0.4 / 3600, "02:00:00", "2:00:00", "02:00", "2 h"},
    {"NextDate", 24.0108752804871, "00:00:39 +1", "24:00:39", "00:01 +1", "24 h 1 min"},
    {"PreviousDate", -0.5, "23:30:00 -1", "-0:30:00", "23:30 -1", "-30 min"},
    {"TwoDatesOn", 49.5, "01:30:00 +2", "49:30:00", "01:30 +2", "49 h 30 min"},
    {"NegativeLengthUnderASecond", -0.4 / 3600, "00:00:00", "0:00:00", "00:00", "0 min"},
    {"LongDay", 2802, "18:00:00 +116", "2802:00:00", "18:00 +116", "2802 h"},
    {"BeyondATrillionHours", 1e16, "1E+16", "1E+16", "1E+16", "1E+16 h"},
};

class Clocks : public testing::TestWithParam<ClockCase> {};

TEST_P(Clocks, ReadAsPeopleReadThem) {
    EXPECT_EQ(rt::ClockText(GetParam().hours), GetParam().clock);
    EXPECT_EQ(rt::DurationText(GetParam().hours), GetParam().length);
    EXPECT_EQ(rt::ClockMinutesText(GetParam().hours), GetParam().minutes);
    EXPECT_EQ(rt::LengthWords(GetParam().hours), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Table, Clocks, testing::ValuesIn(kClockCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
