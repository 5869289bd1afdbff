// The chart of a year: daylight through the year, the solstices and equinoxes marked, the
// polar day and the polar night shaded. Drawing text needs a Qt GUI application, which the
// program that draws makes; a screen it does not need.
#pragma once

#include <string>

#include "chart/format.h"
#include "daylight/year.h"

class QPainter;

namespace chart {

constexpr int kWidth = 800;
constexpr int kHeight = 500;

// Paints the chart into the rectangle from (0, 0) of the given size.
void PaintYearChart(QPainter& painter, int width, int height, const daycalc::YearView& view);

// Writes the chart, kWidth by kHeight, in the format of the file name. Says what went wrong, or
// nothing.
std::string WriteYearChart(const daycalc::YearView& view, const std::string& path);

}  // namespace chart
