// The year's chart is drawn by a program of its own, daylight-chart, so that the companion loads
// Qt's libraries only when it is asked for a chart.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "daylight/daylight.h"

namespace companion {

// Offers --chart FILE.svg or FILE.png on a command, where this build draws charts, and says
// whether it does.
bool AddChartOption(CLI::App& command, std::string& path, const std::string& what);

// Runs daylight-chart with the arguments: the kind of chart, the file, and the values, for
// instance {"year", "out.svg", "23.5", "38", "24", "365.25", "1"}. Says why no chart was written,
// or nothing. It is looked for beside the running program, then where it is installed.
std::string DrawChart(std::vector<std::string> args);

// What a program wrote to a pipe, read to its end, without its last line feed: all of it, or its
// last kTailKept bytes after "..." where it wrote more, so that a program that writes without end
// costs the companion no more memory than that.
constexpr std::size_t kTailKept = 4096;
std::string TailOf(int fd);

}  // namespace companion
