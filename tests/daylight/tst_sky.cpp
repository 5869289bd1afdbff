// The sky model: invariants every sky keeps, on a table of planets, latitudes and horizons;
// Kepler's equation against its own residual; agreement with the year view on a circular orbit.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "daylight/ranges.h"
#include "daylight/sky.h"
#include "daylight/solar_system.h"

namespace {

using daycalc::SkyInputs;
using daycalc::SkyModel;
using daycalc::SkyRow;
using daycalc::SkyView;
using daycalc::Sun;

struct Sky {
    const char* name;
    const char* planet;
    double latitude;
    double horizon = daycalc::kSunriseHorizon;
    double eccentricity = -1;  // the planet's unless given
    double step = 0.5;

    SkyInputs Inputs() const {
        const daycalc::PlanetPreset& p = *daycalc::PlanetNamed(planet);
        return {.tilt = rt::ValFromText(p.tilt),
                .latitude = latitude,
                .solarDay = rt::ValFromText(p.solarDay),
                .year = rt::ValFromText(p.year),
                .eccentricity = eccentricity >= 0 ? eccentricity : p.eccentricity,
                .perihelion = p.perihelion,
                .horizon = horizon,
                .step = step,
                .declinationTerm = p.declinationTerm};
    }
};

std::ostream& operator<<(std::ostream& os, const Sky& s) { return os << s.name; }

const Sky kSkies[] = {
    {"Earth60N", "earth", 60},
    {"Earth80NGeometric", "earth", 80, daycalc::kGeometricHorizon},
    {"Earth70S", "earth", -70},
    {"EarthEquatorWhereTheEquinoxesAreShortest", "earth", 0},
    {"EarthPole", "earth", 90},
    {"Mars70N", "mars", 70},
    {"PlutoTiltedPast90", "pluto", 40, daycalc::kSunriseHorizon, -1, 20},
    {"UranusLyingOnItsSide", "uranus", -10, daycalc::kGeometricHorizon, -1, 200},
    {"VenusYearOfTwoDays", "venus", 30, daycalc::kSunriseHorizon, -1, 0.01},
    {"EccentricMarsWithADeepHorizon", "mars", 60, -10, 0.9},
    {"MountainHorizon", "earth", 45, 5},
    {"NearlyParabolic", "earth", 52, daycalc::kSunriseHorizon, 0.99},
};

class EverySky : public testing::TestWithParam<Sky> {
  protected:
    SkyView View() const {
        const daycalc::SkyOutcome outcome = daycalc::ComputeSky(GetParam().Inputs());
        if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
            ADD_FAILURE() << problem->message;
            return {};
        }
        return std::get<SkyView>(outcome);
    }
};

// Whether t lies in the span, round the circle of the year, to a tolerance.
bool InSpan(const daycalc::Span& s, double t, double year) {
    const double from = std::fmod(t - s.start + 2 * year, year);
    return from <= s.length + 1e-9 * year || year - from <= 1e-9 * year;
}

bool InAny(const std::vector<daycalc::Span>& spans, double t, double year) {
    for (const auto& s : spans) {
        if (InSpan(s, t, year)) return true;
    }
    return false;
}

TEST_P(EverySky, TheFivePartsMakeTheSolarDayOnEveryRow) {
    const SkyView v = View();
    const double rp = v.inputs.solarDay;
    for (const SkyRow& r : v.rows) {
        const double parts[] = {r.daylight, r.civil, r.nautical, r.astronomical, r.night};
        double sum = 0;
        for (const double part : parts) {
            ASSERT_TRUE(part >= 0 && part <= rp) << "day " << r.day << ": " << part;
            sum += part;
        }
        EXPECT_NEAR(sum, rp, 1e-12 * rp) << "day " << r.day;
        const bool rises = r.daylight > 0 && r.daylight < rp;
        EXPECT_EQ(r.sun == Sun::Rises, rises) << "day " << r.day;
        EXPECT_EQ(r.sun == Sun::PolarDay, r.daylight == rp) << "day " << r.day;
    }
}

// The orbit angle comes from solving Kepler's equation; the day of an orbit angle from the
// closed form the other way. Each checks the other.
TEST_P(EverySky, TheOrbitRunsOnceRoundAndEachAngleLeadsBackToItsDay) {
    const SkyView v = View();
    const SkyModel model(v.inputs);
    ASSERT_GE(v.rows.size(), 2u);
    EXPECT_EQ(v.rows.front().orbitAngle, 0);
    EXPECT_NEAR(v.rows.back().orbitAngle, 360, 1e-9);
    EXPECT_EQ(v.rows.back().day, v.inputs.year);
    for (std::size_t i = 1; i < v.rows.size(); ++i) {
        const SkyRow& r = v.rows[i];
        EXPECT_GT(r.orbitAngle, v.rows[i - 1].orbitAngle);
        if (i + 1 < v.rows.size()) {
            EXPECT_NEAR(model.DayOfOrbitAngle(r.orbitAngle), r.day, 1e-9 * v.inputs.year);
        }
    }
}

// On a circular orbit the southern latitude has the northern one's day half a year later.
TEST_P(EverySky, TheMirroredLatitudeHasTheSameSkyHalfAYearLater) {
    SkyInputs north = GetParam().Inputs();
    north.eccentricity = 0;
    SkyInputs south = north;
    south.latitude = -north.latitude;
    const SkyModel n(north), s(south);
    for (double t = 0; t < north.year; t += north.year / 48) {
        for (const daycalc::Limit limit : {daycalc::Limit::Horizon, daycalc::Limit::Astronomical}) {
            EXPECT_NEAR(s.TimeAbove(t + north.year / 2, limit), n.TimeAbove(t, limit),
                        1e-9 * north.solarDay)
                << t;
        }
    }
}

TEST_P(EverySky, PolarRowsLieInTheirSpansAndOthersOutside) {
    const SkyView v = View();
    const double year = v.inputs.year;
    for (const SkyRow& r : v.rows) {
        EXPECT_EQ(InAny(v.polarDays, r.day, year), r.sun == Sun::PolarDay) << "day " << r.day;
        EXPECT_EQ(InAny(v.polarNights, r.day, year), r.sun == Sun::PolarNight) << "day " << r.day;
    }
}

TEST_P(EverySky, TheShortestAndLongestDaylightBoundEveryRowAndAreReached) {
    const SkyView v = View();
    const SkyModel model(v.inputs);
    for (const SkyRow& r : v.rows) {
        EXPECT_GE(r.daylight, v.shortestDaylight - 1e-12 * v.inputs.solarDay);
        EXPECT_LE(r.daylight, v.longestDaylight + 1e-12 * v.inputs.solarDay);
    }
    EXPECT_NEAR(model.RowAt(v.shortestDay).daylight, v.shortestDaylight, 1e-9 * v.inputs.solarDay);
    EXPECT_NEAR(model.RowAt(v.longestDay).daylight, v.longestDaylight, 1e-9 * v.inputs.solarDay);
}

INSTANTIATE_TEST_SUITE_P(Skies, EverySky, testing::ValuesIn(kSkies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Kepler, TheEccentricAnomalySolvesTheEquationToTheLastBits) {
    for (const double e : {0.0, 0.0167, 0.2488, 0.5, 0.9, 0.99, 0.999999}) {
        for (double m = -10; m <= 10; m += 0.01) {
            const double E = daycalc::EccentricAnomaly(m, e);
            EXPECT_NEAR(E - e * std::sin(E), m, 4e-15 * std::max(1.0, std::fabs(m)))
                << "e " << e << ", M " << m;
        }
    }
}

// With e = 0 the orbit angle is the window's angle past the winter solstice; at the solstices and
// equinoxes the two models see the same declination at noon, and with the geometric horizon the
// same day but for what the sky adds: the sun moving through the day, and the apparent solar day,
// longer or shorter than the mean one by the sun's run in right ascension over the day. That run
// is a year's share of a turn times up to 1 / cos T (its rate at the solstices), so the two differ
// by at most daylight / Y / |cos T| (the Earth's: 20 s; a tilt of 82 degrees: 7 times that), and
// 1e-3 hours for the declination's own change. The planets that turn backwards (Uranus, Pluto,
// tilts of 153.5 and 120) have the northern winter at 0 degrees in both.
TEST(SkyAndYear, OnACircularOrbitTheyAgreeAtTheSolsticesAndEquinoxes) {
    struct Planet {
        std::string tilt, latitude, solarDay = "24", year = "365.25";
    };
    std::vector<Planet> planets = {
        {"23.5", "38"},   {"23.5", "-52"}, {"25.19", "70"},  {"82.23", "-10"},  {"3.13", "0"},
        {"97.77", "38"},  {"97.77", "-5"}, {"122.53", "20"}, {"122.53", "-60"}, {"153.5", "50"},
        {"153.5", "-50"}, {"120", "-20"},  {"120", "75"}};
    // And every planet of the solar system, with its own day and year.
    for (const daycalc::PlanetPreset& p : daycalc::kPlanets) {
        for (const char* latitude : {"38", "-20"}) {
            planets.push_back(
                {std::string(p.tilt), latitude, std::string(p.solarDay), std::string(p.year)});
        }
    }
    for (const Planet& planet : planets) {
        const daycalc::DaylightInputs texts{.tilt = planet.tilt,
                                            .latitude = planet.latitude,
                                            .solarDay = planet.solarDay,
                                            .year = planet.year};
        const daycalc::YearView year = std::get<daycalc::YearView>(daycalc::ComputeYear(texts, 90));
        const SkyModel sky({.tilt = year.tilt,
                            .latitude = year.latitude,
                            .solarDay = year.solarDay,
                            .year = year.year,
                            .eccentricity = 0,
                            .perihelion = 0,
                            .horizon = daycalc::kGeometricHorizon,
                            .step = 1});
        for (const daycalc::YearPoint& p : year.points) {
            const double bound =
                p.daylight / year.year / std::fabs(std::cos(year.tilt * std::numbers::pi / 180)) +
                1e-3 * year.solarDay / 24;
            EXPECT_NEAR(sky.RowAt(p.dayOfYear).daylight, p.daylight, bound)
                << planet.tilt << " at " << planet.latitude << ", " << p.fromSolstice << " degrees";
        }
    }
}

// Venus turns so slowly that the sun moves a long way along its orbit between sunrise and sunset:
// each day's daylight is held to the minutes its sun spends above the level, counted one by one
// (within two minutes of the 1400 hours, far inside 1 %).
TEST(Sky, VenusDaylightIsTheSunFollowedMinuteByMinute) {
    const daycalc::PlanetPreset& venus = *daycalc::PlanetNamed("venus");
    for (const double latitude : {0.0, 45.0, -70.0, 85.0}) {
        const SkyModel sky({.tilt = rt::ValFromText(venus.tilt),
                            .latitude = latitude,
                            .solarDay = rt::ValFromText(venus.solarDay),
                            .year = rt::ValFromText(venus.year),
                            .eccentricity = venus.eccentricity,
                            .perihelion = venus.perihelion,
                            .horizon = daycalc::kGeometricHorizon,
                            .step = 1});
        const double minutes = rt::ValFromText(venus.solarDay) * 60;
        for (const double noon : {0.0, 0.6, 1.3}) {
            int above = 0;
            for (int m = 0; m < int(minutes); ++m) {
                above += sky.SinAltitudeAt(noon, (m + 0.5) / minutes - 0.5) > 0;
            }
            const double daylight = sky.RowAt(noon).daylight;
            EXPECT_NEAR(daylight, above / 60.0, 2.0 / 60) << latitude << " " << noon;
        }
    }
}

// The header's bound: each crossing of a day followed by its series is within 1e-13 hours of the
// series' own root, found here to the last bit by bisecting the series' altitude, on a tilted,
// eccentric orbit at latitudes and seasons where the sun crosses steeply and where it grazes.
TEST(Sky, EachCrossingIsWithin1e13HoursOfItsRoot) {
    for (const double latitude : {0.0, 45.0, -60.0, 66.0, 70.0}) {
        const SkyModel sky({.tilt = 23.44,
                            .latitude = latitude,
                            .solarDay = 24,
                            .year = 365.25,
                            .eccentricity = 0.0167,
                            .perihelion = 12.95,
                            .horizon = daycalc::kGeometricHorizon,
                            .step = 1});
        for (const double share : {0.02, 0.25, 0.4, 0.7, 0.9}) {
            const SkyRow r = sky.RowAt(share * 365.25);
            if (r.sun != Sun::Rises) continue;
            // Where the altitude changes sign between a and b, in solar days from noon.
            const auto crossing = [&](double a, double b) {
                while (true) {
                    const double middle = a + (b - a) / 2;
                    if (middle == a || middle == b) return middle;
                    const bool aboveA = sky.SeriesSinAltitudeAt(r.day, a) > 0;
                    (sky.SeriesSinAltitudeAt(r.day, middle) > 0) == aboveA ? a = middle
                                                                           : b = middle;
                }
            };
            EXPECT_NEAR(r.sunrise, r.noon + 24 * crossing(-0.5, 0), 1e-13)
                << latitude << " at " << share;
            EXPECT_NEAR(r.sunset, r.noon + 24 * crossing(0, 0.5), 1e-13)
                << latitude << " at " << share;
        }
    }
}

// With no tilt the sun keeps to the equator, and each crossing has its closed form: the hour
// angle acos(sin h / cos L), here in long double. The crossings are found to the rounding of the
// altitude, so every time the row gives is within two units in the last place of 24 hours for a
// day followed by its series; within four for one followed step by step (a year of half a solar
// day), whose orbit, looked at afresh at each moment, brings the rounding of its angles (about
// 1e-15 of a radian) into the hour angle.
struct NoTiltDay {
    const char* name;
    double year, tolerance;
};

class WithNoTilt : public testing::TestWithParam<NoTiltDay> {};

TEST_P(WithNoTilt, TheCrossingsAreTheClosedFormsToTheLastDigits) {
    constexpr long double kPi = std::numbers::pi_v<long double>;
    const auto [name, year, tolerance] = GetParam();
    for (const double latitude : {0.0, 38.0, -52.0, 66.0, 75.0}) {
        for (const double horizon : {daycalc::kSunriseHorizon, -10.0, 5.0}) {
            const SkyRow r = SkyModel({.tilt = 0,
                                       .latitude = latitude,
                                       .solarDay = 24,
                                       .year = year,
                                       .eccentricity = 0,
                                       .perihelion = 0,
                                       .horizon = horizon,
                                       .step = 1})
                                 .RowAt(year / 3);
            // The hours above each limit, from midnight to midnight where it is never reached.
            const auto hours = [&](double degrees) {
                const long double c =
                    std::sin(degrees * kPi / 180) / std::cos(latitude * kPi / 180);
                return c < -1 ? 24 : c > 1 ? 0 : 24 * std::acos(c) / kPi;
            };
            const double limits[] = {horizon, -6, -12, -18};
            long double above[4];
            for (int i = 0; i < 4; ++i) {
                above[i] = std::max(hours(limits[i]), i > 0 ? above[i - 1] : 0.0L);
            }
            const double bands[] = {r.daylight, r.civil, r.nautical, r.astronomical, r.night};
            const long double exact[] = {above[0], above[1] - above[0], above[2] - above[1],
                                         above[3] - above[2], 24 - above[3]};
            for (int i = 0; i < 5; ++i) {
                EXPECT_NEAR(bands[i], double(exact[i]), tolerance)
                    << "band " << i << " at " << latitude << ", horizon " << horizon;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sky, WithNoTilt,
                         testing::Values(NoTiltDay{"ByItsSeries", 365.25, 8e-15},
                                         NoTiltDay{"StepByStep", 0.5, 1.6e-14}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Sky, NoTiltAtThePoleIsOnePolarDayAllYear) {
    const SkyView v = std::get<SkyView>(daycalc::ComputeSky({.tilt = 0,
                                                             .latitude = 90,
                                                             .solarDay = 24,
                                                             .year = 360,
                                                             .eccentricity = 0,
                                                             .perihelion = 0,
                                                             .horizon = daycalc::kSunriseHorizon,
                                                             .step = 30}));
    ASSERT_EQ(v.polarDays.size(), 1u);
    EXPECT_EQ(v.polarDays[0].start, 0);
    EXPECT_EQ(v.polarDays[0].length, 360);
    EXPECT_TRUE(v.polarNights.empty());
}

TEST(Sky, EveryUnusableValueIsRefusedWithItsReason) {
    struct Case {
        double SkyInputs::*value;
        double set;
        const char* reason;
    };
    const Case cases[] = {
        {&SkyInputs::eccentricity, 1, "the eccentricity must be from 0 up to but not including 1"},
        {&SkyInputs::eccentricity, -0.1,
         "the eccentricity must be from 0 up to but not including 1"},
        {&SkyInputs::latitude, 90.5, "the latitude must be from -90 to 90 degrees"},
        {&SkyInputs::horizon, -91, "the horizon must be from -90 to 90 degrees"},
        {&SkyInputs::horizon, NAN, "the horizon is not a finite number"},
        {&SkyInputs::solarDay, 0, "the solar day must be above 0"},
        {&SkyInputs::year, -1, "the year must be above 0"},
        {&SkyInputs::step, 0, "the step must be above 0"},
        {&SkyInputs::step, 1e-4, "the step must be at least a millionth of the year"},
        {&SkyInputs::perihelion, INFINITY, "the perihelion is not a finite number"},
        {&SkyInputs::declinationTerm, -6, "the declination term must be from -5 to 5 degrees"},
        {&SkyInputs::longitude, 400, "the longitude must be from -180 to 180 degrees"},
    };
    for (const Case& c : cases) {
        SkyInputs in = kSkies[0].Inputs();
        EXPECT_FALSE(daycalc::SkyProblem(in));
        in.*c.value = c.set;
        const std::optional<daycalc::Problem> problem = daycalc::SkyProblem(in);
        ASSERT_TRUE(problem) << c.reason;
        EXPECT_EQ(problem->message, c.reason);
        // The value offered for the field at fault is within range.
        ASSERT_EQ(problem->tries.size(), 1u) << c.reason;
        in.*c.value = rt::ValFromText(problem->tries[0].text);
        EXPECT_FALSE(daycalc::SkyProblem(in)) << c.reason;
    }
}

// Each range holds its ends as it says and nothing just past them, nor NaN, and what it offers
// in place of a value outside it is within it.
TEST(ValueRanges, EachHoldsItsEndsAsItSaysAndWhatItOffers) {
    for (const daycalc::ValueRange& r : daycalc::ValueRanges()) {
        SCOPED_TRACE(std::string(r.field));
        EXPECT_EQ(r.Holds(r.low), r.lowIncluded);
        EXPECT_FALSE(r.Holds(std::nextafter(r.low, -INFINITY)));
        if (std::isfinite(r.high)) {
            EXPECT_EQ(r.Holds(r.high), r.highIncluded);
            EXPECT_FALSE(r.Holds(std::nextafter(r.high, INFINITY)));
        }
        EXPECT_FALSE(r.Holds(NAN));
        for (const double offered : {r.offeredBelow, r.offeredAbove}) {
            if (!std::isnan(offered)) {
                EXPECT_TRUE(r.Holds(offered)) << offered;
            }
        }
    }
    EXPECT_FALSE(daycalc::RangeOf("rows").Holds(2.5));
}

}  // namespace
