#include "sun_command.h"

#include <cmath>
#include <memory>
#include <ostream>

#include "chart/charts.h"
#include "daylight/ranges.h"
#include "daylight/sun.h"
#include "input_option.h"
#include "output.h"
#include "status.h"
#include "table.h"

namespace companion {
namespace {

using daycalc::SkyInputs;
using rt::TextFromDouble;

// What the chart says it was drawn for: the place and the day.
std::string ChartSubtitle(const SkyInputs& in, const SkyRequest& request) {
    const std::string place = "latitude " + TextFromDouble(in.latitude) + "°";
    if (!request.date.empty()) return place + ", " + request.date;
    return place + ", the day " + TextFromDouble(request.dayAt) +
           "° past the winter solstice, local mean solar time";
}

// The inputs as the JSON gives them: a date's place and clock, or a day's planet.
Json SunInputs(const SkyInputs& in, const SkyRequest& request) {
    Json inputs = request.Dated() ? DatedInputsJson(in, request) : InputsJson(in);
    inputs.erase("step");
    if (request.Dated()) {
        inputs["date"] = request.date;
    } else {
        inputs["day_at"] = TextFromDouble(request.dayAt);
    }
    inputs["every"] = TextFromDouble(request.every);
    return inputs;
}

}  // namespace

CLI::App* AddSunCommand(CLI::App& app, daycalc::DaylightInputs& inputs, SkyRequest& request) {
    CLI::App* sun = app.add_subcommand(
        "sun",
        "The sun's path through one day: a row every few minutes with the time, the altitude of\n"
        "the sun's centre without air and as the air lifts it (Saemundsson's refraction for the\n"
        "Earth's air at 10 °C and 1010 hPa, scaled by the planet's refraction at its horizon),\n"
        "its azimuth from north through east, and the length of the shadow of a stick 1 m\n"
        "high (none while the sun is down). After the rows: sunrise and sunset with their\n"
        "azimuths, noon with the sun's altitude, azimuth and shadow, and the golden hour (the\n"
        "sun from -4 to 6 degrees) and blue hour (-6 to -4 degrees), morning and evening. The\n"
        "Earth on a date at a place, on its clock (--date), or any planet on the day at an\n"
        "orbit angle (--day-at), in local mean solar time.");
    std::vector<CLI::Option*> orbit;
    AddPlanetOptions(sun, inputs, request, orbit);
    CLI::Option* dayAt =
        AddNumberWithin(*sun, "--day-at", request.dayAt,
                        "The day at this many degrees past the winter solstice (its orbit angle,\n"
                        "0 to 360)",
                        daycalc::RangeOf("day_at"))
            ->default_str("");
    orbit.push_back(dayAt);
    AddNumberOption(*sun, "--longitude", request.longitude,
                    "Degrees east (the meridian 0 has its mean noon at the winter solstice;\n"
                    "with a date, Greenwich's)")
        ->default_str("");
    AddNumberWithin(*sun, "--every", request.every,
                    "Minutes from one row to the next, 1 to 60 (of the solar day's own unit's\n"
                    "sixtieths, on another planet)",
                    daycalc::RangeOf("every"));
    AddClockOption(*sun, request.clock);
    for (CLI::Option* dated : AddDateOptions(
             sun, request, "The Earth on a civil date, YYYY-MM-DD, at the place, on its clock",
             false)) {
        for (CLI::Option* option : orbit) dated->excludes(option);
    }
    AddTableOptions(*sun, request.csv, request.json, request.chart, request.chartWidth,
                    "the sun's path", kSunStatusesSaid);
    return sun;
}

int RunSun(const daycalc::DaylightInputs& inputs, const SkyRequest& request, std::ostream& out,
           std::ostream& err) {
    const bool dated = request.Dated();
    if (!dated && std::isnan(request.dayAt)) {
        err << "daylight-cli: give the day: --date (the Earth) or --day-at (any planet)\n";
        return kBadInput;
    }
    const std::optional<daycalc::ClockOf> clock = ClockOfDates(request, "--date", err);
    if (!clock) return kBadInput;
    const auto read = SkyInputsOf(inputs, request);
    if (const auto* problem = std::get_if<daycalc::Problem>(&read)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    SkyInputs in = std::get<SkyInputs>(read);
    in.step = in.year;  // one day takes no step
    if (std::optional<daycalc::Problem> problem = daycalc::SkyProblem(in)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    std::unique_ptr<chart::SunPathChart> drawing;
    if (!request.chart.empty()) {
        drawing =
            std::make_unique<chart::SunPathChart>(ChartSubtitle(in, request), in.latitude < 0);
        drawing->SetWidth(request.chartWidth);
    }
    TableWriter writer(out, request.json, SunInputs(in, request), drawing.get(),
                       Json(request.notes), CellForm(request.clock, dated ? 24 : in.solarDay));
    if (dated) {
        const daycalc::CivilDate date = *daycalc::DateOf(request.date);
        if (auto problem = daycalc::ProduceSunOnDate(in, date, *clock, request.every, writer)) {
            return ReportProblem(*problem, request.json, out, err);
        }
        if (drawing) {
            drawing->Seasons(daycalc::SeasonPathsOnDate(in, date, *clock, request.every));
        }
    } else {
        if (auto problem = daycalc::ProduceSunOnDay(in, request.dayAt, request.every, writer)) {
            return ReportProblem(*problem, request.json, out, err);
        }
        if (drawing) drawing->Seasons(daycalc::SeasonPathsOnDay(in, request.every));
    }
    if (!out.flush()) return ReportWriteFailure(err);
    if (!drawing) return kResults;
    return ReportChart(request.writeChart(request.chart, drawing->Svg()), request.chart, err);
}

}  // namespace companion
