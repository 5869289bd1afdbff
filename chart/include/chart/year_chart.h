// The chart of a year: daylight through the year, the solstices and equinoxes marked, the
// polar day and the polar night shaded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "daylight/year.h"

class QPainter;

namespace chart {

constexpr int kWidth = 800;
constexpr int kHeight = 500;

enum class Format { Svg, Png };

// The format a file name asks for by its ending, .svg or .png in any case; or none.
std::optional<Format> FormatOf(std::string_view path);

// Paints the chart into the rectangle from (0, 0) of the given size; it needs a Qt GUI
// application for its text.
void PaintYearChart(QPainter& painter, int width, int height, const daycalc::YearView& view);

// Writes the chart, kWidth by kHeight, in the format of the file name; makes a Qt GUI
// application without a screen if there is none. Says what went wrong, or nothing.
std::string WriteYearChart(const daycalc::YearView& view, const std::string& path);

}  // namespace chart
