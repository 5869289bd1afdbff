// The sun's path through a day: symmetric about noon on a circular orbit at a solstice, the air's
// lift as its formula gives it, and the golden and blue hours in their order and at the sky's own
// dawns and dusks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "daylight/sun.h"

namespace {

using daycalc::SkyInputs;
using daycalc::SkyModel;

SkyInputs Circular(double tilt, double latitude, double solarDay, double year) {
    return {.tilt = tilt,
            .latitude = latitude,
            .solarDay = solarDay,
            .year = year,
            .eccentricity = 0,
            .perihelion = 0,
            .horizon = 0,
            .step = 1,
            .distance = 1,
            .refraction = 0,
            .sunrise = false};
}

// At a solstice of a circular orbit the declination is even in time about noon and the right
// ascension's change odd, so that the afternoon mirrors the morning: the same altitude, and the
// azimuth as far west of the meridian as it was east. Over random planets, slow ones too.
TEST(SunPath, OnACircularOrbitTheAfternoonMirrorsTheMorningAtTheSolstices) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> tilt(0, 89), latitude(-89, 89), day(1, 200);
    for (int planet = 0; planet < 200; ++planet) {
        const SkyInputs in = Circular(tilt(random), latitude(random), day(random), 365.25);
        const SkyModel model(in);
        for (const double solstice : {0.0, 180.0}) {
            const double noon = model.NoonAt(model.DayOfChosenAngle(solstice));
            for (const double x : {0.05, 0.13, 0.25, 0.37, 0.49}) {
                const SkyModel::Standing morning = model.SunAt(noon, -x);
                const SkyModel::Standing afternoon = model.SunAt(noon, x);
                EXPECT_NEAR(morning.altitude, afternoon.altitude, 1e-9) << planet << " " << x;
                if (std::fabs(morning.altitude) > 89) continue;  // no azimuth to speak of
                EXPECT_NEAR(std::remainder(morning.azimuth + afternoon.azimuth, 360), 0, 1e-8)
                    << planet << " " << x;
            }
        }
    }
}

// Saemundsson's refraction for the Earth's air: 34.4' at the apparent horizon and 5.4' at 10
// degrees (the tables' 34' and 5.3'), scaled by the planet's own at its horizon, and none below
// -1 degree.
TEST(SunPath, TheAirLiftsTheSunAsTheFormulaGives) {
    struct Row {
        const char* what;
        double altitude, refraction, minutes;  // NaN: none
    };
    const Row rows[] = {
        {"the apparent horizon", -0.5694, 34, 34.39},
        {"ten degrees", 10, 34, 5.41},
        {"the zenith", 90, 34, 0.0},
        {"no air", 10, 0, 0.0},
        {"twice the air", 10, 68, 10.82},
        {"below a degree", -1.01, 34, NAN},
    };
    for (const Row& r : rows) {
        const double minutes = daycalc::Refraction(r.altitude, r.refraction) * 60;
        if (std::isnan(r.minutes)) {
            EXPECT_TRUE(std::isnan(minutes)) << r.what;
        } else {
            EXPECT_NEAR(minutes, r.minutes, 0.01) << r.what;
        }
    }
}

// The golden and blue hours on the Earth's dates: blue before golden in the morning and after it
// in the evening, each limit where the one before it ends, the blue morning starting at the sky's
// civil dawn and the blue evening ending at its civil dusk (the sun at -6 degrees) to a second.
TEST(SunPath, TheGoldenAndBlueHoursFollowEachOtherAndMeetTheCivilTwilight) {
    const SkyInputs place = daycalc::EarthPlace(52.5, 13.4);
    int days = 0;
    daycalc::ForEachDate(
        place, *daycalc::DateOf("2031-01-01"), *daycalc::DateOf("2031-12-31"),
        daycalc::FixedClock(1), [&](const daycalc::DatedRow& d) {
            const std::array<double, 8> h = daycalc::GoldenAndBlue(*d.model, d.noonDay);
            const auto clock = [&](double x) { return 24 * (d.noonDay + x - d.midnightDay); };
            EXPECT_EQ(h[5], h[0]);  // the blue morning ends as the golden begins
            EXPECT_EQ(h[6], h[3]);  // and the blue evening begins as it ends
            EXPECT_LT(h[4], h[0]);
            EXPECT_LT(h[0], h[1]);
            EXPECT_LT(h[1], 0);
            EXPECT_LT(0, h[2]);
            EXPECT_LT(h[2], h[3]);
            EXPECT_LT(h[3], h[7]);
            EXPECT_NEAR(clock(h[4]), d.row.dawns[0], 1.0 / 3600);
            EXPECT_NEAR(clock(h[7]), d.row.dusks[0], 1.0 / 3600);
            ++days;
            return true;
        });
    EXPECT_EQ(days, 365);
}

// A step of minutes out of its range is the producers' problem before any row, never a day of
// endless rows: none, NaN, negative, too fine or too coarse.
TEST(SunPath, AStepOutOfItsRangeIsAProblemBeforeAnyRow) {
    struct Rows : daycalc::TableConsumer {
        void Columns(std::span<const std::string_view>) override {}
        bool Row(std::span<const daycalc::Cell>) override { return ++count, true; }
        void Summary(std::span<const daycalc::Named>) override {}
        int count = 0;
    } rows;
    const SkyInputs place = daycalc::EarthPlace(52.5, 13.4);
    for (const double minutes : {0.0, double(NAN), -5.0, 0.5, 61.0, 1e-300}) {
        EXPECT_TRUE(daycalc::ProduceSunOnDay(place, 10, minutes, rows)) << minutes;
        EXPECT_TRUE(daycalc::ProduceSunOnDate(place, *daycalc::DateOf("2031-06-01"),
                                              daycalc::FixedClock(2), minutes, rows))
            << minutes;
    }
    EXPECT_EQ(rows.count, 0);
}

}  // namespace
