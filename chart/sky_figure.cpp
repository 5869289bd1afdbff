// sky-figure: the README's figures of daylight at 60°N through 2026 by the two models (the
// window's year, the sky on each date) and by the ephemeris in the tests' references, and each
// model less the ephemeris, drawn with the chart kit.
// Usage: sky-figure REFERENCE.csv FOLDER   (writes FOLDER/sky-60n.svg and sky-60n-less.svg)
// Exit status: 0 written, 2 anything else; the reason goes to the standard error.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "chart/charts.h"
#include "chart/figure.h"
#include "chart/whole_file.h"
#include "daylight/earth_year.h"
#include "daylight/solar_system.h"
#include "runtime/runtime.h"

namespace {

using chart::Point;

constexpr double kLatitude = 60;
constexpr double kYear = 365.2422;  // days, the x axis's length
constexpr std::string_view kWindowColour = "#c0392b", kSkyColour = "#1f5fa8",
                           kEphemerisColour = "#222222";

// The window's year at the latitude, a point every half degree: (day of the year, hours).
class WindowYear : public daycalc::TableConsumer {
  public:
    void Columns(std::span<const std::string_view> names) override { read_.Find(names); }
    bool Row(std::span<const daycalc::Cell> c) override {
        points.push_back({read_.Of(c, 0).number, read_.Of(c, 1).number});
        return true;
    }
    void Summary(std::span<const daycalc::Named>) override {}
    std::vector<Point> points;

  private:
    chart::ColumnsRead read_{{"day_of_year", "daylight"}};
};

std::vector<Point> WindowDaylight(const daycalc::PlanetPreset& earth) {
    daycalc::DaylightInputs inputs;
    for (const auto& [member, text] : daycalc::PlanetTexts(earth)) inputs.*member = text;
    inputs.latitude = rt::ShortestText(kLatitude);
    WindowYear year;
    daycalc::ProduceYear(inputs, 0.5, year);
    return year.points;
}

// The sky on each date of 2026 at the latitude, the Earth's own: (its day, hours).
std::vector<Point> DatedDaylight() {
    const daycalc::SkyInputs place = daycalc::EarthPlace(kLatitude, daycalc::kAnyLongitude);
    std::vector<Point> points;
    daycalc::ForEachDate(place, *daycalc::DateOf("2026-01-01"), *daycalc::DateOf("2026-12-31"),
                         daycalc::FixedClock(0), [&points](const daycalc::DatedRow& r) {
                             points.push_back({r.row.day, r.row.daylight});
                             return true;
                         });
    return points;
}

// The reference's daylight at the latitude, a row a date, in hours (it gives minutes).
std::vector<double> ReferenceDaylight(std::istream& csv) {
    std::vector<double> hours;
    std::string line;
    std::getline(csv, line);  // the header: latitude,date,noon,sunrise,sunset,daylight,...
    while (std::getline(csv, line)) {
        std::vector<std::string> cells;
        std::stringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
        if (cells.size() > 5 && rt::StrictNumber(cells[0]) == kLatitude) {
            hours.push_back(rt::StrictNumber(cells[5]).value_or(0) / 60);
        }
    }
    return hours;
}

// The value of a curve at x, between its points around it.
double At(const std::vector<Point>& curve, double x) {
    const auto after = std::lower_bound(curve.begin(), curve.end(), x,
                                        [](const Point& p, double v) { return p.x < v; });
    if (after == curve.begin()) return curve.front().y;
    if (after == curve.end()) return curve.back().y;
    const Point& a = *(after - 1);
    const Point& b = *after;
    return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
}

constexpr std::string_view kTime = "days since the northern winter solstice";
constexpr std::string_view kSubtitle = "the Earth at 60°N, each date of 2026";

std::string Daylight(const std::vector<Point>& window, const std::vector<Point>& sky,
                     const std::vector<Point>& ephemeris) {
    chart::Figure f("Daylight through the year: two models and the ephemeris", kSubtitle);
    f.Axes(0, kYear, kTime, 0, 24, "daylight (hours)");
    f.Line(window, kWindowColour, 2);
    f.Line(sky, kSkyColour, 2);
    std::vector<Point> weekly;
    for (std::size_t i = 0; i < ephemeris.size(); i += 7) weekly.push_back(ephemeris[i]);
    f.Dots(weekly, kEphemerisColour, 2);
    f.Key(kWindowColour, "the window's model (daylight-cli year)", true);
    f.Key(kSkyColour, "the sky model (daylight-cli sky)", true);
    f.Key(kEphemerisColour, "the ephemeris, 2026");
    return f.Svg();
}

std::string Less(const std::vector<Point>& window, const std::vector<Point>& sky,
                 const std::vector<Point>& ephemeris) {
    std::vector<Point> windowLess, skyLess;
    for (std::size_t i = 0; i < ephemeris.size(); ++i) {
        const double t = ephemeris[i].x;
        windowLess.push_back({t, (At(window, t) - ephemeris[i].y) * 60});
        skyLess.push_back({t, (sky[i].y - ephemeris[i].y) * 60});
    }
    double low = 0, high = 0;
    for (const auto* curve : {&windowLess, &skyLess}) {
        for (const Point& p : *curve) low = std::min(low, p.y), high = std::max(high, p.y);
    }
    chart::Figure f("Each model less the ephemeris", kSubtitle);
    f.Axes(0, kYear, kTime, std::floor(low / 10) * 10, std::ceil(high / 10) * 10,
           "difference (minutes)");
    f.Line({{0, 0}, {kYear, 0}}, "#999999", 1);
    f.Line(windowLess, kWindowColour, 2);
    f.Line(skyLess, kSkyColour, 2);
    f.Key(kWindowColour, "the window's model less the ephemeris", true);
    f.Key(kSkyColour, "the sky model less the ephemeris", true);
    return f.Svg();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: sky-figure REFERENCE.csv FOLDER\n";
        return 2;
    }
    std::ifstream csv(argv[1]);
    const std::vector<double> reference = ReferenceDaylight(csv);
    const daycalc::PlanetPreset& earth = *daycalc::PlanetNamed("earth");
    const std::vector<Point> window = WindowDaylight(earth);
    const std::vector<Point> sky = DatedDaylight();
    if (!csv.eof() || reference.size() != sky.size()) {
        std::cerr << "sky-figure: " << argv[1]
                  << " has no daylight at 60°N for each date of 2026\n";
        return 2;
    }
    // The ephemeris at the sky's day of each date, both in the order of the days (which start
    // again at the December solstice).
    std::vector<std::pair<Point, Point>> days;
    for (std::size_t i = 0; i < sky.size(); ++i) {
        days.push_back({sky[i], {sky[i].x, reference[i]}});
    }
    std::sort(days.begin(), days.end(),
              [](const auto& a, const auto& b) { return a.first.x < b.first.x; });
    std::vector<Point> skyByDay, ephemeris;
    for (const auto& [skyDay, ephemerisDay] : days) {
        skyByDay.push_back(skyDay);
        ephemeris.push_back(ephemerisDay);
    }
    const std::string folder = argv[2];
    for (const auto& [name, svg] :
         {std::pair{"sky-60n.svg", Daylight(window, skyByDay, ephemeris)},
          std::pair{"sky-60n-less.svg", Less(window, skyByDay, ephemeris)}}) {
        if (const std::string why = chart::ReplaceWhole(folder + "/" + name, svg); !why.empty()) {
            std::cerr << "sky-figure: " << why << '\n';
            return 2;
        }
        std::cout << "wrote " << folder << '/' << name << '\n';
    }
    return 0;
}
