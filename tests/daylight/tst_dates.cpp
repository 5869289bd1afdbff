// The Earth's dates: the calendar's days, and each date's row on its own day of the clock, on
// clocks from 12 hours behind the sun's to 14 ahead.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "daylight/earth_year.h"

namespace {

using daycalc::CivilDate;
using daycalc::DatedRow;

TEST(Calendar, TakesTheRealDatesOfItsRangeAndNoOthers) {
    const std::pair<const char*, bool> texts[] = {
        {"2000-02-29", true},  {"1900-02-29", false}, {"2100-02-29", false},  {"2024-02-29", true},
        {"2023-02-29", false}, {"1000-01-01", true},  {"0999-12-31", false},  {"3000-12-31", true},
        {"3001-01-01", false}, {"2026-04-30", true},  {"2026-04-31", false},  {"2026-13-01", false},
        {"2026-00-10", false}, {"2026-6-21", false},  {"2026-06-21 ", false},
    };
    for (const auto& [text, real] : texts) {
        EXPECT_EQ(daycalc::DateOf(text).has_value(), real) << text;
        if (real) {
            EXPECT_EQ(daycalc::TextOf(*daycalc::DateOf(text)), text);
        }
    }
}

TEST(Clock, AFixedOffsetIsNamedByItsHoursAndMinutes) {
    const std::pair<double, const char*> offsets[] = {
        {0, "UTC+00:00"},  {2, "UTC+02:00"},     {5.5, "UTC+05:30"}, {-3.5, "UTC-03:30"},
        {14, "UTC+14:00"}, {-0.75, "UTC-00:45"}, {5.75, "UTC+05:45"}};
    for (const auto& [hours, name] : offsets) {
        const daycalc::Clock clock = daycalc::FixedClock(hours)({2026, 6, 21});
        EXPECT_EQ(clock.zone, name);
        EXPECT_EQ(clock.utcOffset, hours);
    }
}

struct Place {
    const char* name;
    double latitude, longitude, utcOffset;
};

std::ostream& operator<<(std::ostream& os, const Place& p) { return os << p.name; }

const Place kPlaces[] = {
    {"Reykjavik", 64.15, -21.94, 0},
    {"McMurdo", -77.85, 166.67, 12},
    {"BerlinsLatitudeTwelveHoursAhead", 52.52, 0, 12},
    {"BerlinsLatitudeTwelveHoursBehind", 52.52, 0, -12},
    {"Kiritimati", 1.87, -157.4, 14},
    {"Delhi", 28.6, 77.2, 5.5},
    {"Tromso", 69.65, 18.96, 1},
    {"SouthPole", -90, 0, 12},
};

std::vector<DatedRow> RowsOf(const Place& p, CivilDate from, CivilDate to, double utcOffset) {
    const daycalc::SkyInputs place{.tilt = 0,
                                   .latitude = p.latitude,
                                   .solarDay = 24,
                                   .year = 0,
                                   .eccentricity = 0,
                                   .perihelion = 0,
                                   .horizon = daycalc::kSunriseHorizon,
                                   .step = 1,
                                   .longitude = p.longitude};
    std::vector<DatedRow> rows;
    daycalc::ForEachDate(place, from, to, daycalc::FixedClock(utcOffset), [&](const DatedRow& d) {
        rows.push_back(d);
        return true;
    });
    return rows;
}

// A clock time as a moment, in Julian days.
double Moment(const DatedRow& d, double hours, double utcOffset) {
    return daycalc::JulianDayOf(d.date) + (hours - utcOffset) / 24;
}

class OnTheClock : public testing::TestWithParam<Place> {};

// Each date has the day whose apparent noon falls on it, its times counted from the date's
// midnight: sunrise before noon before sunset, the daylight between them where the sun rises and
// sets. Where the clock runs about 12 hours from the sun's, noon drifts across midnight with the
// equation of time, and a date or two a year hold no noon: they keep the nearest, seconds away.
TEST_P(OnTheClock, EachDateHasTheDayWhoseNoonFallsOnIt) {
    const Place& p = GetParam();
    const std::vector<DatedRow> rows = RowsOf(p, {2031, 1, 1}, {2032, 12, 31}, p.utcOffset);
    ASSERT_EQ(rows.size(), 731u);
    int withoutNoon = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const daycalc::SkyRow& r = rows[i].row;
        const std::string date = daycalc::TextOf(rows[i].date);
        if (!(r.noon >= 0 && r.noon < 24)) {
            ++withoutNoon;
            EXPECT_LT(std::fmin(std::fabs(r.noon), std::fabs(r.noon - 24)), 1.0 / 60) << date;
        }
        if (i > 0) {
            EXPECT_GE(Moment(rows[i], r.noon, p.utcOffset),
                      Moment(rows[i - 1], rows[i - 1].row.noon, p.utcOffset))
                << date;
        }
        if (!std::isnan(r.sunrise)) {
            EXPECT_LT(r.sunrise, r.noon) << date;
        }
        if (!std::isnan(r.sunset)) {
            EXPECT_LT(r.noon, r.sunset) << date;
        }
        // Each dawn before the lighter one after it, each dusk after the lighter one before it.
        double dawn = r.sunrise, dusk = r.sunset;
        for (std::size_t k = 0; k < r.dawns.size(); ++k) {
            if (!std::isnan(r.dawns[k]) && !std::isnan(dawn)) {
                EXPECT_LE(r.dawns[k], dawn) << date << " dawn " << k;
            }
            if (!std::isnan(r.dusks[k]) && !std::isnan(dusk)) {
                EXPECT_GE(r.dusks[k], dusk) << date << " dusk " << k;
            }
            dawn = r.dawns[k], dusk = r.dusks[k];
        }
        if (i > 0) {
            EXPECT_EQ(rows[i].change, r.daylight - rows[i - 1].row.daylight) << date;
        }
        if (r.sun == daycalc::Sun::Rises && !std::isnan(r.sunrise) && !std::isnan(r.sunset)) {
            EXPECT_NEAR(r.sunset - r.sunrise, r.daylight, 1e-9) << date;
        }
    }
    EXPECT_LE(withoutNoon, 4);
    // The first date's change is from the date before, made for it.
    const std::vector<DatedRow> before = RowsOf(p, {2030, 12, 31}, {2031, 1, 1}, p.utcOffset);
    EXPECT_EQ(before[1].change, rows[0].change);
}

// The clock moves the dates, never the moments: on a clock 12 hours further ahead each day of the
// sky is the same, its noon, sunrise and sunset the same moments.
TEST_P(OnTheClock, AnotherClockGivesTheSameMoments) {
    const Place& p = GetParam();
    const double other = p.utcOffset > 0 ? p.utcOffset - 12 : p.utcOffset + 12;
    std::map<double, DatedRow> byDay;
    for (const DatedRow& d : RowsOf(p, {2031, 3, 1}, {2031, 5, 31}, other)) byDay[d.row.day] = d;
    int same = 0;
    for (const DatedRow& d : RowsOf(p, {2031, 3, 1}, {2031, 5, 31}, p.utcOffset)) {
        const auto there = byDay.find(d.row.day);
        if (there == byDay.end()) continue;
        ++same;
        const DatedRow& o = there->second;
        for (const auto& [hours, otherHours] : {std::pair{d.row.noon, o.row.noon},
                                                {d.row.sunrise, o.row.sunrise},
                                                {d.row.sunset, o.row.sunset}}) {
            if (std::isnan(hours)) continue;
            EXPECT_NEAR(Moment(d, hours, p.utcOffset), Moment(o, otherHours, other), 1e-8)
                << daycalc::TextOf(d.date);
        }
    }
    EXPECT_GT(same, 80);
}

INSTANTIATE_TEST_SUITE_P(Places, OnTheClock, testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
