// The calculation, text for text on the documented edge cases, and invariants that a wrong
// formula would break.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "daylight/daylight.h"

namespace {

using daycalc::ComputeDaylight;
using daycalc::DaylightInputs;
using daycalc::DaylightResults;
using rt::FaultKind;

struct EdgeCase {
    const char* name;
    DaylightInputs inputs;
    DaylightResults results;  // when no fault is expected
    std::optional<FaultKind> fault;
};

std::ostream& operator<<(std::ostream& os, const EdgeCase& c) { return os << c.name; }

DaylightInputs With(std::string tilt, std::string latitude, std::string fromSolstice = "0",
                    std::string solarDay = "24", std::string year = "365.25") {
    return {tilt, latitude, solarDay, fromSolstice, year};
}

DaylightResults NonPolar(std::string min, std::string max, std::string day, std::string night) {
    return {min, max, day, night, ""};
}

DaylightResults Polar(std::string max, std::string full) { return {"0", max, "", "", full}; }

const std::string kShort = "9.35208417825225";
const std::string kLong = "14.6479158217478";

const EdgeCase kEdgeCases[] = {
    {"StartValues", DaylightInputs{}, NonPolar(kShort, kLong, kShort, kLong), {}},
    {"SummerSolstice", With("23.5", "38", "180"), NonPolar(kShort, kLong, kLong, kShort), {}},
    {"Equinox", With("23.5", "38", "90"), NonPolar(kShort, kLong, "12", "12"), {}},
    {"Equator", With("23.5", "0"), NonPolar("12", "12", "12", "12"), {}},
    {"Latitude70", With("23.5", "70"), Polar("24", "67.302500920951"), {}},
    {"NorthPole", With("23.5", "90"), Polar("24", "182.625"), {}},
    {"SouthernLatitude", With("23.5", "-38"), NonPolar(kLong, kShort, kLong, kShort), {}},
    {"SouthOfSouthernPolarCircle", With("23.5", "-80"), {}, FaultKind::InvalidArgument},
    {"OnSouthernPolarCircle", With("23.5", "-66.5"), {}, FaultKind::DivisionByZero},
    {"SteepTiltSouthernLatitude", With("120", "-20"), {}, FaultKind::InvalidArgument},
    {"OnPolarCircle", With("23.5", "66.5"), {}, FaultKind::DivisionByZero},
    {"JustPastPolarCircle", With("23.5", "66.6"), Polar("24", "11.3593517398217"), {}},
    {"RightAngleTilt", With("90", "38"), Polar("24", "182.625"), {}},
    {"EmptyTiltReadsZero", With("", "38"), NonPolar("12", "12", "12", "12"), {}},
    {"ShortSolarDay",
     With("23.5", "38", "0", "10"),
     NonPolar("3.89670174093844", "6.10329825906156", "3.89670174093844", "6.10329825906156"),
     {}},
    {"DecimalCommaReadsWholeDegrees",
     With("23,5", "38"),
     NonPolar("9.41758552516206", "14.5824144748379", "9.41758552516206", "14.5824144748379"),
     {}},
    {"PolarMaxDayIsTheNumberRead",
     With("23.5", "70", "0", "24.0abc"),
     Polar("24", "67.302500920951"),
     {}},
    {"NoTiltAtThePole", With("0", "90"), {}, FaultKind::DivisionByZero},
    {"NoTiltBeyondThePole", With("0", "91"), {}, FaultKind::DivisionByZero},
    {"TinyTiltBeyondThePoleOverflows", With("1e-300", "91"), {}, FaultKind::Overflow},
    {"RightAngleTiltAtTheEquator", With("90", "0"), {}, FaultKind::InvalidOperation},
    {"YearBeyondTheDoubleRange", With("23.5", "38", "0", "24", "1e400"), {}, FaultKind::Overflow},
    {"HugeSolarDayInExponentForm",
     With("23.5", "38", "0", "1e308"),
     NonPolar("3.89670174093844E+307", "6.10329825906156E+307", "3.89670174093844E+307",
              "6.10329825906156E+307"),
     {}},
};

class EdgeCases : public testing::TestWithParam<EdgeCase> {};

TEST_P(EdgeCases, GiveTheDocumentedTextsOrFault) {
    const EdgeCase& c = GetParam();
    const auto outcome = ComputeDaylight(c.inputs);
    if (c.fault) {
        ASSERT_TRUE(std::holds_alternative<rt::Fault>(outcome)) << "no fault";
        EXPECT_EQ(std::get<rt::Fault>(outcome).kind(), *c.fault);
    } else {
        ASSERT_TRUE(std::holds_alternative<DaylightResults>(outcome))
            << std::get<rt::Fault>(outcome).message();
        EXPECT_EQ(std::get<DaylightResults>(outcome), c.results);
    }
}

INSTANTIATE_TEST_SUITE_P(Documented, EdgeCases, testing::ValuesIn(kEdgeCases),
                         [](const auto& info) { return std::string(info.param.name); });

DaylightResults ResultsOf(const DaylightInputs& inputs) {
    const auto outcome = ComputeDaylight(inputs);
    if (const auto* fault = std::get_if<rt::Fault>(&outcome)) {
        ADD_FAILURE() << "fault: " << fault->message();
        return {};
    }
    return std::get<DaylightResults>(outcome);
}

double Read(const std::string& text) { return rt::ValFromText(text); }

// Latitudes, tilts and days on both sides of the equator, inside the polar circles.
const char* const kLatitudes[] = {"-60", "-45.5", "-12", "0.25", "23", "38", "51.5", "64"};
const char* const kTilts[] = {"0", "3.1", "17", "23.44", "25"};
const char* const kDays[] = {"0", "33", "90", "145", "180", "270", "333"};

TEST(Invariants, NoTiltOrTheEquatorGiveHalfTheSolarDay) {
    for (const char* solarDay : {"24", "10", "0.5", "1000"}) {
        const std::string half = rt::TextFromDouble(Read(solarDay) / 2);
        for (const char* day : kDays) {
            for (const char* lat : kLatitudes) {
                EXPECT_EQ(ResultsOf(With("0", lat, day, solarDay)),
                          NonPolar(half, half, half, half))
                    << "tilt 0, latitude " << lat;
            }
            for (const char* tilt : kTilts) {
                EXPECT_EQ(ResultsOf(With(tilt, "0", day, solarDay)),
                          NonPolar(half, half, half, half))
                    << "equator, tilt " << tilt;
            }
        }
    }
}

TEST(Invariants, EquinoxesSplitTheDayInHalf) {
    for (const char* lat : kLatitudes) {
        for (const char* tilt : kTilts) {
            const DaylightResults r = ResultsOf(With(tilt, lat, "90"));
            EXPECT_EQ(r.daylight, "12") << lat << " " << tilt;
            EXPECT_EQ(r.night, "12") << lat << " " << tilt;
        }
    }
}

TEST(Invariants, MirroredLatitudesSwapShortestAndLongestDay) {
    for (const char* lat : kLatitudes) {
        for (const char* tilt : kTilts) {
            const DaylightResults north = ResultsOf(With(tilt, lat));
            const DaylightResults south = ResultsOf(With(tilt, rt::TextFromDouble(-Read(lat))));
            EXPECT_NEAR(Read(north.minDay), Read(south.maxDay), 1e-12) << lat << " " << tilt;
            EXPECT_NEAR(Read(north.maxDay), Read(south.minDay), 1e-12) << lat << " " << tilt;
        }
    }
}

TEST(Invariants, ShortestAndLongestDayAndDayAndNightMakeTheSolarDay) {
    for (const char* lat : kLatitudes) {
        for (const char* tilt : kTilts) {
            for (const char* day : kDays) {
                const DaylightResults r = ResultsOf(With(tilt, lat, day));
                EXPECT_NEAR(Read(r.minDay) + Read(r.maxDay), 24, 1e-12);
                EXPECT_NEAR(Read(r.daylight) + Read(r.night), 24, 1e-12);
                EXPECT_EQ(r.fullDaylight, "");
            }
        }
    }
}

TEST(Invariants, TheSolsticesAreTheExtremes) {
    for (const char* lat : {"10", "38", "60"}) {
        const DaylightResults winter = ResultsOf(With("23.44", lat, "0"));
        const DaylightResults summer = ResultsOf(With("23.44", lat, "180"));
        for (const char* day : kDays) {
            const double daylight = Read(ResultsOf(With("23.44", lat, day)).daylight);
            EXPECT_GE(daylight, Read(winter.daylight) - 1e-12) << lat << " day " << day;
            EXPECT_LE(daylight, Read(summer.daylight) + 1e-12) << lat << " day " << day;
        }
    }
}

TEST(Invariants, FullDaylightGrowsTowardsThePoleAndScalesWithTheYear) {
    double previous = 0;
    for (const char* lat : {"66.6", "70", "75", "80", "85", "89.9"}) {
        const double full = Read(ResultsOf(With("23.5", lat)).fullDaylight);
        EXPECT_GT(full, previous) << lat;
        EXPECT_LT(full, 365.25 / 2) << lat;
        const double inDays = Read(ResultsOf(With("23.5", lat, "0", "24", "1")).fullDaylight);
        EXPECT_NEAR(full / 365.25, inDays, 1e-14) << lat;
        previous = full;
    }
}

TEST(Invariants, SamePressSameTexts) {
    const DaylightInputs inputs = With("17.25", "-41.75", "123.5", "26.5", "687");
    EXPECT_EQ(ResultsOf(inputs), ResultsOf(inputs));
}

TEST(Invariants, YearMattersOnlyBeyondThePolarCircle) {
    EXPECT_EQ(ResultsOf(With("23.5", "38", "0", "24", "1")), ResultsOf(DaylightInputs{}));
    EXPECT_EQ(ResultsOf(With("23.5", "38", "0", "24", "junk")).minDay, kShort);
}

}  // namespace
