// A build without charts offers no --chart, so the year never asks for one.
#include "chart_program.h"

namespace companion {

bool AddChartOption(CLI::App&, std::string&) { return false; }

std::string DrawYearChart(const daycalc::DaylightInputs&, double, const std::string&) {
    return "this daylight-cli was built without charts";
}

}  // namespace companion
