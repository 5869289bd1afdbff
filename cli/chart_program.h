// Charts: the companion draws every chart as SVG itself; a PNG is that SVG rendered by a program
// of its own, daylight-chart, so that the companion loads Qt's libraries only for a PNG.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "daylight/daylight.h"

namespace companion {

// Offers --chart FILE.svg, or FILE.png where this build renders PNG, on a command; says whether
// it renders PNG.
bool AddChartOption(CLI::App& command, std::string& path, const std::string& what);

// Writes the chart's SVG to the file whole, or for a .png file has daylight-chart render it
// there. Says why no chart was written, or nothing.
std::string WriteChart(const std::string& path, const std::string& svg);

// Runs daylight-chart on an SVG file for a PNG file. Says why no PNG was written, or nothing. It
// is looked for beside the running program, then where it is installed.
std::string RenderPng(const std::string& svgPath, const std::string& pngPath);

// What a program wrote to a pipe, read to its end, without its last line feed: all of it, or its
// last kTailKept bytes after "..." where it wrote more, so that a program that writes without end
// costs the companion no more memory than that.
constexpr std::size_t kTailKept = 4096;
std::string TailOf(int fd);

}  // namespace companion
