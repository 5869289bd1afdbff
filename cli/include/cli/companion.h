// The headless companion: the calculation for scripts and batch work.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace companion {

// Where a chart goes: given the name asked for and the chart's SVG, writes it and says why it
// could not, or nothing.
using ChartWriter = std::function<std::string(const std::string& path, const std::string& svg)>;

// Runs daylight-cli with its arguments on the given streams and returns the exit status:
// 0 for results, 1 for a fault, 2 for a batch with a bad line, a command line it can't use or a
// chart it could not write, 3 for output it could not write, 4 for input it could not read.
// Charts are written to their files whole (a .png rendered by daylight-chart).
int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err);
// The same, with the charts handed to `charts` instead: the page keeps them in memory.
int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err,
        const ChartWriter& charts);

// In the browser, whose time zone data gives each date's offset but not its name: the names, as
// make-zone-names writes them from tzdata (until they are given, an offset is named as a fixed
// one is, "UTC+02:00").
void SetZoneNames(std::string_view text);

}  // namespace companion
