#include "insolation_command.h"

#include <cmath>
#include <memory>
#include <ostream>

#include "chart/charts.h"
#include "daylight/insolation.h"
#include "daylight/ranges.h"
#include "input_option.h"
#include "output.h"
#include "status.h"
#include "table.h"

namespace companion {
namespace {

using daycalc::SkyInputs;
using rt::TextFromDouble;

bool Through(const SkyRequest& request) { return !std::isnan(request.fromKyr); }

// The Earth's orbit through time at a latitude and an orbit angle.
int PrintHistory(const daycalc::DaylightInputs& inputs, const SkyRequest& request,
                 double solarConstant, std::ostream& out, std::ostream& err) {
    // Only the latitude is read: the time gives the orbit.
    const auto read = SkyInputsOf(inputs, request);
    if (const auto* problem = std::get_if<daycalc::Problem>(&read)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    const daycalc::History history{.latitude = std::get<SkyInputs>(read).latitude,
                                   .orbitAngle = request.orbitAngle,
                                   .fromKyr = request.fromKyr,
                                   .toKyr = request.toKyr,
                                   .stepKyr = request.kyrStep,
                                   .solarConstant = solarConstant};
    std::unique_ptr<chart::LineChart> drawing;
    if (!request.chart.empty()) {
        drawing = std::make_unique<chart::LineChart>(chart::HistoryChart(history));
        drawing->SetWidth(request.chartWidth);
    }
    const std::pair<const char*, double> given[] = {
        {"latitude", history.latitude}, {"orbit_angle", history.orbitAngle},
        {"from_kyr", history.fromKyr},  {"to_kyr", history.toKyr},
        {"kyr_step", history.stepKyr},  {"solar_constant", solarConstant}};
    Json asGiven = Json::object();
    for (const auto& [name, value] : given) asGiven[name] = TextFromDouble(value);
    TableWriter writer(out, request.json, asGiven, drawing.get(), Json(request.notes));
    if (auto problem = daycalc::ProduceInsolationHistory(history, writer)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    if (!out.flush()) return ReportWriteFailure(err);
    if (!drawing) return kResults;
    return ReportChart(request.writeChart(request.chart, drawing->Svg()), request.chart, err);
}

// The numbers of sunlight and of the Earth's orbit through time, each within its range, in the
// order the help lists them.
struct SunlightNumber {
    const char* name;
    double SkyRequest::*value;
    const char* help;
    std::string_view range;
};
constexpr SunlightNumber kSunlightNumbers[] = {
    {"--solar-constant", &SkyRequest::solarConstant,
     "The flux of sunlight at the mean distance, W/m² (the Earth's 1361; a\n"
     "planet's 1361/a^2 at its mean distance a in AU, the default)",
     "solar_constant"},
    {"--kyr", &SkyRequest::kyr,
     "The Earth's orbit at this many thousand years from 1950 (-1000 to 100):\n"
     "its eccentricity, tilt and perihelion",
     "kyr"},
    {"--from-kyr", &SkyRequest::fromKyr,
     "The Earth through time from this many thousand years from 1950\n"
     "(-1000 to 100), with --to-kyr and --orbit-angle",
     "kyr"},
    {"--to-kyr", &SkyRequest::toKyr, "The last time, thousands of years from 1950", "kyr"},
    {"--kyr-step", &SkyRequest::kyrStep, "Thousands of years from one row to the next", "kyr_step"},
    {"--orbit-angle", &SkyRequest::orbitAngle,
     "The day through time, degrees past the winter solstice (0 to 360;\n"
     "180 the northern summer solstice)",
     "orbit_angle"},
};

}  // namespace

CLI::App* AddInsolationCommand(CLI::App& app, daycalc::DaylightInputs& inputs,
                               SkyRequest& request) {
    CLI::App* ins = app.add_subcommand(
        "insolation",
        "Sunlight at the top of the air: the daily mean flux on a level surface, W/m², the\n"
        "integral over the solar day of the flux S/r^2 on the sun's declination and distance\n"
        "at the day's noon (polar day and night as its limits), S the flux at the mean\n"
        "distance. Through the year at a latitude (rows as the sky's: day, orbit_angle,\n"
        "declination, distance in units of the mean, insolation, noon_flux; then the year's\n"
        "mean), every latitude as a map (--map), or the year's mean by latitude (--annual,\n"
        "then the globe's mean, S/(4 sqrt(1-e^2))). The Earth's orbit at a time (--kyr), or\n"
        "through times (--from-kyr, --to-kyr) at an orbit angle: a row a step with kyr,\n"
        "eccentricity, obliquity, perihelion and insolation, from the series of Berger (1978).");
    std::vector<CLI::Option*> orbit;
    AddPlanetOptions(ins, inputs, request, orbit, false);
    CLI::Option* dayAt = AddStepOptions(ins, request, orbit);
    CLI::Option* map = ins->add_flag("--map", request.map,
                                     "Every latitude from -90 to 90 by the latitude step, so no\n"
                                     "--latitude: CSV latitude,day,insolation");
    CLI::Option* annual = ins->add_flag(
        "--annual", request.annual,
        "The year's mean at every latitude by the latitude step: CSV latitude,insolation");
    map->excludes(annual)->excludes(dayAt);
    annual->excludes(dayAt);
    // The year's mean takes no steps through the year.
    for (CLI::Option* option : orbit) {
        if (option->get_name() == "--step" || option->get_name() == "--rows")
            annual->excludes(option);
    }
    AddNumberOption(*ins, "--latitude-step", request.latitudeStep,
                    "Degrees between the latitudes of --map or --annual");
    for (const SunlightNumber& n : kSunlightNumbers) {
        CLI::Option* option =
            AddNumberWithin(*ins, n.name, request.*n.value, n.help, daycalc::RangeOf(n.range));
        if (std::isnan(request.*n.value)) option->default_str("");
    }
    CLI::Option* kyr = ins->get_option("--kyr");
    CLI::Option* from = ins->get_option("--from-kyr");
    CLI::Option* to = ins->get_option("--to-kyr");
    CLI::Option* step = ins->get_option("--kyr-step");
    CLI::Option* angle = ins->get_option("--orbit-angle");
    from->needs(to)->needs(angle);
    to->needs(from);
    step->needs(from);
    angle->needs(from);
    // The time gives the orbit, the tilt with it.
    for (CLI::Option* option : orbit) {
        const std::string name = option->get_name();
        if (name == "--tilt" || name == "--eccentricity" || name == "--perihelion") {
            kyr->excludes(option);
        }
    }
    for (CLI::Option* option : orbit) from->excludes(option);
    from->excludes(map)->excludes(annual)->excludes(kyr);
    // The chosen day is marked through the year and on the map.
    CLI::Option* mark = AddMarkOption(*ins, request.mark);
    from->excludes(mark);
    annual->excludes(mark);
    AddTableOptions(*ins, request.csv, request.json, request.chart, request.chartWidth,
                    "the sunlight (the map, the year's mean or the times)",
                    kInsolationStatusesSaid);
    return ins;
}

int RunInsolation(const daycalc::DaylightInputs& inputs, const SkyRequest& request,
                  std::ostream& out, std::ostream& err) {
    const bool earthOrbit = !std::isnan(request.kyr) || Through(request);
    if (earthOrbit && !request.earth) {
        err << "daylight-cli: the orbit through time is the Earth's: give --planet earth, or no "
               "planet\n";
        return kBadInput;
    }
    if (OneDayCharted(request, err)) return kBadInput;
    const double solarConstant = !std::isnan(request.solarConstant)
                                     ? request.solarConstant
                                     : daycalc::SolarConstantAt(request.distance);
    if (Through(request)) return PrintHistory(inputs, request, solarConstant, out, err);

    const auto read = SkyInputsOf(inputs, request, request.annual);
    if (const auto* problem = std::get_if<daycalc::Problem>(&read)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    SkyInputs in = std::get<SkyInputs>(read);
    if (!std::isnan(request.kyr)) {
        const daycalc::EarthOrbit o = daycalc::EarthOrbitAt(request.kyr);
        in.tilt = o.obliquity, in.eccentricity = o.eccentricity, in.perihelion = o.perihelion;
    }
    TakeStep(in, request);
    std::unique_ptr<chart::Chart> drawing;
    if (!request.chart.empty()) {
        drawing =
            request.map ? std::unique_ptr<chart::Chart>(
                              std::make_unique<chart::MapChart>(in, solarConstant))
            : request.annual
                ? std::make_unique<chart::LineChart>(
                      chart::AnnualInsolationChart(in, solarConstant))
                : std::make_unique<chart::LineChart>(chart::InsolationYearChart(in, solarConstant));
        drawing->SetWidth(request.chartWidth);
        drawing->MarkDay(request.mark);
    }
    Json asGiven = InputsJson(in);
    for (const char* air : {"horizon", "refraction"}) asGiven.erase(air);
    asGiven["solar_constant"] = TextFromDouble(solarConstant);
    if (!std::isnan(request.kyr)) asGiven["kyr"] = TextFromDouble(request.kyr);
    if (request.map || request.annual) {
        asGiven.erase("latitude");
        asGiven["latitude_step"] = TextFromDouble(request.latitudeStep);
    }
    if (request.annual || !std::isnan(request.dayAt)) asGiven.erase("step");
    if (!std::isnan(request.dayAt)) asGiven["day_at"] = TextFromDouble(request.dayAt);
    TableWriter writer(out, request.json, asGiven, drawing.get(), Json(request.notes));
    const std::optional<daycalc::Problem> problem =
        request.map ? daycalc::ProduceInsolationMap(in, solarConstant, request.latitudeStep, writer)
        : request.annual
            ? daycalc::ProduceAnnualInsolation(in, solarConstant, request.latitudeStep, writer)
        : !std::isnan(request.dayAt)
            ? daycalc::ProduceInsolationDay(in, solarConstant, request.dayAt, writer)
            : daycalc::ProduceInsolation(in, solarConstant, writer);
    if (problem) return ReportProblem(*problem, request.json, out, err);
    if (!out.flush()) return ReportWriteFailure(err);
    if (!drawing) return kResults;
    return ReportChart(request.writeChart(request.chart, drawing->Svg()), request.chart, err);
}

}  // namespace companion
