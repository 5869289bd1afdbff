// The year view: invariants every year keeps, the polar spans against the window's Full
// Daylight, and the window's own texts where the two meet.
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
    if (const auto* fault = std::get_if<rt::Fault>(&outcome)) {
        ADD_FAILURE() << "fault: " << fault->message();
        return {};
    }
    return std::get<YearView>(outcome);
}

daycalc::DaylightResults WindowAt(DaylightInputs inputs, const std::string& fromSolstice) {
    inputs.fromSolstice = fromSolstice;
    const daycalc::DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
    if (const auto* fault = std::get_if<rt::Fault>(&outcome)) {
        ADD_FAILURE() << "window fault: " << fault->message();
        return {};
    }
    return std::get<daycalc::DaylightResults>(outcome);
}

std::string Mirror(const char* latitude) { return rt::TextFromDouble(-rt::ValFromText(latitude)); }

Sun Swapped(Sun sun) {
    if (sun == Sun::PolarDay) return Sun::PolarNight;
    if (sun == Sun::PolarNight) return Sun::PolarDay;
    return sun;
}

bool Within(const daycalc::PolarSpan& span, double degrees) {
    if (span.start <= span.end) return span.start <= degrees && degrees <= span.end;
    return degrees >= span.start || degrees <= span.end;  // wraps through the winter solstice
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
    {"RedPlanetSouth", "25.19", "-75", "24.6597", "668.6"},
    {"LongDaysShortYear", "10", "51.5", "1000", "1"},
    {"NegativeDay", "23.5", "45", "-24", "-365.25"},
};

class EveryYear : public testing::TestWithParam<Planet> {
  protected:
    YearView year = YearOf(GetParam().Inputs());
};

TEST_P(EveryYear, RunsFrom0To360AndEndsWhereItBegan) {
    ASSERT_EQ(year.points.size(), 361u);
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

TEST_P(EveryYear, PolarRowsLieInTheirSpansAndTheSpansHoldOnlyThem) {
    const std::pair<const std::optional<daycalc::PolarSpan>&, Sun> spans[] = {
        {year.polarDay, Sun::PolarDay}, {year.polarNight, Sun::PolarNight}};
    for (const auto& [span, sun] : spans) {
        for (const YearPoint& p : year.points) {
            SCOPED_TRACE(p.fromSolstice);
            if (!span) {
                EXPECT_NE(p.sun, sun);
            } else if (p.sun == sun) {
                EXPECT_TRUE(Within(*span, p.fromSolstice + 1e-6) ||
                            Within(*span, p.fromSolstice - 1e-6));
            } else {
                EXPECT_FALSE(Within(*span, p.fromSolstice + 1e-6) &&
                             Within(*span, p.fromSolstice - 1e-6));
            }
        }
    }
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
        for (const std::size_t equinox : {90u, 270u}) {
            EXPECT_EQ(year.points[equinox].sun, Sun::Rises) << p.name;
            EXPECT_EQ(year.points[equinox].daylight, year.solarDay / 2) << p.name;
        }
    }
}

TEST(YearView, AtTheSolsticesRowsGiveTheWindowsDaylightTexts) {
    const Planet planets[] = {{"Earth38", "23.5", "38"},
                              {"Earth38South", "23.5", "-38"},
                              {"Earth60", "23.5", "60"},
                              {"NearTheCircle", "23.5", "66.4"},
                              {"RedPlanet", "25.19", "40", "24.6597", "668.6"},
                              {"SmallTilt", "3.1", "-12", "10"}};
    for (const Planet& p : planets) {
        const YearView year = YearOf(p.Inputs());
        for (const auto& [row, text] : {std::pair{0, "0"}, std::pair{180, "180"}}) {
            const daycalc::DaylightResults window = WindowAt(p.Inputs(), text);
            EXPECT_EQ(rt::TextFromDouble(year.points[row].daylight), window.daylight) << p.name;
            EXPECT_EQ(rt::TextFromDouble(year.points[row].night), window.night) << p.name;
        }
    }
}

TEST(YearView, BeyondThePolarCircleTheSpansMatchTheWindowsFullDaylight) {
    for (const char* tilt : {"23.5", "25.19", "45", "80"}) {
        for (const char* latitude : {"70", "80", "89.5", "90"}) {
            SCOPED_TRACE(std::string("tilt ") + tilt + " latitude " + latitude);
            const Planet north{"north", tilt, latitude};
            const std::string fullText = WindowAt(north.Inputs(), "0").fullDaylight;
            const double full = rt::ValFromText(fullText);
            const double half = full / 365.25 * 180;  // half the span, in degrees
            const YearView year = YearOf(north.Inputs());
            ASSERT_TRUE(year.polarDay && year.polarNight);
            EXPECT_EQ(rt::TextFromDouble(year.polarDay->length), fullText);
            EXPECT_NEAR(year.polarDay->start, 180 - half, 1e-9);
            EXPECT_NEAR(year.polarDay->end, 180 + half, 1e-9);
            EXPECT_EQ(year.points[0].sun, Sun::PolarNight);
            EXPECT_EQ(year.points[180].sun, Sun::PolarDay);
            const std::string south = Mirror(latitude);
            const YearView mirrored = YearOf({.tilt = tilt, .latitude = south});
            ASSERT_TRUE(mirrored.polarDay && mirrored.polarNight);
            EXPECT_NEAR(mirrored.polarDay->length, full, 1e-12 * full);
            EXPECT_NEAR(mirrored.polarDay->start, half > 0 ? 360 - half : 0, 1e-9);
            EXPECT_NEAR(mirrored.polarDay->end, half, 1e-9);
            EXPECT_EQ(mirrored.points[0].sun, Sun::PolarDay);
            EXPECT_EQ(mirrored.points[180].sun, Sun::PolarNight);
        }
    }
}

struct YearFault {
    const char* name;
    DaylightInputs inputs;
    const char* kind;
};

TEST(YearView, FaultsTheWindowHasBeyondTheArcCosineAreReportedAlike) {
    const YearFault faults[] = {
        {"NoTiltBeyondThePole", {.tilt = "0", .latitude = "100"}, "division-by-zero"},
        {"OverflowingTilt", {.tilt = "1e999"}, "overflow"},
        {"OverflowingYear", {.year = "-2e308"}, "overflow"},
    };
    for (const YearFault& f : faults) {
        const daycalc::YearOutcome outcome = daycalc::ComputeYear(f.inputs, 1);
        ASSERT_TRUE(std::holds_alternative<rt::Fault>(outcome)) << f.name;
        EXPECT_EQ(std::get<rt::Fault>(outcome).kindName(), f.kind) << f.name;
        EXPECT_EQ(std::get<rt::Fault>(daycalc::ComputeDaylight(f.inputs)).kindName(), f.kind);
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
