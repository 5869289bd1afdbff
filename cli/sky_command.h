// The sky command: the real sky's day through the year, with its twilights, for one latitude or
// for every latitude as a map.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "chart/figure.h"
#include "cli/companion.h"
#include "daylight/daylight.h"
#include "daylight/earth_year.h"
#include "daylight/sky.h"
#include "output.h"

namespace companion {

struct SkyRequest {
    double eccentricity = 0;
    double perihelion = 0;
    double distance = 1;
    double refraction = daycalc::kEarthRefraction;
    double declinationTerm = 0;
    std::string horizon = "sunrise";
    double longitude = daycalc::kAnyLongitude;
    std::string date, from, to;  // civil dates of the Earth
    std::string month;           // YYYY-MM: its dates as a handout gives them
    // Whether rows are civil dates: a date, a range or a month.
    bool Dated() const { return !date.empty() || !from.empty() || !month.empty(); }
    double utcOffset = 0;
    bool utcOffsetGiven = false;
    std::string timeZone;     // an IANA name, instead of the offset
    bool earth = true;        // no planet, or the Earth: dates can be given
    bool defaultStep = true;  // no --step given
    double step = 1;
    double rows = std::numeric_limits<double>::quiet_NaN();  // steps a year, instead of the step
    bool csv = false;
    bool json = false;
    bool clock = false;              // times and lengths as people read them
    std::vector<std::string> notes;  // for the JSON's notes, said on the errors already
    std::string chart;
    double chartWidth = chart::kWidth;  // pixels
    ChartWriter writeChart;             // where the chart goes
    bool map = false;
    double latitudeStep = 1;
    // The chosen day marked on the chart, and on a map the chosen latitude; none where NaN.
    double mark = std::numeric_limits<double>::quiet_NaN();
    double markLatitude = std::numeric_limits<double>::quiet_NaN();
    // Only the day at this orbit angle, degrees past the winter solstice; every day where NaN.
    double dayAt = std::numeric_limits<double>::quiet_NaN();
    double every = 10;  // minutes between the sun's rows
    // Sunlight: the flux at the mean distance (NaN: the Earth's thinned by the distance), the
    // year's mean by latitude instead of the days, and the Earth's orbit at a time or through
    // times (thousands of years from 1950, NaN where none is given) at an orbit angle.
    double solarConstant = std::numeric_limits<double>::quiet_NaN();
    bool annual = false;
    double kyr = std::numeric_limits<double>::quiet_NaN();
    double fromKyr = std::numeric_limits<double>::quiet_NaN();
    double toKyr = std::numeric_limits<double>::quiet_NaN();
    double kyrStep = 1;
    double orbitAngle = std::numeric_limits<double>::quiet_NaN();
};

// What the sky and the sun share: the planet's values, the orbit's and (with `air`) the horizon
// (the latitude's option returned, what a date's own year replaces added to `orbit`); the dates
// (with `ranges`, a range and a month too) and their clock, the options that give dates returned;
// the clock of the dates, or none where it cannot be had (said on `err`; `dates` names the options
// that give dates); the sky's inputs as read (the latitude not read for a map, or with
// `everyLatitude`); and the inputs as the JSON gives them.
CLI::Option* AddPlanetOptions(CLI::App* command, daycalc::DaylightInputs& inputs,
                              SkyRequest& request, std::vector<CLI::Option*>& orbit,
                              bool air = true);
// The rows through the year: a step, a number of rows, or one day (its option returned); each
// added to `orbit`, as a date's own replaces them.
CLI::Option* AddStepOptions(CLI::App* command, SkyRequest& request,
                            std::vector<CLI::Option*>& orbit);
std::vector<CLI::Option*> AddDateOptions(CLI::App* command, SkyRequest& request,
                                         const char* dateHelp, bool ranges);
std::optional<daycalc::ClockOf> ClockOfDates(const SkyRequest& request, std::string_view dates,
                                             std::ostream& err);
std::variant<daycalc::SkyInputs, daycalc::Problem> SkyInputsOf(
    const daycalc::DaylightInputs& inputs, const SkyRequest& request, bool everyLatitude = false);
Json InputsJson(const daycalc::SkyInputs& in);
// The same for dates at a place: the orbit and the step are the dates' own, the longitude and the
// clock are given.
Json DatedInputsJson(const daycalc::SkyInputs& place, const SkyRequest& request);

// The rows' step as the request gives it, in place of the inputs': a 360th of a year of few
// solar days unless --step is given, the year over --rows, or the year for one day.
void TakeStep(daycalc::SkyInputs& in, const SkyRequest& request);
// Whether one day was asked for with a chart, which one day has none of (said on `err`).
bool OneDayCharted(const SkyRequest& request, std::ostream& err);

// Adds "sky" to the app; its value options fill the same inputs as the app's own.
CLI::App* AddSkyCommand(CLI::App& app, daycalc::DaylightInputs& inputs, SkyRequest& request);

// Prints the sky, or its map, and draws its chart; returns the exit status.
int RunSky(const daycalc::DaylightInputs& inputs, const SkyRequest& request, std::ostream& out,
           std::ostream& err);

}  // namespace companion
