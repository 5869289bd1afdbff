// Every table is handed over as it is made: a consumer that wants one row gets that row, before
// any other is computed, and neither more rows nor a summary. A sky whose summary is not wanted
// has every row and an empty summary.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "daylight/solar_system.h"
#include "daylight/table.h"
#include "runtime/runtime.h"

namespace {

using daycalc::TableConsumer;

// Counts what it is handed; wants the rows after the first only where told.
class Counted : public TableConsumer {
  public:
    explicit Counted(bool more = false) : more_(more) {}
    void Columns(std::span<const std::string_view> names) override { columns = names.size(); }
    bool Row(std::span<const daycalc::Cell> cells) override {
        if (++rows == 1) cellsInFirstRow = cells.size();
        return more_;
    }
    void Summary(std::span<const daycalc::Named> values) override {
        summary = true;
        summaryValues = values.size();
    }
    std::size_t columns = 0, rows = 0, cellsInFirstRow = 0, summaryValues = 0;
    bool summary = false;

  private:
    bool more_;
};

struct Producer {
    const char* name;
    std::function<void(TableConsumer&)> produce;
};

const daycalc::SkyInputs kEarth{.tilt = 23.44,
                                .latitude = 60,
                                .solarDay = 24,
                                .year = 365.25,
                                .eccentricity = 0.0167,
                                .perihelion = 12.95,
                                .horizon = daycalc::kSunriseHorizon,
                                .step = 0.001};

TEST(Tables, AConsumerThatWantsOneRowGetsOneAndNoSummary) {
    const Producer producers[] = {
        {"year", [](TableConsumer& to) { daycalc::ProduceYear({}, 0.001, to); }},
        {"sky", [](TableConsumer& to) { daycalc::ProduceSky(kEarth, to); }},
        {"map",
         [](TableConsumer& to) {
             daycalc::SkyInputs daily = kEarth;
             daily.step = 1;
             daycalc::ProduceMap(daily, 0.5, to);
         }},
        {"dates",
         [](TableConsumer& to) {
             daycalc::ProduceDates(kEarth, {2026, 1, 1}, {2026, 12, 31}, daycalc::FixedClock(0),
                                   to);
         }},
    };
    for (const Producer& p : producers) {
        Counted consumer;
        p.produce(consumer);
        EXPECT_EQ(consumer.rows, 1u) << p.name;
        EXPECT_GT(consumer.columns, 0u) << p.name;
        EXPECT_EQ(consumer.cellsInFirstRow, consumer.columns) << p.name;
        EXPECT_FALSE(consumer.summary) << p.name;
    }
}

TEST(Tables, ASkyWhoseSummaryIsNotWantedHasEveryRowAndAnEmptySummary) {
    daycalc::SkyInputs daily = kEarth;
    daily.step = 1;
    for (const auto wanted : {daycalc::Summary::Wanted, daycalc::Summary::NotWanted}) {
        Counted consumer(true);
        EXPECT_FALSE(daycalc::ProduceSky(daily, consumer, wanted));
        EXPECT_EQ(consumer.rows, 367u);
        EXPECT_TRUE(consumer.summary);
        EXPECT_EQ(consumer.summaryValues == 0, wanted == daycalc::Summary::NotWanted);
    }
}

}  // namespace

// A table through the year has exactly one row at its end, whatever the step: N steps of a year
// over N, for every N to 2000 and three planets, and 39 steps of 360/39 degrees, where rounding
// leaves the last step a hair short of the end.
TEST(Tables, TheYearsEndHasOneRowForEveryStep) {
    for (const double year : {365.25, 224.701 / 116.75, 686.971 / 1.0275}) {  // Earth, Venus, Mars
        for (int n = 1; n <= 2000; ++n) {
            daycalc::SkyInputs in = kEarth;
            in.year = year;
            in.step = year / n;
            const std::vector<double> days = daycalc::RowDays(in);
            ASSERT_EQ(days.size(), std::size_t(n) + 1) << year << " in " << n;
            ASSERT_EQ(days.back(), year);
            ASSERT_LT(days[std::size_t(n) - 1], year) << year << " in " << n;
        }
    }
    for (const int n : {11, 39, 49, 98}) {  // skies whose last step rounds short
        daycalc::SkyInputs in = kEarth;
        in.step = in.year / n;
        Counted sky(true);
        daycalc::ProduceSky(in, sky, daycalc::Summary::NotWanted);
        EXPECT_EQ(sky.rows, std::size_t(n) + 1) << n;
    }
    Counted year(true);
    daycalc::ProduceYear({}, 360.0 / 39, year);
    EXPECT_EQ(year.rows, 40u);
}

// Dates stop at the first row not wanted (an output that failed): no later date is computed, so
// its clock is never asked for.
TEST(Tables, NoDateIsComputedAfterARowNotWanted) {
    int clocks = 0;
    const daycalc::ClockOf counting = [&clocks](const daycalc::CivilDate&) {
        ++clocks;
        return daycalc::Clock{0, "UTC"};
    };
    Counted dates, month;
    daycalc::ProduceDates(kEarth, {2026, 1, 1}, {2026, 12, 31}, counting, dates);
    EXPECT_EQ(clocks, 2);  // the date before the first, for its change, and the first
    daycalc::ProduceMonth(kEarth, {2026, 6, 1}, counting, month);
    EXPECT_EQ(clocks, 4);
    EXPECT_EQ(dates.rows + month.rows, 2u);
}

// A map's models share the paths of the slow days among its latitudes: each of its rows is still
// the row of a sky made for that latitude alone, bit for bit, on Mercury and Venus at their own
// sunrise, at a longitude, and past the days a map keeps (where the paths are made afresh).
TEST(Tables, AMapOfTheSlowPlanetsHasEachLatitudesOwnRows) {
    struct Kept : TableConsumer {
        void Columns(std::span<const std::string_view>) override {}
        bool Row(std::span<const daycalc::Cell> cells) override {
            rows.push_back({cells[0].number, cells[1].number, cells[2].number});
            return true;
        }
        void Summary(std::span<const daycalc::Named>) override {}
        std::vector<std::array<double, 3>> rows;  // latitude, day, daylight
    };
    for (const char* name : {"mercury", "venus"}) {
        const daycalc::PlanetPreset& p = *daycalc::PlanetNamed(name);
        const double year = rt::ValFromText(p.year);
        daycalc::SkyInputs in{.tilt = rt::ValFromText(p.tilt),
                              .latitude = 0,
                              .solarDay = rt::ValFromText(p.solarDay),
                              .year = year,
                              .eccentricity = p.eccentricity,
                              .perihelion = p.perihelion,
                              .horizon = 0,
                              .step = year / 12,
                              .distance = p.distance,
                              .refraction = p.refraction,
                              .sunrise = true};
        for (const auto& [step, latitudeStep, longitude] :
             {std::tuple{year / 12, 25.0, daycalc::kAnyLongitude},
              {year / 12, 40.0, 90.0},
              {year / double(daycalc::kKeptPaths + 20), 90.0, -30.0}}) {
            in.step = step;
            in.longitude = longitude;
            Kept map;
            ASSERT_FALSE(daycalc::ProduceMap(in, latitudeStep, map));
            const std::vector<double> days = daycalc::RowDays(in);
            ASSERT_EQ(map.rows.size() % days.size(), 0u);
            for (std::size_t i = 0; i < map.rows.size(); ++i) {
                const auto& [latitude, day, daylight] = map.rows[i];
                daycalc::SkyInputs alone = in;
                alone.latitude = latitude;
                const daycalc::SkyRow own = daycalc::SkyModel(alone).RowAt(days[i % days.size()]);
                ASSERT_EQ(day, own.day) << name << " at " << latitude;
                ASSERT_EQ(daylight, own.daylight) << name << " at " << latitude << ", " << day;
            }
        }
    }
}
