// Every table is handed over as it is made: a consumer that wants one row gets that row, before
// any other is computed, and neither more rows nor a summary.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "daylight/table.h"

namespace {

using daycalc::TableConsumer;

class FirstRowOnly : public TableConsumer {
  public:
    void Columns(std::span<const std::string_view> names) override { columns = names.size(); }
    bool Row(std::span<const daycalc::Cell> cells) override {
        ++rows;
        cellsInFirstRow = cells.size();
        return false;
    }
    void Summary(std::span<const daycalc::Named>) override { summary = true; }
    std::size_t columns = 0, rows = 0, cellsInFirstRow = 0;
    bool summary = false;
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
             daycalc::ProduceDates(kEarth, {2026, 1, 1}, {2026, 12, 31}, 0, to);
         }},
    };
    for (const Producer& p : producers) {
        FirstRowOnly consumer;
        p.produce(consumer);
        EXPECT_EQ(consumer.rows, 1u) << p.name;
        EXPECT_GT(consumer.columns, 0u) << p.name;
        EXPECT_EQ(consumer.cellsInFirstRow, consumer.columns) << p.name;
        EXPECT_FALSE(consumer.summary) << p.name;
    }
}

}  // namespace
