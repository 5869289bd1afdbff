// The year's chart is drawn by a program of its own, daylight-chart, so that the companion loads
// Qt's libraries only when it is asked for a chart.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "daylight/daylight.h"

namespace companion {

// Offers --chart FILE.svg or FILE.png on the year command, where this build draws charts, and
// says whether it does.
bool AddChartOption(CLI::App& year, std::string& path);

// Runs daylight-chart for the year of the inputs at the step; says why no chart was written, or
// nothing. It is looked for beside the running program, then where it is installed.
std::string DrawYearChart(const daycalc::DaylightInputs& inputs, double step,
                          const std::string& path);

}  // namespace companion
