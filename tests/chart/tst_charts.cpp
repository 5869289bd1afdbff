// The charts as drawn for tables of every kind: every tick at a round number, every text inside
// the figure and clear of the others, and no line through a text that is not set on white.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "chart/charts.h"
#include "daylight/insolation.h"
#include "daylight/solar_system.h"
#include "runtime/runtime.h"

namespace {

using chart::Figure;

// Whether a tick is k · (1, 2 or 5) · 10ⁿ: its text has one significant digit of those, or a
// multiple of one (15, 250).
TEST(RoundTicks, FallOnRoundNumbersAndSpanTheRange) {
    struct Case {
        double low, high;
        int most;
        double step;
    };
    const Case cases[] = {{0, 365.25, 10, 50},    {0, 24.6597, 8, 5},  {-90, 90, 10, 20},
                          {0, 1, 6, 0.2},         {0, 668.6, 10, 100}, {0, 0.5, 10, 0.1},
                          {0, 1.7e308, 8, 5e307}, {0, 4222.6, 8, 1000}};
    for (const Case& c : cases) {
        const std::vector<double> ticks = chart::RoundTicks(c.low, c.high, c.most);
        ASSERT_GE(ticks.size(), 2u) << c.high;
        EXPECT_LE(ticks.size(), std::size_t(c.most)) << c.high;
        EXPECT_GE(ticks.front(), c.low);
        EXPECT_LE(ticks.back(), c.high * (1 + 1e-12));
        EXPECT_NEAR((ticks[1] - ticks[0]) / c.step, 1, 1e-9) << c.high;
        // The text of every tick is the round number itself.
        for (const double t : ticks) {
            const std::string text = chart::TickText(t);
            EXPECT_EQ(text.find("999"), std::string::npos) << text;
            EXPECT_EQ(text.find("0000000"), std::string::npos) << text;
        }
    }
}

// Every text inside the figure, clear of the others and of every line unless set on white, and
// at least 11 pixels high.
void ExpectClear(const Figure& f, const std::string& name) {
    const auto& texts = f.TextBoxes();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const chart::Box& a = texts[i];
        EXPECT_TRUE(a.left >= 0 && a.right <= f.Width() && a.top >= 0) << name << " text " << i;
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            EXPECT_FALSE(a.Overlaps(texts[j])) << name << ": texts " << i << " and " << j;
        }
        if (a.onWhite) continue;
        for (const auto& [p, q] : f.Lines()) {
            ASSERT_FALSE(a.Crosses(p, q))
                << name << ": a line from " << p.x << "," << p.y << " crosses text " << i;
        }
    }
    const std::string svg = f.Svg();
    for (std::size_t at = svg.find("font-size=\""); at != std::string::npos;
         at = svg.find("font-size=\"", at + 1)) {
        EXPECT_GE(std::stod(svg.substr(at + 11)), 11) << name << ": " << svg.substr(at, 80);
    }
}

// Each chart at the usual width and at every width a phone's page draws it (a 16 pixel font on
// screens of 320 to 430 pixels, and wider ones).
template <typename Chart>
void ExpectClearAtEveryWidth(Chart& drawing, const std::string& name) {
    for (double width = chart::kNarrowest; width <= chart::kWidth; width += width < 440 ? 1 : 20) {
        drawing.SetWidth(width);
        ExpectClear(drawing.Draw(), name + " at " + std::to_string(int(width)));
    }
}

// A map's cells tile its plot: each latitude's strip from halfway to the one above down to
// halfway to the one below, the next strip beginning where it ends (the cells overlap by half a
// pixel, so that no seam shows), from the plot's top to its foot.
// A map's cells as its SVG draws them (the rectangles set edge to edge): in pixels, and filled.
struct MapCell {
    double left, top, width, height;
    std::string fill;
};
std::vector<MapCell> MapCells(const std::string& svg) {
    std::vector<MapCell> cells;
    for (std::size_t at = svg.find("<rect x=\""); at != std::string::npos;
         at = svg.find("<rect x=\"", at + 1)) {
        const std::string rect = svg.substr(at, svg.find("/>", at) - at);
        if (rect.find("crispEdges") == std::string::npos) continue;
        const auto number = [&](const std::string& name) {
            return std::stod(rect.substr(rect.find(name) + name.size()));
        };
        cells.push_back({number(" x=\""), number(" y=\""), number("width=\""), number("height=\""),
                         rect.substr(rect.find("fill=\"") + 6, 7)});
    }
    return cells;
}

void ExpectStripsTile(const Figure& f, const std::string& name) {
    std::map<double, double> strips;  // each strip's top and foot, in pixels
    for (const MapCell& cell : MapCells(f.Svg())) {
        const double foot = cell.top + cell.height;
        const auto [strip, added] = strips.emplace(cell.top, foot);
        EXPECT_NEAR(strip->second, foot, 0.02) << name << ": a strip at " << cell.top;
    }
    ASSERT_GE(strips.size(), 2u) << name;
    double edge = f.PlotBox().top;
    for (const auto& [top, foot] : strips) {
        EXPECT_NEAR(top, edge - 0.5, 0.02) << name;
        edge = foot;
    }
    EXPECT_NEAR(edge, f.PlotBox().bottom, 0.02) << name;
}

daycalc::SkyInputs Planet(const char* name, double latitude) {
    const daycalc::PlanetPreset& p = *daycalc::PlanetNamed(name);
    const double year = rt::ValFromText(p.year);
    return {.tilt = rt::ValFromText(p.tilt),
            .latitude = latitude,
            .solarDay = rt::ValFromText(p.solarDay),
            .year = year,
            .eccentricity = p.eccentricity,
            .perihelion = p.perihelion,
            .horizon = daycalc::SunriseHorizon(p.refraction, p.distance),
            .step = year < 100 ? year / 360 : year / 365,
            .distance = p.distance,
            .refraction = p.refraction,
            .sunrise = true,
            .declinationTerm = p.declinationTerm};
}

// The x of each season's mark: the dashed lines from the plot's top to its foot, left to right.
std::vector<double> SeasonMarks(const Figure& f) {
    std::vector<double> marks;
    const std::string svg = f.Svg();
    for (std::size_t at = svg.find("<line x1=\""); at != std::string::npos;
         at = svg.find("<line x1=\"", at + 1)) {
        const std::string line = svg.substr(at, svg.find("/>", at) - at);
        if (line.find("stroke-dasharray=\"4 4\"") == std::string::npos) continue;
        marks.push_back(std::stod(line.substr(10)));
    }
    std::sort(marks.begin(), marks.end());
    return marks;
}

// The mark each season's name stands over: the one nearest the middle of its name, whose text
// starts half its width (about 3 pixels a letter at 11) before it.
double MarkNamed(const Figure& f, std::string_view name) {
    const std::string svg = f.Svg();
    const std::size_t end = svg.find(">" + std::string(name) + "</text>");
    if (end == std::string::npos) return NAN;
    const std::size_t start = svg.rfind("<text x=\"", end);
    const double middle = std::stod(svg.substr(start + 9)) + 3.1 * double(name.size());
    double nearest = NAN;
    for (const double x : SeasonMarks(f)) {
        if (!(std::fabs(x - middle) >= std::fabs(nearest - middle))) nearest = x;
    }
    return nearest;
}

// The sky's bands stack: the time above -6, -12 and -18 degrees each drawn from the foot over
// the one before it, so that at 60 N each band's highest point stands above the one before (or
// as high, where both reach the whole day).
TEST(Charts, TheSkysBandsStackUpTheDay) {
    const daycalc::SkyInputs in = Planet("earth", 60);
    chart::SkyChart sky(in);
    ASSERT_FALSE(daycalc::ProduceSky(in, sky));
    const std::string svg = sky.Svg();
    // The least y (the highest point) of the area of a band's colour.
    const auto top = [&](const std::string& fill) {
        const std::size_t end = svg.find("\" fill=\"" + fill + "\"");
        const std::size_t start = svg.rfind("points=\"", end) + 8;
        std::istringstream points(svg.substr(start, end - start));
        double least = INFINITY;
        for (std::string point; points >> point;) {
            least = std::min(least, rt::ValFromText(point.substr(point.find(',') + 1)));
        }
        return least;
    };
    const double daylight = top("#facc50"), civil = top("#96c4e8"), nautical = top("#4c7abe"),
                 astronomical = top("#28387a");
    EXPECT_LT(civil, daylight);
    EXPECT_LT(nautical, civil);
    EXPECT_LE(astronomical, nautical);  // both the whole day in June
}

// The year's solstices and equinoxes stand at quarters of the year, the sky's at the days its
// orbit reaches them, each under its own name.
TEST(Charts, TheSeasonsAreMarkedWhereTheyFall) {
    const daycalc::DaylightInputs inputs{.year = "668.6"};
    chart::YearChart year(std::get<daycalc::YearView>(daycalc::YearAsRead(inputs)));
    ASSERT_FALSE(daycalc::ProduceYear(inputs, 1, year));
    const Figure drawn = year.Draw();
    ASSERT_EQ(SeasonMarks(drawn).size(), 4u);
    for (std::size_t quarter = 0; quarter < 4; ++quarter) {
        EXPECT_NEAR(MarkNamed(drawn, daycalc::kSeasonNames[quarter]),
                    drawn.X(668.6 * double(quarter) / 4), 0.01)
            << quarter;
    }
    const daycalc::SkyInputs mars = Planet("mars", 40);
    chart::SkyChart sky(mars);
    ASSERT_FALSE(daycalc::ProduceSky(mars, sky));
    const Figure skyDrawn = sky.Draw();
    const daycalc::SkyModel model(mars);
    ASSERT_EQ(SeasonMarks(skyDrawn).size(), 4u);
    for (std::size_t quarter = 0; quarter < 4; ++quarter) {
        EXPECT_NEAR(MarkNamed(skyDrawn, daycalc::kSeasonNames[quarter]),
                    skyDrawn.X(model.DayOfOrbitAngle(90 * double(quarter))), 0.01)
            << quarter;
    }
}

TEST(Charts, EveryTextIsInsideAndClear) {
    for (const auto& [tilt, latitude, day, year] :
         {std::array<const char*, 4>{"23.5", "38", "24", "365.25"},
          {"23.5", "-80", "24", "365.25"},
          {"97.77", "60", "17.24", "42717.49"},
          {"23.5", "80", "1.7e308", "1.7e308"},
          {"23.5", "80", "-1.7e308", "-1.7e308"}}) {
        const daycalc::DaylightInputs inputs{
            .tilt = tilt, .latitude = latitude, .solarDay = day, .year = year};
        const auto read = daycalc::ComputeYear(inputs, 360);
        chart::YearChart drawing(std::get<daycalc::YearView>(read));
        drawing.MarkDay(100);
        ASSERT_FALSE(daycalc::ProduceYear(inputs, 1, drawing));
        ExpectClearAtEveryWidth(drawing, std::string("year ") + latitude + " " + day);
    }
    for (const auto& [name, latitude] :
         {std::pair{"earth", 60.0}, {"mars", 70.0}, {"uranus", -10.0}, {"venus", 30.0}}) {
        chart::SkyChart sky(Planet(name, latitude));
        sky.MarkDay(300);
        ASSERT_FALSE(daycalc::ProduceSky(Planet(name, latitude), sky));
        ExpectClearAtEveryWidth(sky, std::string("sky ") + name);
        daycalc::SkyInputs daily = Planet(name, 0);
        daily.step = daily.year / 120;
        chart::MapChart map(daily);
        map.MarkDay(0);
        map.MarkLatitude(latitude);
        ASSERT_FALSE(daycalc::ProduceMap(daily, 2, map));
        ExpectClearAtEveryWidth(map, std::string("map ") + name);
        ExpectStripsTile(map.Draw(), std::string("map ") + name);
        // The sun's path on the day at 100 degrees, north and south of the equator.
        chart::SunPathChart sun(std::string("the sun over ") + name, latitude < 0);
        ASSERT_FALSE(daycalc::ProduceSunOnDay(Planet(name, latitude), 100, 10, sun));
        sun.Seasons(daycalc::SeasonPathsOnDay(Planet(name, latitude), 10));
        ExpectClearAtEveryWidth(sun, std::string("sun ") + name);
        // Sunlight: its map, through the year at the latitude and by latitude.
        const double s = daycalc::SolarConstantAt(daily.distance);
        chart::MapChart sunlight(daily, s);
        ASSERT_FALSE(daycalc::ProduceInsolationMap(daily, s, 2, sunlight));
        ExpectClearAtEveryWidth(sunlight, std::string("sunlight map ") + name);
        ExpectStripsTile(sunlight.Draw(), std::string("sunlight map ") + name);
        chart::LineChart year = chart::InsolationYearChart(Planet(name, latitude), s);
        year.MarkDay(300);
        ASSERT_FALSE(daycalc::ProduceInsolation(Planet(name, latitude), s, year));
        ExpectClearAtEveryWidth(year, std::string("sunlight ") + name);
        chart::LineChart annual = chart::AnnualInsolationChart(daily, s);
        ASSERT_FALSE(daycalc::ProduceAnnualInsolation(daily, s, 5, annual));
        ExpectClearAtEveryWidth(annual, std::string("annual sunlight ") + name);
    }
    // The Earth through a million years, and through a single thousand.
    for (const double from : {-1000.0, -1.0}) {
        const daycalc::History history = {65, 180, from, 0, 1, 1361};
        chart::LineChart through = chart::HistoryChart(history);
        ASSERT_FALSE(daycalc::ProduceInsolationHistory(history, through));
        ExpectClearAtEveryWidth(through, "sunlight through time");
    }
}

// A map's chart follows its pixels, not its table's rows: a map of 18,001 latitudes draws strips a
// pixel high (316 of them), not many more cells than one of a latitude every half degree (a
// degree high, 181), its strips still tiling the plot and each contour line of that map there.
TEST(Charts, AMapsChartFollowsItsPixelsNotItsRows) {
    const auto count = [](const std::string& svg, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = svg.find(what); at != std::string::npos; at = svg.find(what, at + 1))
            ++n;
        return n;
    };
    for (const char* name : {"earth", "mars"}) {
        daycalc::SkyInputs in = Planet(name, 0);
        in.step = in.year / 24;
        std::string svgs[2];
        for (const int k : {0, 1}) {
            chart::MapChart map(in);
            ASSERT_FALSE(daycalc::ProduceMap(in, k == 0 ? 0.5 : 0.01, map));
            svgs[k] = map.Svg();
            if (k == 1) ExpectStripsTile(map.Draw(), std::string("fine map ") + name);
        }
        EXPECT_LT(MapCells(svgs[1]).size(), 2 * MapCells(svgs[0]).size()) << name;
        EXPECT_EQ(count(svgs[1], "stroke=\"#1b1b1b\" stroke-width=\"0.8\""),
                  count(svgs[0], "stroke=\"#1b1b1b\" stroke-width=\"0.8\""))
            << name;
    }
}

// The map's polar day and night are drawn in their own colours where they fall: the Earth's north
// is in polar day at its summer solstice, in polar night at its winter one, and the south the
// other way round.
TEST(Charts, AMapsPolarDayAndNightAreWhereTheyFall) {
    daycalc::SkyInputs in = Planet("earth", 0);
    in.step = 5;
    chart::MapChart map(in);
    ASSERT_FALSE(daycalc::ProduceMap(in, 1, map));
    const Figure f = map.Draw();
    const std::vector<MapCell> cells = MapCells(f.Svg());
    // The fill of the cell drawn over a point of the plot.
    const auto fillAt = [&](double day, double latitude) {
        const double x = f.X(day), y = f.Y(latitude);
        std::string fill;
        for (const MapCell& c : cells) {
            if (x >= c.left && x <= c.left + c.width && y >= c.top && y <= c.top + c.height) {
                fill = c.fill;
            }
        }
        return fill;
    };
    const std::string day = "#f6e7a1", night = "#0e122c";
    EXPECT_EQ(fillAt(in.year / 2, 85), day);
    EXPECT_EQ(fillAt(in.year / 2, -85), night);
    EXPECT_EQ(fillAt(10, 85), night);
    EXPECT_EQ(fillAt(10, -85), day);
    EXPECT_NE(fillAt(in.year / 2, 40), day);
}

// Hands a chart a table with its columns in the reverse order: a chart that reads its cells by
// name draws the same figure from it.
class Reversed : public daycalc::TableConsumer {
  public:
    explicit Reversed(chart::Chart& to) : to_(to) {}
    void Columns(std::span<const std::string_view> names) override {
        std::vector<std::string_view> reversed(names.rbegin(), names.rend());
        to_.Columns(reversed);
    }
    bool Row(std::span<const daycalc::Cell> cells) override {
        const std::vector<daycalc::Cell> reversed(cells.rbegin(), cells.rend());
        return to_.Row(reversed);
    }
    void Summary(std::span<const daycalc::Named> values) override { to_.Summary(values); }

  private:
    chart::Chart& to_;
};

TEST(Charts, EachReadsItsCellsByTheNamesOfTheirColumns) {
    daycalc::SkyInputs in = Planet("mars", 70);
    in.step = in.year / 90;
    chart::SkyChart sky(in), skyReversed(in);
    ASSERT_FALSE(daycalc::ProduceSky(in, sky));
    Reversed toSky(skyReversed);
    ASSERT_FALSE(daycalc::ProduceSky(in, toSky));
    EXPECT_EQ(sky.Svg(), skyReversed.Svg());
    chart::MapChart map(in), mapReversed(in);
    ASSERT_FALSE(daycalc::ProduceMap(in, 5, map));
    Reversed toMap(mapReversed);
    ASSERT_FALSE(daycalc::ProduceMap(in, 5, toMap));
    EXPECT_EQ(map.Svg(), mapReversed.Svg());
    daycalc::DaylightInputs inputs;
    inputs.latitude = "70";
    const daycalc::YearView view = std::get<daycalc::YearView>(daycalc::YearAsRead(inputs));
    chart::YearChart year(view), yearReversed(view);
    ASSERT_FALSE(daycalc::ProduceYear(inputs, 5, year));
    Reversed toYear(yearReversed);
    ASSERT_FALSE(daycalc::ProduceYear(inputs, 5, toYear));
    EXPECT_EQ(year.Svg(), yearReversed.Svg());
}

}  // namespace
