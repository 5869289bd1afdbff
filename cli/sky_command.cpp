#include "sky_command.h"

#include <array>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "chart_program.h"
#include "daylight/sky.h"
#include "input_option.h"
#include "output.h"
#include "table.h"

namespace companion {
namespace {

using daycalc::SkyInputs;
using daycalc::SkyRow;
using daycalc::SkySpan;
using daycalc::SkyView;
using rt::TextFromDouble;

constexpr std::array<std::string_view, 9> kColumns = {"day",          "orbit_angle", "declination",
                                                      "daylight",     "civil",       "nautical",
                                                      "astronomical", "night",       "sun"};
constexpr std::array<std::string_view, 4> kMapColumns = {"latitude", "day", "daylight", "sun"};

std::array<std::string, 9> RowTexts(const SkyRow& r) {
    return {TextFromDouble(r.day),
            TextFromDouble(r.orbitAngle),
            TextFromDouble(r.declination),
            TextFromDouble(r.daylight),
            TextFromDouble(r.civil),
            TextFromDouble(r.nautical),
            TextFromDouble(r.astronomical),
            TextFromDouble(r.night),
            std::string(daycalc::SunName(r.sun))};
}

std::array<std::string, 4> MapTexts(double latitude, const SkyRow& r) {
    return {TextFromDouble(latitude), TextFromDouble(r.day), TextFromDouble(r.daylight),
            std::string(daycalc::SunName(r.sun))};
}

// "sunrise", "geometric", or a number of degrees and nothing else.
std::optional<double> HorizonOf(const std::string& text) {
    if (text == "sunrise") return daycalc::kSunriseHorizon;
    if (text == "geometric") return daycalc::kGeometricHorizon;
    return rt::StrictNumber(text);
}

Json InputsJson(const SkyInputs& in) {
    return {{"tilt", TextFromDouble(in.tilt)},
            {"latitude", TextFromDouble(in.latitude)},
            {"solar_day", TextFromDouble(in.solarDay)},
            {"year", TextFromDouble(in.year)},
            {"eccentricity", TextFromDouble(in.eccentricity)},
            {"perihelion", TextFromDouble(in.perihelion)},
            {"horizon", TextFromDouble(in.horizon)},
            {"step", TextFromDouble(in.step)}};
}

Json SpansJson(const std::vector<SkySpan>& spans) {
    Json list = Json::array();
    for (const SkySpan& s : spans) {
        list.push_back({{"start", TextFromDouble(s.start)},
                        {"end", TextFromDouble(s.end)},
                        {"length", TextFromDouble(s.length)}});
    }
    return list;
}

// The summary, each entry a name and a JSON value, for both forms.
Json SummaryJson(const SkyView& v) {
    Json summary = {
        {"shortest_daylight",
         {{"day", TextFromDouble(v.shortestDay)},
          {"daylight", TextFromDouble(v.shortestDaylight)}}},
        {"longest_daylight",
         {{"day", TextFromDouble(v.longestDay)}, {"daylight", TextFromDouble(v.longestDaylight)}}}};
    for (std::size_t i = 0; i < 4; ++i) {
        std::string name(daycalc::kSeasonNames[i]);
        name[name.find(' ')] = '_';
        summary[name] = TextFromDouble(v.seasons[i]);
    }
    summary["polar_day"] = SpansJson(v.polarDays);
    summary["polar_night"] = SpansJson(v.polarNights);
    summary["longest_twilight_only"] = TextFromDouble(v.longestTwilightOnly);
    return summary;
}

void PrintSpans(std::ostream& out, std::string_view name, const std::vector<SkySpan>& spans) {
    if (spans.empty()) out << "# " << name << ": none\n";
    for (const SkySpan& s : spans) {
        out << "# " << name << ": from " << TextFromDouble(s.start) << " to "
            << TextFromDouble(s.end) << ", " << TextFromDouble(s.length)
            << " in the unit of the year\n";
    }
}

void PrintSky(std::ostream& out, const SkyView& v, bool json) {
    if (json) {
        JsonTable table(out, InputsJson(v.inputs));
        for (const SkyRow& r : v.rows) {
            if (!out) return;  // a full disk: stop at once, the caller says so
            table.Row(RowJson(kColumns, RowTexts(r)));
        }
        table.End(SummaryJson(v));
        return;
    }
    PrintCsvLine(out, kColumns);
    for (const SkyRow& r : v.rows) {
        if (!out) return;
        PrintCsvLine(out, RowTexts(r));
    }
    out << "# shortest daylight: " << TextFromDouble(v.shortestDaylight) << " on day "
        << TextFromDouble(v.shortestDay) << '\n'
        << "# longest daylight: " << TextFromDouble(v.longestDaylight) << " on day "
        << TextFromDouble(v.longestDay) << '\n';
    for (std::size_t i = 0; i < 4; ++i) {
        out << "# " << daycalc::kSeasonNames[i] << ": " << TextFromDouble(v.seasons[i]) << '\n';
    }
    PrintSpans(out, "polar day", v.polarDays);
    PrintSpans(out, "polar night", v.polarNights);
    out << "# longest twilight-only stretch: " << TextFromDouble(v.longestTwilightOnly) << '\n';
}

// Every latitude's rows, computed as they are printed.
void PrintMap(std::ostream& out, SkyInputs in, const std::vector<double>& latitudes,
              double latitudeStep, bool json) {
    const std::vector<double> days = daycalc::RowDays(in);
    const auto eachRow = [&](const auto& print) {
        for (const double latitude : latitudes) {
            in.latitude = latitude;
            const daycalc::SkyModel model(in);
            for (const double t : days) {
                if (!out) return;
                print(latitude, model.RowAt(t));
            }
        }
    };
    if (!json) {
        PrintCsvLine(out, kMapColumns);
        eachRow(
            [&](double latitude, const SkyRow& r) { PrintCsvLine(out, MapTexts(latitude, r)); });
        return;
    }
    Json inputs = InputsJson(in);
    inputs.erase("latitude");
    inputs["latitude_step"] = TextFromDouble(latitudeStep);
    JsonTable table(out, inputs);
    eachRow([&](double latitude, const SkyRow& r) {
        table.Row(RowJson(kMapColumns, MapTexts(latitude, r)));
    });
    table.End();
}

std::vector<std::string> ChartArgs(std::string kind, const std::string& path, const SkyInputs& in) {
    std::vector<std::string> args = {std::move(kind), path};
    for (double value : {in.tilt, in.latitude, in.solarDay, in.year, in.eccentricity, in.perihelion,
                         in.horizon, in.step}) {
        args.push_back(rt::ShortestText(value));
    }
    return args;
}

}  // namespace

CLI::App* AddSkyCommand(CLI::App& app, daycalc::DaylightInputs& inputs, SkyRequest& request) {
    CLI::App* sky = app.add_subcommand(
        "sky",
        "The sky as it is: the sun on an elliptical orbit, rising and setting at a horizon that\n"
        "allows for refraction and the sun's disc, and the civil, nautical and astronomical\n"
        "twilights (the sun down to 6, 12 and 18 degrees below the horizon). Time runs from the\n"
        "northern winter solstice in the unit of the year; each row splits the solar day into\n"
        "daylight, the three twilights and the night. After the rows: the shortest and longest\n"
        "daylight, the solstices and equinoxes, the spans of polar day and night, and the\n"
        "longest stretch of twilight without daylight.");
    CLI::Option* latitude = nullptr;
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        if (f.text == &daycalc::DaylightInputs::fromSolstice) continue;
        CLI::Option* option = AddInputOption(*sky, f, inputs);
        if (f.text == &daycalc::DaylightInputs::latitude) latitude = option;
    }
    AddNumberOption(*sky, "--eccentricity", request.eccentricity,
                    "Eccentricity of the orbit, from 0 up to but not including 1");
    AddNumberOption(*sky, "--perihelion", request.perihelion,
                    "Orbit angle of the perihelion, degrees past the winter solstice");
    sky->add_option("--horizon", request.horizon,
                    "Altitude of the sun's centre at sunrise and sunset: sunrise\n"
                    "(-50', for 34' of refraction and a 16' half disc), geometric (0) or degrees")
        ->capture_default_str()
        ->type_name("sunrise|geometric|NUMBER")
        ->check([](const std::string& text) -> std::string {
            if (HorizonOf(text)) return "";
            return "the horizon must be sunrise, geometric or a number of degrees";
        });
    AddNumberOption(*sky, "--step", request.step,
                    "From one row to the next, in the unit of the year");
    CLI::Option* map =
        sky->add_flag("--map", request.map,
                      "Every latitude from -90 to 90 by the latitude step, so no\n"
                      "--latitude: CSV latitude,day,daylight,sun, or JSON rows so named");
    map->excludes(latitude);
    AddNumberOption(*sky, "--latitude-step", request.latitudeStep,
                    "Degrees between a map's latitudes, with --map")
        ->needs(map);
    AddTableOptions(*sky, request.csv, request.json, request.chart, "the sky (or the map)",
                    "Exit status: 0 the sky, 1 a number too large to read, 2 a bad command line "
                    "or\nvalue");
    return sky;
}

int RunSky(const daycalc::DaylightInputs& inputs, const SkyRequest& request, std::ostream& out,
           std::ostream& err) {
    const auto read = daycalc::ReadSkyInputs(inputs, !request.map,
                                             {.tilt = 0,
                                              .latitude = 0,
                                              .solarDay = 0,
                                              .year = 0,
                                              .eccentricity = request.eccentricity,
                                              .perihelion = request.perihelion,
                                              .horizon = *HorizonOf(request.horizon),
                                              .step = request.step});
    if (const auto* problem = std::get_if<daycalc::Problem>(&read)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    const SkyInputs& in = std::get<SkyInputs>(read);
    // Every value is checked before a line is written: nothing goes out half.
    std::vector<std::string> chart;
    if (request.map) {
        const auto latitudes = daycalc::MapLatitudes(in, request.latitudeStep);
        if (const auto* problem = std::get_if<daycalc::Problem>(&latitudes)) {
            return ReportProblem(*problem, request.json, out, err);
        }
        PrintMap(out, in, std::get<std::vector<double>>(latitudes), request.latitudeStep,
                 request.json);
        chart = ChartArgs("map", request.chart, in);
        chart.push_back(rt::ShortestText(request.latitudeStep));
    } else {
        const daycalc::SkyOutcome sky = daycalc::ComputeSky(in);
        if (const auto* problem = std::get_if<daycalc::Problem>(&sky)) {
            return ReportProblem(*problem, request.json, out, err);
        }
        PrintSky(out, std::get<SkyView>(sky), request.json);
        chart = ChartArgs("sky", request.chart, in);
    }
    // The rows come before anything the chart has to say; no chart for rows not written.
    if (!out.flush()) return ReportWriteFailure(err);
    if (request.chart.empty()) return kResults;
    return ReportChart(DrawChart(chart), request.chart, err);
}

}  // namespace companion
