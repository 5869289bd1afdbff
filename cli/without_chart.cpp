// A build without Qt draws its charts as SVG only: --chart takes no .png.
#include "chart/format.h"
#include "chart_program.h"

namespace companion {

bool AddChartOption(CLI::App& command, std::string& path, const std::string& what) {
    command.add_option("--chart", path, "Also draw " + what + " into FILE.svg")
        ->type_name("FILE")
        ->check([](const std::string& name) -> std::string {
            if (chart::FormatOf(name) == chart::Format::Svg) return "";
            return "the chart's file name must end in .svg (this daylight-cli draws no PNG)";
        });
    return false;
}

std::string RenderPng(const std::string&, const std::string&) {
    return "this daylight-cli was built without PNG charts";
}

}  // namespace companion
