// The year view: invariants every year keeps, on a table of planets from the equator to both
// poles and past a tilt of 90, and what no invariant pins: exact half days, faults and steps.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "daylight/year.h"

namespace {

using daycalc::DaylightInputs;
using daycalc::Sun;
using daycalc::YearPoint;
using daycalc::YearView;

struct Planet {
    const char* name;
    const char* tilt;
    const char* latitude;
    const char* solarDay = "24";
    const char* year = "365.25";

    DaylightInputs Inputs() const {
        return {.tilt = tilt, .latitude = latitude, .solarDay = solarDay, .year = year};
    }
};

std::ostream& operator<<(std::ostream& os, const Planet& p) { return os << p.name; }

YearView YearOf(const DaylightInputs& inputs, double step = 1) {
    const daycalc::YearOutcome outcome = daycalc::ComputeYear(inputs, step);
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
        ADD_FAILURE() << "fault: " << problem->message;
        return {};
    }
    return std::get<YearView>(outcome);
}

std::string Mirror(const char* latitude) { return rt::TextFromDouble(-rt::ValFromText(latitude)); }

Sun Swapped(Sun sun) {
    if (sun == Sun::PolarDay) return Sun::PolarNight;
    if (sun == Sun::PolarNight) return Sun::PolarDay;
    return sun;
}

// How far a point of the year lies inside the span, in degrees round the circle of the year:
// negative outside it, 0 on its ends. A span of no length holds its one point.
double Inside(const daycalc::Span& span, double degrees) {
    const auto ahead = [](double from, double to) { return std::fmod(to - from + 720, 360); };
    const double length = ahead(span.start, span.end);
    const double fromStart = ahead(span.start, degrees);
    if (fromStart <= length) return std::min(fromStart, length - fromStart);
    return -std::min(fromStart - length, 360 - fromStart);
}

// Near the polar circle the arc cosine turns a rounding into several digits.
double Tolerance(const YearView& view) { return 1e-9 * std::fabs(view.solarDay); }

const Planet kPlanets[] = {
    {"Earth38", "23.5", "38"},
    {"Earth70", "23.5", "70"},
    {"Earth80", "23.5", "80"},
    {"Earth80South", "23.5", "-80"},
    {"OnThePolarCircle", "23.5", "66.5"},
    {"NorthPole", "23.5", "90"},
    {"SouthPole", "23.5", "-90"},
    {"Tilt90", "90", "38"},
    {"Tilt90South", "90", "-38"},
    {"Tilt120South", "120", "-20"},
    {"Tilt120North", "120", "80"},
    {"UranusNorth", "97.77", "38", "17.24", "42717.49"},
    {"PlutoNorth", "122.53", "70", "153.282", "14179.36"},
    {"RedPlanetSouth", "25.19", "-75", "24.6597", "668.6"},
    {"LongDaysShortYear", "10", "51.5", "1000", "1"},
    {"NegativeDay", "23.5", "45", "-24", "-365.25"},
    // The sunset cosine is exactly -1 at the winter solstice and 1 at the summer solstice: the
    // sun only touches the horizon there, and each of those days is a polar span of no length.
    {"TouchesTheHorizonAtTheSolstices", "7", "-83"},
};

class EveryYear : public testing::TestWithParam<Planet> {
  protected:
    // A year that did not come has no rows to index: the test stops here instead of crashing.
    void SetUp() override { ASSERT_EQ(year.points.size(), 361u); }
    YearView year = YearOf(GetParam().Inputs());
};

TEST_P(EveryYear, RunsFrom0To360AndEndsWhereItBegan) {
    for (std::size_t k = 0; k < year.points.size(); ++k) {
        EXPECT_EQ(year.points[k].fromSolstice, double(k));
        EXPECT_DOUBLE_EQ(year.points[k].dayOfYear, double(k) / 360 * year.year);
    }
    EXPECT_EQ(year.points.back().daylight, year.points.front().daylight);
    EXPECT_EQ(year.points.back().sun, year.points.front().sun);
}

TEST_P(EveryYear, DaylightAndNightMakeTheSolarDayOnEveryRow) {
    const double RP = year.solarDay;
    for (const YearPoint& p : year.points) {
        SCOPED_TRACE(p.fromSolstice);
        ASSERT_TRUE(std::isfinite(p.daylight) && std::isfinite(p.night));
        EXPECT_NEAR(p.daylight + p.night, RP, 1e-14 * std::fabs(RP));
        switch (p.sun) {
            case Sun::PolarDay:
                EXPECT_TRUE(p.daylight == RP && p.night == 0);
                break;
            case Sun::PolarNight:
                EXPECT_TRUE(p.daylight == 0 && p.night == RP);
                break;
            case Sun::Rises:
                EXPECT_LE(std::fabs(p.daylight), std::fabs(RP));
                break;
        }
    }
}

TEST_P(EveryYear, IsSymmetricAbout180) {
    for (std::size_t k = 0; k <= 360; ++k) {
        const YearPoint& p = year.points[k];
        const YearPoint& mirror = year.points[360 - k];
        EXPECT_EQ(p.sun, mirror.sun) << k;
        EXPECT_NEAR(p.daylight, mirror.daylight, Tolerance(year)) << k;
    }
}

TEST_P(EveryYear, TheMirroredLatitudeSwapsDayAndNight) {
    DaylightInputs mirrored = GetParam().Inputs();
    mirrored.latitude = Mirror(GetParam().latitude);
    const YearView other = YearOf(mirrored);
    ASSERT_EQ(other.points.size(), year.points.size());
    for (std::size_t k = 0; k < year.points.size(); ++k) {
        EXPECT_EQ(other.points[k].sun, Swapped(year.points[k].sun)) << k;
        EXPECT_NEAR(other.points[k].daylight, year.points[k].night, Tolerance(year)) << k;
    }
}

TEST_P(EveryYear, TheSolsticesHoldTheShortestAndLongestDaylight) {
    double shortest = year.points[0].daylight, longest = shortest;
    for (const YearPoint& p : year.points) {
        shortest = std::min(shortest, p.daylight);
        longest = std::max(longest, p.daylight);
    }
    EXPECT_EQ(year.shortestDaylight, shortest);
    EXPECT_EQ(year.longestDaylight, longest);
}

// At a hundredth of a degree, so that a span's ends are pinned that closely.
TEST_P(EveryYear, PolarRowsLieInTheirSpansAndTheSpansHoldOnlyThem) {
    const YearView fine = YearOf(GetParam().Inputs(), 0.01);
    const std::pair<const std::optional<daycalc::Span>&, Sun> spans[] = {
        {fine.polarDay, Sun::PolarDay}, {fine.polarNight, Sun::PolarNight}};
    for (const auto& [span, sun] : spans) {
        for (const YearPoint& p : fine.points) {
            if (!span) {
                ASSERT_NE(p.sun, sun) << p.fromSolstice;
            } else if (p.sun == sun) {
                ASSERT_GE(Inside(*span, p.fromSolstice), -1e-6) << p.fromSolstice;
            } else {
                ASSERT_LE(Inside(*span, p.fromSolstice), 1e-6) << p.fromSolstice;
            }
        }
    }
}

// Beyond the polar circle a press gives the span of full daylight: the northern polar day of the
// year, text for text, for a planet that turns backwards as for any other.
TEST_P(EveryYear, APolarPressGivesTheNorthernPolarDay) {
    const daycalc::DaylightOutcome press = daycalc::ComputeDaylight(GetParam().Inputs());
    const auto* results = std::get_if<daycalc::DaylightResults>(&press);
    if (!results || !results->polar) GTEST_SKIP() << "not beyond the northern polar circle";
    ASSERT_TRUE(year.polarDay);
    EXPECT_EQ(rt::TextFromDouble(year.polarDay->length), results->fullDaylight);
}

INSTANTIATE_TEST_SUITE_P(Planets, EveryYear, testing::ValuesIn(kPlanets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(YearView, TheEquatorAndNoTiltGiveExactlyHalfADayAllYear) {
    for (const char* solarDay : {"24", "10", "0.5", "1000"}) {
        for (const Planet& p :
             {Planet{"equator", "23.5", "0", solarDay}, Planet{"no tilt", "0", "38", solarDay},
              Planet{"no tilt at the pole", "0", "90", solarDay}}) {
            const YearView year = YearOf(p.Inputs());
            for (const YearPoint& row : year.points) {
                ASSERT_EQ(row.daylight, year.solarDay / 2) << p.name << " " << row.fromSolstice;
                ASSERT_EQ(row.night, year.solarDay / 2) << p.name << " " << row.fromSolstice;
            }
            EXPECT_FALSE(year.polarDay || year.polarNight) << p.name;
        }
    }
}

TEST(YearView, TheEquinoxesSplitTheDayExactlyEvenAtThePoles) {
    for (const Planet& p : kPlanets) {
        const YearView year = YearOf(p.Inputs());
        ASSERT_EQ(year.points.size(), 361u) << p.name;
        for (const std::size_t equinox : {90u, 270u}) {
            EXPECT_EQ(year.points[equinox].sun, Sun::Rises) << p.name;
            EXPECT_EQ(year.points[equinox].daylight, year.solarDay / 2) << p.name;
        }
    }
}

TEST(YearView, WhereTheSunTouchesTheHorizonTheSolsticeIsASpanOfNoLength) {
    const YearView year = YearOf({.tilt = "7", .latitude = "-83"}, 90);
    ASSERT_EQ(year.points.size(), 5u);
    ASSERT_TRUE(year.polarDay && year.polarNight);
    EXPECT_EQ(year.points[0].sun, Sun::PolarDay);
    EXPECT_EQ(year.points[2].sun, Sun::PolarNight);
    EXPECT_EQ(year.points[4].sun, Sun::PolarDay);
    EXPECT_TRUE(year.polarDay->start == 0 && year.polarDay->end == 0 && year.polarDay->length == 0);
    EXPECT_TRUE(year.polarNight->start == 180 && year.polarNight->end == 180 &&
                year.polarNight->length == 0);
}

struct YearFault {
    const char* name;
    DaylightInputs inputs;
    const char* kind;
    std::vector<daycalc::Try> tries;  // what the year offers, never the point of the year
};

// The year stops where a text does not read, or on a latitude beyond a pole, with the hints of a
// single press, whose values to try give a year.
TEST(YearView, StopsOnlyOnTheReadingAndALatitudeBeyondThePole) {
    const YearFault faults[] = {
        {"BeyondThePole", {.tilt = "0", .latitude = "100"}, "bad-value", {{"latitude", "80"}}},
        {"BeyondTheSouthPole", {.latitude = "-91"}, "bad-value", {{"latitude", "-89"}}},
        {"OverflowingTilt", {.tilt = "1e999"}, "overflow", {{"tilt", "23.5"}}},
        {"OverflowingYear", {.year = "-2e308"}, "overflow", {{"year", "365.25"}}},
        {"PointOfTheYearUnread", {.fromSolstice = "1e999"}, "", {}},
        {"PointOfTheYearUnreadWhereTheYearStops",
         {.tilt = "0", .latitude = "100", .fromSolstice = "1e400"},
         "bad-value",
         {{"latitude", "80"}}},
    };
    for (const YearFault& f : faults) {
        const daycalc::YearOutcome outcome = daycalc::ComputeYear(f.inputs, 1);
        if (*f.kind == '\0') {
            EXPECT_TRUE(std::holds_alternative<YearView>(outcome)) << f.name;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<daycalc::Problem>(outcome)) << f.name;
        const auto& problem = std::get<daycalc::Problem>(outcome);
        EXPECT_EQ(problem.kindName(), f.kind) << f.name;
        EXPECT_EQ(problem.tries, f.tries) << f.name << ": " << problem.hint;
    }
}

TEST(YearView, StepsSetTheRowsAndTheLastRowClosesTheYear) {
    const struct {
        double step;
        std::size_t rows;
        double beforeLast;
    } steps[] = {{1, 361, 359},        {7, 53, 357},      {0.036, 10'001, 359.964},
                 {360, 2, 0},          {1000, 2, 0},      {0, 360'001, 359.999},
                 {std::nan(""), 2, 0}, {0.1, 3601, 359.9}};
    for (const auto& s : steps) {
        const YearView year = YearOf({}, s.step);
        ASSERT_EQ(year.points.size(), s.rows) << s.step;
        EXPECT_NEAR(year.points[s.rows - 2].fromSolstice, s.beforeLast, 1e-9) << s.step;
        EXPECT_EQ(year.points.back().fromSolstice, 360) << s.step;
    }
}

}  // namespace
