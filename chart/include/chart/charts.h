// The year chart, the sky chart and the map, each drawn with the chart kit from the streamed
// table it is handed: the same rows the companion prints, taken as they come, thinned to what
// the figure's pixels can show, so that the longest table is drawn in little memory.
#pragma once

#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/figure.h"
#include "daylight/insolation.h"
#include "daylight/sun.h"
#include "daylight/table.h"

namespace chart {

// Points thinned as they come: in each slice of x a pixel wide, only the first, the lowest, the
// highest and the last are kept, which is all a line drawn at that width shows.
class Thinned {
  public:
    explicit Thinned(double sliceWidth) : width_(sliceWidth) {}
    void Add(double x, double y);
    std::vector<Point> Points() const;

  private:
    void Flush();
    double width_;
    long long slice_ = 0;
    int count_ = 0;  // points in the slice so far
    Point first_{}, low_{}, high_{}, last_{};
    std::vector<Point> kept_;
};

// The columns a chart reads, by name, and where they are in its table's rows: looked up once,
// when the table names its columns, so that a chart reads each cell by what it is.
class ColumnsRead {
  public:
    explicit ColumnsRead(std::vector<std::string_view> names)
        : names_(std::move(names)), at_(names_.size()) {}
    // Finds each among the table's columns; a table without one is the program's own mistake.
    void Find(std::span<const std::string_view> columns);
    // The cell of the column read `read`th, in a row of that table.
    const daycalc::Cell& Of(std::span<const daycalc::Cell> row, std::size_t read) const {
        return row[at_[read]];
    }

  private:
    std::vector<std::string_view> names_;
    std::vector<std::size_t> at_;
};

// A chart drawn from one table: it takes the rows as they come, then draws its figure.
class Chart : public daycalc::TableConsumer {
  public:
    void Columns(std::span<const std::string_view> names) override { read_.Find(names); }
    void Summary(std::span<const daycalc::Named>) override {}
    virtual Figure Draw() const = 0;
    std::string Svg() const { return Draw().Svg(); }
    // The figure's width in pixels, from kNarrowest to kWidth (the usual).
    void SetWidth(double width) { width_ = width; }
    // The chosen day to mark, in degrees past the winter solstice, and on a map the chosen
    // latitude; none where NaN.
    void MarkDay(double degrees) { markDay_ = degrees; }
    void MarkLatitude(double degrees) { markLatitude_ = degrees; }

  protected:
    // Reads the columns so named, in that order.
    explicit Chart(std::vector<std::string_view> read) : read_(std::move(read)) {}
    ColumnsRead read_;
    double width_ = kWidth;
    double markDay_ = std::numeric_limits<double>::quiet_NaN();
    double markLatitude_ = std::numeric_limits<double>::quiet_NaN();
};

// A chosen day from its text: degrees past the winter solstice from 0 to 360, read strictly;
// none otherwise. And a chosen latitude, from -90 to 90.
std::optional<double> ChosenDay(std::string_view text);
std::optional<double> ChosenLatitude(std::string_view text);

// The year's daylight by the window's model as a line, over the sky's daylight and twilights on
// a circular orbit, with the polar day and night shaded and the solstices and equinoxes named.
class YearChart : public Chart {
  public:
    // The inputs as read (the view's points unused).
    explicit YearChart(const daycalc::YearView& year);
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Summary(std::span<const daycalc::Named> values) override;
    Figure Draw() const override;

  private:
    enum Read : std::size_t { kDayOfYearRead, kDaylightRead };
    daycalc::YearView year_;
    Thinned daylight_;
};

// The sky through the year at one latitude: daylight and the three twilights stacked, the night
// above them, the solstices and equinoxes named.
class SkyChart : public Chart {
  public:
    explicit SkyChart(const daycalc::SkyInputs& in);
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Summary(std::span<const daycalc::Named> values) override;
    Figure Draw() const override;
    // Its night and the four bands under it, from the foot of the plot: what the year chart
    // draws beneath its line too; and their legend, the first entry so named.
    void DrawBands(Figure& f) const;
    static void KeyBands(Figure& f, std::string_view daylight);

  private:
    // The day, then the time above the horizon and in each twilight, in that order.
    enum Read : std::size_t { kDayRead, kAboveRead };
    daycalc::SkyInputs in_;
    std::vector<Thinned> above_;  // the time above the horizon, -6°, -12° and -18°
    // The t of the solstices and equinoxes, in the order of kSeasonNames, from the summary's
    // members of those names; NaN until it comes.
    std::array<double, 4> seasons_{kNoSeason, kNoSeason, kNoSeason, kNoSeason};
    static constexpr double kNoSeason = std::numeric_limits<double>::quiet_NaN();
};

// Daylight at every latitude through the year, coloured by its length with a numbered key, with
// contour lines at round lengths, each labelled, and the polar day and night; or the same of the
// daily mean sunlight, in W/m², the polar night where none arrives.
class MapChart : public Chart {
  public:
    explicit MapChart(const daycalc::SkyInputs& in);
    // Sunlight, for the flux at the mean distance.
    MapChart(const daycalc::SkyInputs& in, double solarConstant);
    // Drawn as the rows come, a latitude at a time: the chart keeps two latitudes' values, at
    // most a pixel apart, so that its size and memory follow its pixels, not the table's rows.
    bool Row(std::span<const daycalc::Cell> cells) override;
    Figure Draw() const override;

  private:
    enum Read : std::size_t { kLatitudeRead, kDayRead, kDaylightRead, kSunRead };
    // A run of days of one colour along a latitude's strip, and its colour.
    struct Run {
        double from, to, low, high;
        std::size_t colour;
    };
    // The runs of a latitude's strip, from halfway to the one below up to `high`.
    // A day at a latitude: its daylight, and whether the sun rises or stays up or down.
    struct Day {
        float daylight;
        daycalc::Sun sun;
    };
    // The contour levels: the round values strictly between 0 and the top of the colours.
    void RoundLevels();
    void RunsOf(std::size_t at, const std::vector<Day>& row, double high,
                std::vector<Run>& runs) const;
    // The contour segments, by level, of the cells between a latitude and the next, in the data's
    // units.
    void ContoursBetween(std::size_t at, const std::vector<Day>& lower,
                         const std::vector<Day>& upper,
                         std::vector<std::vector<std::array<Point, 2>>>& segments) const;

    daycalc::SkyInputs in_;
    double solarConstant_;  // NaN for a map of daylight
    bool Sunlight() const { return !std::isnan(solarConstant_); }
    double high_;                 // the top of the colours: the solar day, or a round flux
    std::vector<double> levels_;  // the round values that get a contour line
    // The latitudes and days drawn: a latitude a pixel above the one drawn before it (or more),
    // and a day a pixel after the one before and the last; those between them fall in the same
    // pixels and are not kept.
    std::vector<double> latitudes_, days_;
    std::vector<std::size_t> columns_;  // each day's place in a latitude's rows
    bool lastDaySpaced_ = true;  // whether the last day kept is a pixel on from the one before
    double latitude_ = 0;        // of the rows coming in
    bool drawing_ = false;       // whether that latitude is drawn
    std::size_t index_ = 0;      // the next row's place in it
    std::size_t column_ = 0;     // the next day drawn in it
    // The days of the latitude drawn before and of this one.
    std::vector<Day> below_, row_;
    std::vector<Run> runs_;
    std::vector<std::vector<std::array<Point, 2>>> segments_;
};

// Lines through the rows of a table, each a column against one column: sunlight through the year,
// by latitude or through time; the y axis up to a round value above the highest, from 0 or from
// one below the lowest.
class LineChart : public Chart {
  public:
    struct Line {
        std::string_view column;
        Colour colour;
        std::string_view key;
    };
    struct Layout {
        std::string_view title;
        std::string subtitle;
        std::string_view x;  // the column along the x axis
        std::string_view xTitle;
        double xLow, xHigh;
        std::string_view yTitle;
        std::vector<Line> lines;
        bool fromZero = true;  // else the y axis spans the lines' own range, rounded out
        // The sky whose year runs along x, where it does: the chosen day is marked on it.
        std::optional<daycalc::SkyInputs> sky = std::nullopt;
    };
    explicit LineChart(Layout layout);
    bool Row(std::span<const daycalc::Cell> cells) override;
    Figure Draw() const override;
    // A named mark across the plot at x (a solstice, the present), where x is on the plot.
    void Mark(double x, std::string_view name) { marks_.emplace_back(x, name); }

  private:
    static std::vector<std::string_view> Read(const Layout& layout);
    Layout layout_;
    std::vector<Thinned> lines_;
    std::vector<std::pair<double, std::string_view>> marks_;
};

// The charts of sunlight: through the year at the inputs' latitude (the daily mean and the noon
// flux, the seasons named); the year's mean by latitude; and the Earth's at a latitude and orbit
// angle through time, the present marked.
LineChart InsolationYearChart(const daycalc::SkyInputs& in, double solarConstant);
LineChart AnnualInsolationChart(const daycalc::SkyInputs& in, double solarConstant);
LineChart HistoryChart(const daycalc::History& history);

// The sun's path through the chosen day, altitude against azimuth, its hours marked and named,
// over the paths of the winter solstice, the equinoxes and the summer solstice at the same place,
// the horizon at the foot and the directions named; facing the equator, so that the path runs
// from left to right in the north and from right to left in the south.
class SunPathChart : public Chart {
  public:
    // What the chart was drawn for (the place and the day), and whether the place is south of
    // the equator.
    SunPathChart(std::string subtitle, bool south);
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Seasons(const daycalc::SeasonPaths& paths) { seasons_ = paths; }
    Figure Draw() const override;

  private:
    enum Read : std::size_t { kTimeRead, kAltitudeRead, kAzimuthRead };
    // The x of an azimuth: itself in the north; in the south from -180 to 180, north at 0.
    double X(double azimuth) const;
    // A path as lines above the horizon, split where it goes below or round the back.
    void Path(Figure& f, const std::vector<daycalc::SunPoint>& path, Colour colour, double width,
              bool dashed) const;

    std::string subtitle_;
    bool south_;
    std::vector<daycalc::SunPoint> day_;
    daycalc::SeasonPaths seasons_;
};

}  // namespace chart
