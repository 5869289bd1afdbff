// The calculation, text for text on the golden file's cases, and invariants that a wrong formula
// would break.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "daylight/daylight.h"

namespace {

using daycalc::ComputeDaylight;
using daycalc::DaylightInputs;
using daycalc::DaylightResults;

DaylightInputs With(std::string tilt, std::string latitude, std::string fromSolstice = "0",
                    std::string solarDay = "24", std::string year = "365.25") {
    return {tilt, latitude, solarDay, fromSolstice, year};
}

DaylightResults NonPolar(std::string min, std::string max, std::string day, std::string night) {
    return {.polar = false,
            .minDay = min,
            .maxDay = max,
            .daylight = day,
            .night = night,
            .fullDaylight = ""};
}

const std::string kShort = "9.35208417825225";

// The golden file, which the companion and the window replay too: each line names a case, the
// texts that differ from the starting ones, and the outcome.
TEST(EdgeCases, GoldenFileTextForText) {
    std::ifstream golden(DAYLIGHT_GOLDEN_FILE);
    ASSERT_TRUE(golden) << DAYLIGHT_GOLDEN_FILE;
    int cases = 0;
    for (std::string line; std::getline(golden, line); ++cases) {
        const auto c = nlohmann::json::parse(line);
        SCOPED_TRACE(c["name"].get<std::string>());
        const auto& in = c["input"];
        DaylightInputs inputs;
        for (const daycalc::InputField& f : daycalc::kInputFields) {
            inputs.*(f.text) = in.value(std::string(f.field), inputs.*(f.text));
        }
        const auto outcome = ComputeDaylight(inputs);
        const auto& out = c["output"];
        if (out.contains("fault")) {
            ASSERT_TRUE(std::holds_alternative<daycalc::DaylightStop>(outcome)) << "no fault";
            EXPECT_EQ(std::get<daycalc::DaylightStop>(outcome).kindName(),
                      out["fault"].get<std::string>());
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<DaylightResults>(outcome))
            << std::get<daycalc::DaylightStop>(outcome).message();
        const std::string full = out["full"];
        const DaylightResults expected{.polar = !full.empty(),
                                       .minDay = out["min"],
                                       .maxDay = out["max"],
                                       .daylight = out["day"],
                                       .night = out["night"],
                                       .fullDaylight = full};
        EXPECT_EQ(std::get<DaylightResults>(outcome), expected);
    }
    EXPECT_GE(cases, 20);
}

DaylightResults ResultsOf(const DaylightInputs& inputs) {
    const auto outcome = ComputeDaylight(inputs);
    if (const auto* fault = std::get_if<daycalc::DaylightStop>(&outcome)) {
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

namespace {

using Box = std::string DaylightInputs::*;
constexpr Box kTilt = &DaylightInputs::tilt, kLatitude = &DaylightInputs::latitude;

struct StopCase {
    const char* name;
    DaylightInputs inputs;
    const char* kind;
    daycalc::Stage stage;
    std::vector<Box> boxes;  // the boxes the hint names, the first to change first
};

std::ostream& operator<<(std::ostream& os, const StopCase& c) { return os << c.name; }

const StopCase kStops[] = {
    {"OnThePolarCircle",
     {.latitude = "66.5"},
     "division-by-zero",
     daycalc::Stage::ShortestDay,
     {kLatitude, kTilt}},
    {"OnTheSouthernPolarCircle",
     {.latitude = "-66.5"},
     "division-by-zero",
     daycalc::Stage::ShortestDay,
     {kLatitude, kTilt}},
    {"NoTiltAtThePole",
     {.tilt = "0", .latitude = "90"},
     "division-by-zero",
     daycalc::Stage::ShortestDay,
     {kLatitude, kTilt}},
    {"BeyondTheSouthernPolarCircle",
     {.latitude = "-80"},
     "invalid-argument",
     daycalc::Stage::ShortestDay,
     {kLatitude, &DaylightInputs::fromSolstice}},
    {"RightAngleTiltSouth",
     {.tilt = "90", .latitude = "-38"},
     "division-by-zero",
     daycalc::Stage::ShortestDay,
     {kTilt}},
    {"RightAngleTiltAtTheEquator",
     {.tilt = "90", .latitude = "0"},
     "invalid-operation",
     daycalc::Stage::ShortestDay,
     {kTilt, kLatitude}},
    {"SteepTiltSouth",
     {.tilt = "120", .latitude = "-20"},
     "invalid-argument",
     daycalc::Stage::FullDaylight,
     {kTilt, kLatitude}},
    {"SteepTiltAtTheEquator",
     {.tilt = "97.77", .latitude = "0"},
     "invalid-argument",
     daycalc::Stage::FullDaylight,
     {kTilt, kLatitude}},
    {"LatitudeFarBeyondThePole",
     {.latitude = "1e308"},
     "invalid-argument",
     daycalc::Stage::FullDaylight,
     {kLatitude}},
    {"NoTiltBeyondThePole",
     {.tilt = "0", .latitude = "91"},
     "division-by-zero",
     daycalc::Stage::FullDaylight,
     {kLatitude}},
    {"TinyTiltBeyondThePole",
     {.tilt = "1e-300", .latitude = "91"},
     "overflow",
     daycalc::Stage::FullDaylight,
     {kLatitude}},
    {"SolarDayTooLarge",
     {.solarDay = "1e400"},
     "overflow",
     daycalc::Stage::Reading,
     {&DaylightInputs::solarDay}},
    {"YearTooLarge",
     {.year = "1e400"},
     "overflow",
     daycalc::Stage::Reading,
     {&DaylightInputs::year}},
};

class Stops : public testing::TestWithParam<StopCase> {};

// Where the press stopped chooses the hint, and the hint names its boxes (the property test
// checks that on every random press).
TEST_P(Stops, SayWhereThePressStoppedAndWhichBoxToChange) {
    const StopCase& c = GetParam();
    const auto outcome = ComputeDaylight(c.inputs);
    ASSERT_TRUE(std::holds_alternative<daycalc::DaylightStop>(outcome));
    const auto& stop = std::get<daycalc::DaylightStop>(outcome);
    EXPECT_EQ(stop.kindName(), c.kind);
    EXPECT_EQ(stop.stage, c.stage);
    EXPECT_EQ(stop.boxes, c.boxes) << stop.cause << "\n" << stop.hint;
}

INSTANTIATE_TEST_SUITE_P(Hints, Stops, testing::ValuesIn(kStops),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
