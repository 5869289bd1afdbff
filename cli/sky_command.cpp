#include "sky_command.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "chart/charts.h"
#include "chart_program.h"
#include "daylight/earth_year.h"
#include "daylight/ranges.h"
#include "daylight/sky.h"
#include "daylight/table.h"
#include "input_option.h"
#include "output.h"
#include "table.h"
#include "time_zone.h"

namespace companion {
namespace {

using daycalc::SkyInputs;
using rt::TextFromDouble;

// The dated rows, one a civil date, each printed as it is made.
int PrintDated(std::ostream& out, const SkyInputs& place, const SkyRequest& request,
               const daycalc::ClockOf& clock, std::ostream& err) {
    const std::optional<daycalc::CivilDate> from =
        !request.month.empty()
            ? daycalc::MonthOf(request.month)
            : daycalc::DateOf(request.date.empty() ? request.from : request.date);
    const std::optional<daycalc::CivilDate> to =
        !request.month.empty() ? from
                               : daycalc::DateOf(request.date.empty() ? request.to : request.date);
    if (!(*from <= *to)) {
        err << "daylight-cli: --to " << request.to << " is before --from " << request.from << '\n';
        return kBadInput;
    }
    Json inputs = DatedInputsJson(place, request);
    if (request.month.empty()) {
        inputs["from"] = daycalc::TextOf(*from);
        inputs["to"] = daycalc::TextOf(*to);
    } else {
        inputs["month"] = request.month;
    }
    // The calendar is the Gregorian one carried back, which a date before its start may not be.
    Json notes = request.notes;
    if (!(daycalc::kGregorianStart <= *from)) {
        const std::string note =
            daycalc::Filled(daycalc::HintTextOf(daycalc::HintId::GregorianCarriedBack).hint,
                            {{"date", daycalc::TextOf(*from)}});
        err << "daylight-cli: note: " << note << '\n';
        notes.push_back(note);
    }
    TableWriter writer(out, request.json, inputs, nullptr, notes,
                       CellForm(request.clock, place.solarDay));
    if (request.month.empty()) {
        daycalc::ProduceDates(place, *from, *to, clock, writer);
    } else {
        daycalc::ProduceMonth(place, *from, clock, writer);
    }
    return out.flush() ? kResults : ReportWriteFailure(err);
}

// The orbit's and the horizon's plain numbers, in the order the help lists them; `orbit` where a
// date's own year replaces the value.
struct SkyNumber {
    const char* name;
    double SkyRequest::*value;
    const char* help;
    bool orbit;
    bool air;  // of the horizon, which sunlight at the top of the air has none of
};
constexpr SkyNumber kSkyNumbers[] = {
    {"--eccentricity", &SkyRequest::eccentricity,
     "Eccentricity of the orbit, from 0 up to but not including 1", true, false},
    {"--perihelion", &SkyRequest::perihelion,
     "Orbit angle of the perihelion, degrees past the winter solstice", true, false},
    {"--distance", &SkyRequest::distance,
     "Mean distance from the sun in AU (the sun's disc shrinks with it)", false, false},
    {"--refraction", &SkyRequest::refraction,
     "Refraction of the air at the horizon, minutes of arc (0 to 600)", false, true},
    {"--declination-term", &SkyRequest::declinationTerm,
     "Degrees an almanac adds to the sun's declination times sin Ls, the orbit\n"
     "angle from the spring equinox, for its planetographic latitudes (-5 to\n"
     "5; Mars 0.25, as Mars24 gives it)",
     false, false},
};

}  // namespace

CLI::Option* AddStepOptions(CLI::App* sky, SkyRequest& request, std::vector<CLI::Option*>& orbit) {
    CLI::Option* step =
        AddNumberOption(*sky, "--step", request.step,
                        "From one row to the next, in the unit of the year (a year of fewer than\n"
                        "100 solar days: a 360th of it)");
    orbit.push_back(step);
    CLI::Option* rows =
        AddNumberWithin(*sky, "--rows", request.rows,
                        "Steps through the year instead of --step: the step is the year over\n"
                        "this many, from 1 to 1000000",
                        daycalc::RangeOf("rows"))
            ->default_str("")
            ->excludes(step);
    orbit.push_back(rows);
    CLI::Option* dayAt =
        AddNumberWithin(*sky, "--day-at", request.dayAt,
                        "Only the day at this many degrees past the winter solstice (its orbit\n"
                        "angle, 0 to 360): its row, with no summary and no chart",
                        daycalc::RangeOf("day_at"))
            ->default_str("")
            ->excludes(step)
            ->excludes(rows);
    orbit.push_back(dayAt);
    return dayAt;
}

Json InputsJson(const SkyInputs& in) {
    // In the order the JSON gives them; the horizon's place is kept for its word.
    const std::pair<const char*, double> numbers[] = {{"tilt", in.tilt},
                                                      {"latitude", in.latitude},
                                                      {"solar_day", in.solarDay},
                                                      {"year", in.year},
                                                      {"eccentricity", in.eccentricity},
                                                      {"perihelion", in.perihelion},
                                                      {"horizon", in.horizon},
                                                      {"step", in.step},
                                                      {"distance", in.distance},
                                                      {"refraction", in.refraction}};
    Json inputs = Json::object();
    for (const auto& [name, value] : numbers) inputs[name] = TextFromDouble(value);
    if (in.sunrise) inputs["horizon"] = "sunrise";
    if (in.declinationTerm != 0) inputs["declination_term"] = TextFromDouble(in.declinationTerm);
    if (!std::isnan(in.longitude)) inputs["longitude"] = TextFromDouble(in.longitude);
    return inputs;
}

Json DatedInputsJson(const SkyInputs& place, const SkyRequest& request) {
    Json inputs = InputsJson(place);
    for (const char* dropped : {"tilt", "year", "eccentricity", "perihelion", "step"}) {
        inputs.erase(dropped);
    }
    inputs["longitude"] = TextFromDouble(std::isnan(place.longitude) ? 0 : place.longitude);
    if (request.timeZone.empty()) {
        inputs["utc_offset"] = TextFromDouble(request.utcOffset);
    } else {
        inputs["time_zone"] = request.timeZone;
    }
    return inputs;
}

// The planet's values, the orbit's and the horizon; returns the latitude's option, and adds to
// `orbit` what a date's own year replaces.
CLI::Option* AddPlanetOptions(CLI::App* sky, daycalc::DaylightInputs& inputs, SkyRequest& request,
                              std::vector<CLI::Option*>& orbit, bool air) {
    CLI::Option* latitude = nullptr;
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        if (f.text == &daycalc::DaylightInputs::fromSolstice) continue;
        CLI::Option* option = AddInputOption(*sky, f, inputs);
        if (f.text == &daycalc::DaylightInputs::latitude) latitude = option;
        if (f.text != &daycalc::DaylightInputs::latitude) orbit.push_back(option);
    }
    for (const SkyNumber& n : kSkyNumbers) {
        if (n.air && !air) continue;
        CLI::Option* option = AddNumberOption(*sky, n.name, request.*n.value, n.help);
        if (n.orbit) orbit.push_back(option);
    }
    if (!air) return latitude;
    sky->add_option("--horizon", request.horizon,
                    "Altitude of the sun's centre at sunrise and sunset: sunrise (the\n"
                    "planet's own: the upper limb at its refraction, the half disc 16'/r at\n"
                    "the distance r in AU; Earth 34' of refraction, Mars, Mercury and Pluto\n"
                    "none, Venus and the giants none either, as they show no horizon and the\n"
                    "level stands for it), geometric (0) or degrees")
        ->capture_default_str()
        ->type_name("sunrise|geometric|NUMBER")
        ->check([](const std::string& text) -> std::string {
            if (daycalc::HorizonOf(text)) return "";
            return std::string(daycalc::kHorizonForm);
        });
    return latitude;
}

// The dates of the Earth (with `ranges`, a range of dates and a month too) and their clock;
// returns the options that give dates.
std::vector<CLI::Option*> AddDateOptions(CLI::App* sky, SkyRequest& request, const char* dateHelp,
                                         bool ranges) {
    const auto dateCheck = [](const std::string& text) -> std::string {
        if (daycalc::DateOf(text)) return "";
        return "not a date from 1000-01-01 to 3000-12-31 as YYYY-MM-DD: " + Quoted(text);
    };
    CLI::Option* date =
        sky->add_option("--date", request.date, dateHelp)->type_name("DATE")->check(dateCheck);
    std::vector<CLI::Option*> dates = {date};
    if (ranges) {
        CLI::Option* from = sky->add_option("--from", request.from, "The first date of a range")
                                ->type_name("DATE")
                                ->check(dateCheck);
        CLI::Option* to =
            sky->add_option("--to", request.to, "The last date of a range, with --from")
                ->type_name("DATE")
                ->check(dateCheck);
        CLI::Option* month =
            sky->add_option(
                   "--month", request.month,
                   "The Earth through a month, YYYY-MM, as a handout gives it: a row a\n"
                   "date with its civil dawn, sunrise, noon, sunset, civil dusk, daylight\n"
                   "and change from the day before (polar day and night in words)")
                ->type_name("MONTH")
                ->check([](const std::string& text) -> std::string {
                    if (daycalc::MonthOf(text)) return "";
                    return "not a month from 1000-01 to 3000-12 as YYYY-MM: " + Quoted(text);
                });
        from->needs(to);
        to->needs(from);
        date->excludes(from)->excludes(to)->excludes(month);
        month->excludes(from)->excludes(to);
        dates.push_back(from);
        dates.push_back(month);
    }
    sky->add_option_function<std::string>(
           "--utc-offset",
           [&request](const std::string& text) {
               request.utcOffset = *daycalc::UtcOffsetOf(text);
               request.utcOffsetGiven = true;
           },
           "Hours the clock is ahead of UTC, with a date, from -14 to 14: a number (5.5)\n"
           "or hours and minutes (5:30, +05:30, -03:30)")
        ->default_str("0")
        ->type_name("OFFSET")
        ->check([](const std::string& text) -> std::string {
            if (daycalc::UtcOffsetOf(text)) return "";
            return std::string(daycalc::kUtcOffsetForm) + ": " + Quoted(text);
        });
    CLI::Option* offset = sky->get_option("--utc-offset");
    sky->add_option("--time-zone", request.timeZone,
                    "The clock of a time zone, with a date: its IANA name (Europe/Oslo), each\n"
                    "date on the clock in force at its noon, summer time included")
        ->type_name("NAME")
        ->excludes(offset);
    return dates;
}

// The clock of a request's dates, or none where the request cannot be run (why is said): dates
// that are not the Earth's, a clock without dates (`dates` names the options that give them),
// a zone not known or an offset out of range.
std::optional<daycalc::ClockOf> ClockOfDates(const SkyRequest& request, std::string_view dates,
                                             std::ostream& err) {
    const bool dated = request.Dated();
    if (dated && !request.earth) {
        err << "daylight-cli: dates are the Earth's: give --planet earth, or no planet\n";
        return std::nullopt;
    }
    if ((!request.timeZone.empty() || request.utcOffsetGiven) && !dated) {
        err << "daylight-cli: " << (request.timeZone.empty() ? "a UTC offset" : "a time zone")
            << " goes with a date: give " << dates << '\n';
        return std::nullopt;
    }
    // The dates' clock: a zone's, or a fixed offset's.
    const std::optional<daycalc::ClockOf> clock = request.timeZone.empty()
                                                      ? daycalc::FixedClock(request.utcOffset)
                                                      : ZoneClock(request.timeZone);
    if (!clock) {
        err << "daylight-cli: "
            << (HasTimeZones() ? "no time zone is named " + Quoted(request.timeZone) +
                                     ": give an IANA name such as Europe/Oslo"
                               : std::string("this daylight-cli was built without time zones: "
                                             "give --utc-offset"))
            << '\n';
        return std::nullopt;
    }
    if (const daycalc::ValueRange& offset = daycalc::RangeOf("utc_offset");
        dated && !offset.Holds(request.utcOffset)) {
        err << "daylight-cli: " << offset.reason << '\n';
        return std::nullopt;
    }
    return clock;
}

std::variant<SkyInputs, daycalc::Problem> SkyInputsOf(const daycalc::DaylightInputs& inputs,
                                                      const SkyRequest& request,
                                                      bool everyLatitude) {
    auto read = daycalc::ReadSkyInputs(
        request.Dated() ? daycalc::DaylightInputs{.latitude = inputs.latitude} : inputs,
        !request.map && !everyLatitude,
        {.tilt = 0,
         .latitude = 0,
         .solarDay = 0,
         .year = 0,
         .eccentricity = request.eccentricity,
         .perihelion = request.perihelion,
         .horizon = *daycalc::HorizonOf(request.horizon),
         .step = request.step,
         .distance = request.distance,
         .refraction = request.refraction,
         .sunrise = request.horizon == "sunrise",
         .declinationTerm = request.declinationTerm,
         .longitude = request.longitude});
    if (auto* in = std::get_if<SkyInputs>(&read); in && in->sunrise) {
        in->horizon = daycalc::SunriseHorizon(in->refraction, in->distance);
    }
    return read;
}

void TakeStep(SkyInputs& in, const SkyRequest& request) {
    // A year of few solar days takes a 360th of it for a step unless one is given.
    if (request.defaultStep && in.year < daycalc::kShortYear && in.year > 0)
        in.step = in.year / 360;
    if (!std::isnan(request.rows)) in.step = in.year / request.rows;
    // One day at an angle takes no step: none can be too small for its year.
    if (!std::isnan(request.dayAt)) in.step = in.year;
}

bool OneDayCharted(const SkyRequest& request, std::ostream& err) {
    if (std::isnan(request.dayAt) || request.chart.empty()) return false;
    err << "daylight-cli: one day has no chart; give --chart without --day-at\n";
    return true;
}

CLI::App* AddSkyCommand(CLI::App& app, daycalc::DaylightInputs& inputs, SkyRequest& request) {
    CLI::App* sky = app.add_subcommand(
        "sky",
        "The sky as it is: the sun on an elliptical orbit, rising and setting at the planet's\n"
        "own horizon, followed through each day, and the civil, nautical and astronomical\n"
        "twilights (the sun down to 6, 12 and 18 degrees below the horizon). Time runs from the\n"
        "northern winter solstice in the unit of the year, counted in solar days; each row is\n"
        "the solar day around a noon, split into daylight, the three twilights and the night,\n"
        "with sunrise, noon and sunset in local mean solar time (in the unit of the solar day\n"
        "after local mean midnight; none in polar day or night) and the equation of time\n"
        "(apparent less mean solar time). After the rows: the shortest and longest daylight,\n"
        "the solstices and equinoxes, the spans of polar day and night, and the longest\n"
        "stretch of twilight without daylight. For the Earth, --date or --from and --to give\n"
        "a row a civil date, on that year's orbit: the solar day whose noon falls on the date\n"
        "on the clock, its times in hours after the date's midnight (a sunset after midnight\n"
        "past 24, a sunrise before it below 0).");
    std::vector<CLI::Option*> orbit;  // what a date's own year replaces
    CLI::Option* latitude = AddPlanetOptions(sky, inputs, request, orbit);
    CLI::Option* dayAt = AddStepOptions(sky, request, orbit);
    AddNumberOption(*sky, "--longitude", request.longitude,
                    "Degrees east: each row the day there whose noon is nearest its day\n"
                    "(the meridian 0 has its mean noon at the winter solstice; with a date,\n"
                    "Greenwich's)")
        ->default_str("");
    CLI::Option* map =
        sky->add_flag("--map", request.map,
                      "Every latitude from -90 to 90 by the latitude step, so no\n"
                      "--latitude: CSV latitude,day,daylight,sun, or JSON rows so named");
    map->excludes(latitude)->excludes(dayAt);
    AddNumberOption(*sky, "--latitude-step", request.latitudeStep,
                    "Degrees between a map's latitudes, with --map")
        ->needs(map);
    AddMarkOption(*sky, request.mark);
    AddClockOption(*sky, request.clock);
    AddNumberWithin(*sky, "--mark-latitude", request.markLatitude,
                    "Degrees of latitude to mark on a map's chart as the chosen one,\n-90 to 90",
                    daycalc::RangeOf("mark_latitude"))
        ->default_str("")
        ->needs(map);
    const char* dateHelp =
        "The Earth on a civil date, YYYY-MM-DD, of the Gregorian calendar\n"
        "(carried back before 1582-10-15): a row for the day";
    for (CLI::Option* dated : AddDateOptions(sky, request, dateHelp, true)) {
        dated->excludes(map);
        for (CLI::Option* option : orbit) dated->excludes(option);
    }
    AddTableOptions(*sky, request.csv, request.json, request.chart, request.chartWidth,
                    "the sky (or the map)", kSkyStatusesSaid);
    return sky;
}

int RunSky(const daycalc::DaylightInputs& inputs, const SkyRequest& request, std::ostream& out,
           std::ostream& err) {
    const bool dated = request.Dated();
    const std::optional<daycalc::ClockOf> clock =
        ClockOfDates(request, "--date, --from and --to, or --month", err);
    if (!clock) return kBadInput;
    if (dated && !request.chart.empty()) {
        err << "daylight-cli: dates have no chart; give --chart without them\n";
        return kBadInput;
    }
    if (OneDayCharted(request, err)) return kBadInput;

    const auto read = SkyInputsOf(inputs, request);
    if (const auto* problem = std::get_if<daycalc::Problem>(&read)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    SkyInputs in = std::get<SkyInputs>(read);
    TakeStep(in, request);
    if (dated) {
        if (std::optional<daycalc::Problem> problem = daycalc::SkyProblem(in)) {
            return ReportProblem(*problem, request.json, out, err);
        }
        return PrintDated(out, in, request, *clock, err);
    }
    // Every value is checked before a line is written: nothing goes out half. A chart takes the
    // same rows as they are printed.
    std::unique_ptr<chart::Chart> drawing;
    if (!request.chart.empty()) {
        drawing = request.map ? std::unique_ptr<chart::Chart>(std::make_unique<chart::MapChart>(in))
                              : std::make_unique<chart::SkyChart>(in);
        drawing->SetWidth(request.chartWidth);
        drawing->MarkDay(request.mark);
        drawing->MarkLatitude(request.markLatitude);
    }
    Json asGiven = InputsJson(in);
    if (request.map) {
        asGiven.erase("latitude");
        asGiven["latitude_step"] = TextFromDouble(request.latitudeStep);
    }
    if (!std::isnan(request.dayAt)) {
        asGiven.erase("step");
        asGiven["day_at"] = TextFromDouble(request.dayAt);
    }
    TableWriter writer(out, request.json, asGiven, drawing.get(), Json(request.notes),
                       CellForm(request.clock, in.solarDay));
    const std::optional<daycalc::Problem> problem =
        request.map                  ? daycalc::ProduceMap(in, request.latitudeStep, writer)
        : !std::isnan(request.dayAt) ? daycalc::ProduceSkyDay(in, request.dayAt, writer)
                                     : daycalc::ProduceSky(in, writer);
    if (problem) return ReportProblem(*problem, request.json, out, err);
    // The rows come before anything the chart has to say; no chart for rows not written.
    if (!out.flush()) return ReportWriteFailure(err);
    if (!drawing) return kResults;
    return ReportChart(request.writeChart(request.chart, drawing->Svg()), request.chart, err);
}

}  // namespace companion
