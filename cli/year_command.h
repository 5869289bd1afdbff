// The year command: a row for every point of the year, a summary, and on request a chart.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <limits>
#include <string>
#include <vector>

#include "chart/figure.h"
#include "cli/companion.h"
#include "daylight/daylight.h"

namespace companion {

struct YearRequest {
    double step = 1;
    bool csv = false;
    bool json = false;
    bool clock = false;              // times and lengths as people read them
    std::vector<std::string> notes;  // for the JSON's notes, said on the errors already
    std::string chart;
    double chartWidth = chart::kWidth;  // pixels
    // Degrees past the winter solstice marked on the chart as the chosen day; none where NaN.
    double mark = std::numeric_limits<double>::quiet_NaN();
    ChartWriter writeChart;  // where the chart goes
};

// Adds "year" to the app; its value options fill the same inputs as the app's own.
CLI::App* AddYearCommand(CLI::App& app, daycalc::DaylightInputs& inputs, YearRequest& request);

// Prints the year and writes its chart; returns the exit status.
int RunYear(const daycalc::DaylightInputs& inputs, const YearRequest& request, std::ostream& out,
            std::ostream& err);

}  // namespace companion
