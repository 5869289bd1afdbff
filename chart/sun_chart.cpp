// The sun-path chart (charts.h).
#include <cmath>

#include "chart/charts.h"
#include "runtime/runtime.h"

namespace chart {

namespace {

constexpr Colour kDay = "#b03a2e";
constexpr std::array<Colour, 3> kSeasonColours = {"#3a6fb0", "#4f9a55", "#d08a1e"};
constexpr std::array<std::string_view, 3> kSeasonKeys = {"winter solstice", "equinoxes",
                                                         "summer solstice"};

}  // namespace

SunPathChart::SunPathChart(std::string subtitle, bool south)
    : Chart({"time", "altitude", "azimuth"}), subtitle_(std::move(subtitle)), south_(south) {}

bool SunPathChart::Row(std::span<const daycalc::Cell> c) {
    day_.push_back({read_.Of(c, kTimeRead).number, read_.Of(c, kAltitudeRead).number,
                    read_.Of(c, kAzimuthRead).number});
    return true;
}

double SunPathChart::X(double azimuth) const {
    return south_ && azimuth > 180 ? azimuth - 360 : azimuth;
}

void SunPathChart::Path(Figure& f, const std::vector<daycalc::SunPoint>& path, Colour colour,
                        double width, bool dashed) const {
    std::vector<Point> line;
    const auto flush = [&] {
        if (line.size() > 1) f.Line(line, colour, width, dashed);
        line.clear();
    };
    for (const daycalc::SunPoint& p : path) {
        const Point at{X(p.azimuth), p.altitude};
        // Round the back of the plot (north in the north) the line starts again.
        if (!line.empty() && std::fabs(at.x - line.back().x) > 180) flush();
        if (p.altitude >= 0) {
            line.push_back(at);
        } else {
            flush();
        }
    }
    flush();
}

Figure SunPathChart::Draw() const {
    Figure f("The sun's path through the day", subtitle_, width_);
    const double low = south_ ? -180 : 0;
    f.Axes(low, low + 360, "azimuth (degrees from north, east positive)", 0, 90,
           "altitude (degrees)", 8, 9);
    // The directions across the plot, from the back of the sky round to the back again.
    using Direction = std::pair<double, std::string_view>;
    const std::array<Direction, 5> north = {
        {{0, "N"}, {90, "E"}, {180, "S"}, {270, "W"}, {360, "N"}}};
    const std::array<Direction, 5> south = {
        {{-180, "S"}, {-90, "W"}, {0, "N"}, {90, "E"}, {180, "S"}}};
    for (const auto& [x, name] : south_ ? south : north) f.Mark(x, name);
    for (std::size_t i = 0; i < seasons_.size(); ++i) {
        Path(f, seasons_[i], kSeasonColours[i], 1.5, true);
    }
    Path(f, day_, kDay, 2.5, false);
    // The whole hours of the day, each a dot, named where there is room.
    std::vector<Point> hours;
    for (const daycalc::SunPoint& p : day_) {
        if (!(p.altitude >= 0 && p.time == std::floor(p.time))) continue;
        hours.push_back({X(p.azimuth), p.altitude});
        const Point at{f.X(hours.back().x), f.Y(hours.back().y)};
        f.Label({{at.x, at.y - 8}, {at.x, at.y + 18}}, rt::TextFromDouble(p.time));
    }
    f.Dots(hours, kDay, 3);
    f.Key(kDay, "the day, its hours marked", true);
    for (std::size_t k = 0; k < seasons_.size(); ++k)
        f.Key(kSeasonColours[k], kSeasonKeys[k], true);
    return f;
}

}  // namespace chart
