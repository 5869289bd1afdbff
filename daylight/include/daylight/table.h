// The year, the sky, the map and the Earth's dates as one kind of table, handed over a row at a
// time. Each is made by one producer, which names its columns, hands every row to a consumer as
// soon as it is made and then gives its summary as named values; CSV, JSON, the charts and the
// page consume the same tables, so a table of any length takes the memory of one row.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "daylight/earth_year.h"
#include "daylight/sky.h"
#include "daylight/year.h"

namespace daycalc {

// A cell of a row: a word where `word` is not empty, else a number (NaN where there is none: no
// sunrise that day).
struct Cell {
    double number = 0;
    std::string_view word = {};
};

// One value of a summary, with its name as a member of a record and as words.
struct Named {
    // The daylight at its shortest or longest and the day it falls on.
    struct DaylightOnDay {
        double daylight, day;
    };
    // A stretch that is there or not (the year's polar day), its start and end in `unit`.
    struct OneSpan {
        std::optional<Span> span;
        std::string_view unit;
    };
    std::string_view name;   // "shortest_daylight"
    std::string_view label;  // "shortest daylight"
    std::variant<double, DaylightOnDay, OneSpan, std::vector<Span>> value;
};

// What a table goes to: its columns first, then each row, then its summary (not after a row that
// was not wanted).
class TableConsumer {
  public:
    virtual ~TableConsumer() = default;
    virtual void Columns(std::span<const std::string_view> names) = 0;
    // The cells in the order of the columns; false when no more rows are wanted (an output that
    // failed), which ends the table there.
    virtual bool Row(std::span<const Cell> cells) = 0;
    virtual void Summary(std::span<const Named> values) = 0;
};

// The producers. Each checks its inputs before anything is handed over, and returns the problem
// where they cannot be used.
// The year from the boxes' texts, a point every `stepDegrees`.
std::optional<Problem> ProduceYear(const DaylightInputs& inputs, double stepDegrees,
                                   TableConsumer& to);
// The sky through the year at one latitude, with its summary unless it is not wanted (then an
// empty one).
std::optional<Problem> ProduceSky(const SkyInputs& in, TableConsumer& to,
                                  Summary summary = Summary::Wanted);
// The one day at an orbit angle, in degrees past the winter solstice from 0 to 360: the sky's
// row for it; an empty summary.
std::optional<Problem> ProduceSkyDay(const SkyInputs& in, double degrees, TableConsumer& to);
// Daylight at every latitude by the step and every day: latitude, day, daylight, sun; no summary.
std::optional<Problem> ProduceMap(const SkyInputs& in, double latitudeStep, TableConsumer& to);
// The sky of each civil date at a place on the Earth (see ForEachDate): the date, the sky's
// columns, then the clock's offset from UTC in hours and its zone; no summary.
void ProduceDates(const SkyInputs& place, CivilDate from, CivilDate to, const ClockOf& clockOf,
                  TableConsumer& consumer);
// The month that begins on `first` at the place, as a handout gives it: date, civil dawn, sunrise,
// noon, sunset, civil dusk, daylight and its change from the day before, each as in
// ProduceDates; "polar day" or "polar night" for the sunrise and sunset that do not happen.
void ProduceMonth(const SkyInputs& place, CivilDate first, const ClockOf& clockOf,
                  TableConsumer& consumer);

}  // namespace daycalc
