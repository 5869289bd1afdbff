// The calculation, text for text on the golden file's cases, and invariants that a wrong formula
// would break.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "../../daylight/explain.h"
#include "daylight/daylight.h"
#include "daylight/solar_system.h"

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
            ASSERT_TRUE(std::holds_alternative<daycalc::Problem>(outcome)) << "no fault";
            EXPECT_EQ(std::get<daycalc::Problem>(outcome).kindName(),
                      out["fault"].get<std::string>());
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<DaylightResults>(outcome))
            << std::get<daycalc::Problem>(outcome).message;
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
    if (const auto* fault = std::get_if<daycalc::Problem>(&outcome)) {
        ADD_FAILURE() << "fault: " << fault->message;
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

// A planet that turns backwards swings its sun through the declinations of the tilt 180 - T: the
// same texts, polar or not, north or south, at any point of the year.
TEST(Invariants, ATiltPast90HasTheDaysOf180LessIt) {
    const std::pair<const char*, const char*> tilts[] = {{"97.77", "82.23"},   {"122.53", "57.47"},
                                                         {"153.5", "26.5"},    {"177.5", "2.5"},
                                                         {"90.001", "89.999"}, {"179.5", "0.5"}};
    for (const auto& [backwards, same] : tilts) {
        ASSERT_EQ(180 - Read(backwards), Read(same)) << backwards;
        for (const char* lat : {"0", "20", "38", "60", "89", "-5", "-12", "-45.5"}) {
            for (const char* day : {"0", "33", "180", "270"}) {
                const auto got = ComputeDaylight(With(backwards, lat, day));
                const auto expected = ComputeDaylight(With(same, lat, day));
                ASSERT_EQ(got.index(), expected.index()) << backwards << " at " << lat;
                if (const auto* r = std::get_if<DaylightResults>(&got)) {
                    EXPECT_EQ(*r, std::get<DaylightResults>(expected))
                        << backwards << " at " << lat;
                }
            }
        }
    }
}

// Every planet of the solar system gives its days at the usual latitudes; the one stop left is
// beyond a southern polar circle, where the formulas meet an arc cosine beyond -1, and there the
// values offered give the span of full daylight.
TEST(Invariants, EveryPlanetComputesOrOffersItsPolarDay) {
    for (const daycalc::PlanetPreset& planet : daycalc::kPlanets) {
        for (const char* lat : {"0", "20", "-20", "38", "-38", "60", "-60"}) {
            DaylightInputs inputs = With("", lat);
            for (const auto& [member, text] : daycalc::PlanetTexts(planet)) {
                inputs.*member = text;
            }
            SCOPED_TRACE(std::string(planet.name) + " at " + lat);
            const auto outcome = ComputeDaylight(inputs);
            const auto* problem = std::get_if<daycalc::Problem>(&outcome);
            if (!problem) continue;
            EXPECT_LT(Read(lat), 0);
            EXPECT_EQ(problem->kindName(), "invalid-argument");
            for (const daycalc::Try& t : problem->tries) {
                inputs.*(daycalc::InputFieldNamed(t.field)->text) = t.text;
            }
            EXPECT_NE(ResultsOf(inputs).fullDaylight, "");
        }
    }
}

TEST(Invariants, YearMattersOnlyBeyondThePolarCircle) {
    EXPECT_EQ(ResultsOf(With("23.5", "38", "0", "24", "1")), ResultsOf(DaylightInputs{}));
    EXPECT_EQ(ResultsOf(With("23.5", "38", "0", "24", "junk")).minDay, kShort);
}

}  // namespace

namespace {

// Every text of the hint table, each with a press that stops there: the kind, the boxes named
// (the first to change first), the words, and the values offered to try, which the property test
// checks on every random stop.
struct HintCase {
    const char* name;
    DaylightInputs inputs;
    const char* kind;
    std::vector<std::string_view> fields;
    std::string text;
    std::vector<daycalc::Try> tries;
    std::string year = "";  // where the desktop has the days of the year
};

std::ostream& operator<<(std::ostream& os, const HintCase& c) { return os << c.name; }

const HintCase kHints[] = {
    {"TooLarge",
     {.year = "1e400"},
     "overflow",
     {"year"},
     "The number in Length of Year is too large to compute with. Type a "
     "smaller number in Length of Year: numbers run up to about 1.8E+308. "
     "Try Length of Year 365.25.",
     {{"year", "365.25"}}},
    {"BeyondThePole",
     {.tilt = "0", .latitude = "100"},
     "bad-value",
     {"latitude"},
     "Latitude 100 lies beyond the pole: latitudes run from -90 at the "
     "south pole to 90 at the north pole. Type a Latitude from -90 to 90. "
     "Try Latitude 80.",
     {{"latitude", "80"}}},
    // Over the south pole, 120.5 degrees round: 59.5 on the other side, as typed.
    {"BeyondTheSouthPole",
     {.latitude = "-120.5"},
     "bad-value",
     {"latitude"},
     "Latitude -120.5 lies beyond the pole: latitudes run from -90 at the "
     "south pole to 90 at the north pole. Type a Latitude from -90 to 90. "
     "Try Latitude -59.5.",
     {{"latitude", "-59.5"}}},
    // Over the pole lies the polar circle, where the press stops too: what that stop offers.
    {"BeyondThePoleOntoThePolarCircle",
     {.latitude = "113.5"},
     "bad-value",
     {"latitude"},
     "Latitude 113.5 lies beyond the pole: latitudes run from -90 at the "
     "south pole to 90 at the north pole. Type a Latitude from -90 to 90. Try Latitude 66.4.",
     {{"latitude", "66.4"}}},
    {"TiltFarBeyond",
     {.tilt = "200"},
     "invalid-argument",
     {"tilt"},
     "A tilt of 200 lies beyond the tilts of 0 to 180 an axis can have. "
     "Type a Tilt from 0 to 90, or up to 180 for a planet that turns "
     "backwards. Try Tilt 23.5.",
     {{"tilt", "23.5"}}},
    {"TiltBeyondNegative",
     {.tilt = "-23.5", .latitude = "80"},
     "invalid-argument",
     {"tilt", "from_solstice"},
     "At a tilt of -23.5 the calculation has no value for Latitude 80: it takes tilts from 0 "
     "up to but not including 180, and beyond them only some latitudes. Change the "
     "Tilt: a tilt "
     "of -23.5 gives the same days as a tilt of 23.5 half a year later. Try "
     "Tilt 23.5 and Deg from Winter Solstice 180.",
     {{"tilt", "23.5"}, {"from_solstice", "180"}}},
    // A planet that turns backwards has the days of 180 - T: its southern polar circle lies at
    // -63.5 for a tilt of 153.5, and the year is named with the tilt as typed.
    {"BackwardsBeyondTheSouthernPolarCircle",
     {.tilt = "153.5", .latitude = "-80"},
     "invalid-argument",
     {"latitude", "from_solstice"},
     "Latitude -80 lies beyond the southern polar circle of a tilt of 153.5, "
     "at -63.5, where the sun stays up or down for days; this calculation "
     "stops there. Half a year later the same latitude in the north has the "
     "same sky; there the calculation gives no daylight for the day but the "
     "span of full daylight, as long as the polar day here. Try Latitude 80 "
     "and Deg from Winter Solstice 180.",
     {{"latitude", "80"}, {"from_solstice", "180"}},
     "The daylight of every day of that year: daylight-cli year --tilt 153.5 --latitude -80."},
    {"RightAngleAtTheEquator",
     {.tilt = "90", .latitude = "0"},
     "invalid-operation",
     {"tilt", "latitude"},
     "With a tilt of exactly 90 the shortest day at the equator has no "
     "value: its formula meets 0 divided by 0. Change the Tilt a little, or "
     "the Latitude. Try Tilt 89.9.",
     {{"tilt", "89.9"}}},
    {"RightAngleSouth",
     {.tilt = "90", .latitude = "-38"},
     "division-by-zero",
     {"tilt", "latitude", "from_solstice"},
     "With a tilt of exactly 90 the shortest day south of the equator has "
     "no value: its formula divides by the tangent of 90 minus the tilt, "
     "which is 0. Change the Tilt a little; half a year later the same "
     "latitude in the north has the same days. Try Tilt 89.9, Latitude 38 "
     "and Deg from Winter Solstice 180.",
     {{"tilt", "89.9"}, {"latitude", "38"}, {"from_solstice", "180"}}},
    {"OnThePolarCircle",
     {.latitude = "66.5"},
     "division-by-zero",
     {"latitude", "tilt"},
     "Latitude 66.5 lies exactly on the polar circle of a tilt of 23.5, "
     "where the calculation has no value. Move the "
     "Latitude a little off the circle, or change the Tilt. Try Latitude "
     "66.4.",
     {{"latitude", "66.4"}}},
    {"OnTheSouthernPolarCircle",
     {.latitude = "-66.5"},
     "division-by-zero",
     {"latitude", "tilt"},
     "Latitude -66.5 lies exactly on the southern polar circle of a tilt of "
     "23.5, where the formula for the shortest day has no value. Move the "
     "Latitude a little towards the equator, or change the Tilt. Try "
     "Latitude -66.4.",
     {{"latitude", "-66.4"}}},
    {"BeyondTheSouthernPolarCircle",
     {.latitude = "-80"},
     "invalid-argument",
     {"latitude", "from_solstice"},
     "Latitude -80 lies beyond the southern polar circle of a tilt of 23.5, "
     "at -66.5, where the sun stays up or down for days; this calculation "
     "stops there. Half a year later the same latitude in the north has the "
     "same sky; there the calculation gives no daylight for the day but the "
     "span of full daylight, as long as the polar day here. Try Latitude 80 "
     "and Deg from Winter Solstice 180.",
     {{"latitude", "80"}, {"from_solstice", "180"}},
     "The daylight of every day of that year: daylight-cli year --tilt 23.5 --latitude -80."},
    // Rounding puts Latitude 25 a hair beyond the circle of a tilt of 65: the formula for full
    // daylight stops, and the hint is the circle's.
    {"OnThePolarCircleByRounding",
     {.tilt = "65", .latitude = "25"},
     "division-by-zero",
     {"latitude", "tilt"},
     "Latitude 25 lies exactly on the polar circle of a tilt of 65, where the calculation has no "
     "value. Move the Latitude a little off the circle, or change the Tilt. Try Latitude 24.9.",
     {{"latitude", "24.9"}}},
    {"NoTiltAtThePole",
     {.tilt = "0", .latitude = "90"},
     "division-by-zero",
     {"latitude", "tilt"},
     "Latitude 90 lies exactly on the polar circle of a tilt of 0, where the calculation has no "
     "value. Move the Latitude a little off the circle, or change the Tilt. Try Latitude 89.9.",
     {{"latitude", "89.9"}}},
};

class Hints : public testing::TestWithParam<HintCase> {};

TEST_P(Hints, SayWhyAndWhatToTry) {
    const HintCase& c = GetParam();
    const auto outcome = ComputeDaylight(c.inputs);
    ASSERT_TRUE(std::holds_alternative<daycalc::Problem>(outcome));
    const auto& problem = std::get<daycalc::Problem>(outcome);
    EXPECT_EQ(problem.kindName(), c.kind);
    EXPECT_EQ(problem.fields, c.fields);
    EXPECT_EQ(problem.Text(), c.text);
    EXPECT_EQ(problem.tries, c.tries);
    EXPECT_EQ(daycalc::WhereTheYearIs(problem, daycalc::FrontEnd::Desktop), c.year);
}

INSTANTIATE_TEST_SUITE_P(Table, Hints, testing::ValuesIn(kHints),
                         [](const auto& info) { return std::string(info.param.name); });

// Every starting text is read whole, so no note is ever made on one (the notes pass them by).
TEST(Hints, NoStartingTextGetsANote) {
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        EXPECT_TRUE(rt::ReadWhole(f.start)) << f.caption;
    }
    EXPECT_EQ(daycalc::ReadingNotes(DaylightInputs{}), std::vector<daycalc::ReadingNote>{});
}

// The two texts that no press found reaches, asked of the explanation directly: the sun only
// touching the horizon on the chosen day, and what is said when nothing more is known.
TEST(Hints, TheSunTouchingTheHorizonAndTheLastWord) {
    const daycalc::Problem touches =
        daycalc::Explain({.latitude = "60"}, rt::FaultKind::DivisionByZero,
                         daycalc::Stage::ChosenDay, daycalc::Mode::Single);
    EXPECT_EQ(
        touches.Text(),
        "On the chosen day the sun at Latitude 60 only touches the horizon, where the formula "
        "for daylight has no value. Move the Latitude a little towards the equator, or "
        "change Deg from Winter Solstice. Try Latitude 59.9.");
    const daycalc::Problem last =
        daycalc::Explain({.tilt = "45", .latitude = "50"}, rt::FaultKind::Overflow,
                         daycalc::Stage::FullDaylight, daycalc::Mode::Year);
    EXPECT_EQ(last.Text(),
              "These values have no result: the calculation stopped at the span of full daylight. "
              "Change the Latitude or the Tilt a little. Try Latitude 49.9.");
    EXPECT_EQ(last.tries, (std::vector<daycalc::Try>{{"latitude", "49.9"}}));
}

}  // namespace
