#include "daylight/table.h"

#include <array>
#include <utility>

#include "daylight/sun.h"

namespace daycalc {
namespace {

constexpr std::array<std::string_view, 5> kYearColumns = {"from_solstice", "day_of_year",
                                                          "daylight", "night", "sun"};
constexpr std::array<std::string_view, 13> kSkyColumns = {
    "day",   "orbit_angle", "declination", "daylight", "civil",  "nautical",        "astronomical",
    "night", "sun",         "sunrise",     "noon",     "sunset", "equation_of_time"};
constexpr std::array<std::string_view, 4> kMapColumns = {"latitude", "day", "daylight", "sun"};
// The date, the sky's own, the dawns and dusks and the change from the day before, the clock,
// and the golden and blue hours.
constexpr std::array<std::string_view, 31> kDatedColumns = [] {
    std::array<std::string_view, 31> columns{"date"};
    for (std::size_t i = 0; i < kSkyColumns.size(); ++i) columns[i + 1] = kSkyColumns[i];
    const std::array<std::string_view, 9> after = {
        "civil_dawn",        "civil_dusk", "nautical_dawn", "nautical_dusk", "astronomical_dawn",
        "astronomical_dusk", "change",     "utc_offset",    "zone"};
    for (std::size_t i = 0; i < after.size(); ++i) columns[14 + i] = after[i];
    for (std::size_t i = 0; i < kGoldenAndBlue.size(); ++i) columns[23 + i] = kGoldenAndBlue[i];
    return columns;
}();
// A month at a place as a handout gives it: the civil dawn and dusk around the day.
constexpr std::array<std::string_view, 8> kMonthColumns = {"date",   "dawn", "sunrise",  "noon",
                                                           "sunset", "dusk", "daylight", "change"};

std::array<Cell, 13> SkyCells(const SkyRow& r) {
    return {{{r.day},
             {r.orbitAngle},
             {r.declination},
             {r.daylight},
             {r.civil},
             {r.nautical},
             {r.astronomical},
             {r.night},
             {0, SunName(r.sun)},
             {r.sunrise},
             {r.noon},
             {r.sunset},
             {r.equationOfTime}}};
}

Named::OneSpan OneSpanOf(const std::optional<Span>& span) {
    return {span, " degrees past the winter solstice"};
}

}  // namespace

std::optional<Problem> ProduceYear(const DaylightInputs& inputs, double stepDegrees,
                                   TableConsumer& to) {
    bool begun = false, wanted = true;
    const YearOutcome outcome = StreamYear(inputs, stepDegrees, [&](const YearPoint& p) {
        if (!std::exchange(begun, true)) to.Columns(kYearColumns);
        const std::array<Cell, 5> cells = {
            {{p.fromSolstice}, {p.dayOfYear}, {p.daylight}, {p.night}, {0, SunName(p.sun)}}};
        return wanted = to.Row(cells);
    });
    if (const auto* problem = std::get_if<Problem>(&outcome)) return *problem;
    if (!wanted) return std::nullopt;
    const YearView& v = std::get<YearView>(outcome);
    const std::array<Named, 4> summary = {{
        {"shortest_daylight", "shortest daylight", v.shortestDaylight},
        {"longest_daylight", "longest daylight", v.longestDaylight},
        {"polar_day", "polar day", OneSpanOf(v.polarDay)},
        {"polar_night", "polar night", OneSpanOf(v.polarNight)},
    }};
    to.Summary(summary);
    return std::nullopt;
}

std::optional<Problem> ProduceSky(const SkyInputs& in, TableConsumer& to, Summary wanted) {
    bool begun = false, more = true;
    const SkyOutcome outcome = StreamSky(
        in,
        [&](const SkyRow& r) {
            if (!std::exchange(begun, true)) to.Columns(kSkyColumns);
            return more = to.Row(SkyCells(r));
        },
        wanted);
    if (const auto* problem = std::get_if<Problem>(&outcome)) return *problem;
    if (!more) return std::nullopt;
    if (wanted == Summary::NotWanted) {
        to.Summary({});
        return std::nullopt;
    }
    const SkyView& v = std::get<SkyView>(outcome);
    std::vector<Named> summary = {{"shortest_daylight", "shortest daylight",
                                   Named::DaylightOnDay{v.shortestDaylight, v.shortestDay}},
                                  {"longest_daylight", "longest daylight",
                                   Named::DaylightOnDay{v.longestDaylight, v.longestDay}}};
    for (std::size_t i = 0; i < 4; ++i) {
        summary.push_back({kSeasonMembers[i], kSeasonNames[i], v.seasons[i]});
    }
    summary.push_back({"polar_day", "polar day", v.polarDays});
    summary.push_back({"polar_night", "polar night", v.polarNights});
    summary.push_back(
        {"longest_twilight_only", "longest twilight-only stretch", v.longestTwilightOnly});
    to.Summary(summary);
    return std::nullopt;
}

std::optional<Problem> ProduceSkyDay(const SkyInputs& in, double degrees, TableConsumer& to) {
    if (std::optional<Problem> problem = SkyProblem(in)) return problem;
    const SkyModel model(in);
    const double t = model.DayOfChosenAngle(degrees);
    to.Columns(kSkyColumns);
    if (to.Row(SkyCells(model.RowAt(t)))) to.Summary({});
    return std::nullopt;
}

std::optional<Problem> ProduceMap(const SkyInputs& in, double latitudeStep, TableConsumer& to) {
    const auto latitudes = MapLatitudes(in, latitudeStep);
    if (const auto* problem = std::get_if<Problem>(&latitudes)) return *problem;
    to.Columns(kMapColumns);
    const std::vector<double> days = RowDays(in);
    SkyInputs first = in;
    first.latitude = 0;  // read by none: each latitude is given its own below
    const SkyModel every(first);
    for (const double latitude : std::get<std::vector<double>>(latitudes)) {
        const SkyModel model = every.AtLatitude(latitude);
        for (const double t : days) {
            const SkyRow r = model.RowAt(t);
            const std::array<Cell, 4> cells = {
                {{latitude}, {r.day}, {r.daylight}, {0, SunName(r.sun)}}};
            if (!to.Row(cells)) return std::nullopt;
        }
    }
    to.Summary({});
    return std::nullopt;
}

void ProduceDates(const SkyInputs& place, CivilDate from, CivilDate to, const ClockOf& clockOf,
                  TableConsumer& consumer) {
    consumer.Columns(kDatedColumns);
    bool wanted = true;
    ForEachDate(place, from, to, clockOf, [&](const DatedRow& d) {
        const std::string date = TextOf(d.date);
        std::array<Cell, 31> cells;
        cells[0] = {0, date};
        const std::array<Cell, 13> sky = SkyCells(d.row);
        std::copy(sky.begin(), sky.end(), cells.begin() + 1);
        for (std::size_t i = 0; i < 3; ++i) {
            cells[14 + 2 * i] = {d.row.dawns[i]};
            cells[15 + 2 * i] = {d.row.dusks[i]};
        }
        cells[20] = {d.change};
        cells[21] = {d.clock.utcOffset};
        cells[22] = {0, d.clock.zone};
        // The golden and blue hours on the date's clock.
        const std::array<double, 8> hours = GoldenAndBlue(*d.model, d.noonDay);
        for (std::size_t i = 0; i < hours.size(); ++i) {
            cells[23 + i] = {24 * (d.noonDay + hours[i] - d.midnightDay)};
        }
        return wanted = consumer.Row(cells);
    });
    if (wanted) consumer.Summary({});
}

void ProduceMonth(const SkyInputs& place, CivilDate first, const ClockOf& clockOf,
                  TableConsumer& consumer) {
    consumer.Columns(kMonthColumns);
    CivilDate last = first;
    while (NextDate(last).month == first.month) last = NextDate(last);
    bool wanted = true;
    ForEachDate(place, first, last, clockOf, [&](const DatedRow& d) {
        const std::string date = TextOf(d.date);
        // No sunrise or sunset is said in words: the sun up all day, or down.
        const std::string_view allDay = d.row.sun == Sun::PolarDay     ? "polar day"
                                        : d.row.sun == Sun::PolarNight ? "polar night"
                                                                       : "";
        const std::array<Cell, 8> cells = {{{0, date},
                                            {d.row.dawns[0]},
                                            {d.row.sunrise, allDay},
                                            {d.row.noon},
                                            {d.row.sunset, allDay},
                                            {d.row.dusks[0]},
                                            {d.row.daylight},
                                            {d.change}}};
        return wanted = consumer.Row(cells);
    });
    if (wanted) consumer.Summary({});
}

}  // namespace daycalc
