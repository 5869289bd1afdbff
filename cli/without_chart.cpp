// A build without charts offers no --chart, so no command ever asks for one.
#include "chart_program.h"

namespace companion {

bool AddChartOption(CLI::App&, std::string&, const std::string&) { return false; }

std::string DrawChart(std::vector<std::string>) {
    return "this daylight-cli was built without charts";
}

}  // namespace companion
