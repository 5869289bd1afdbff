// The sky's charts: the solar day through the year split into daylight, the three twilights and
// the night; and the map of daylight over every latitude and the whole year.
#pragma once

#include <string>
#include <vector>

#include "daylight/sky.h"

class QPainter;

namespace chart {

// The map's values: for every latitude (south to north) every day's daylight and sun.
struct SkyMap {
    daycalc::SkyInputs inputs;  // its latitude unused
    std::vector<double> latitudes;
    std::vector<double> days;
    std::vector<double> daylight;  // latitude by latitude, day by day
    std::vector<daycalc::Sun> sun;

    std::size_t At(std::size_t latitude, std::size_t day) const {
        return latitude * days.size() + day;
    }
};

void PaintSkyChart(QPainter& painter, int width, int height, const daycalc::SkyView& view);
void PaintSkyMap(QPainter& painter, int width, int height, const SkyMap& map);

// Write the chart, kWidth by kHeight, in the format of the file name; say what went wrong, or
// nothing.
std::string WriteSkyChart(const daycalc::SkyView& view, const std::string& path);
std::string WriteSkyMap(const SkyMap& map, const std::string& path);

}  // namespace chart
