// The one chart kit: an SVG figure 800 pixels wide (or as narrow as a phone's screen, 300) with
// one plot frame, axes whose ticks fall on round numbers (1, 2 or 5 times a power of ten) with a
// unit in every axis title, named marks across the plot (the solstices and equinoxes), a legend,
// a numbered colour key, and labels that keep inside the figure and off each other. Every text's
// box and every line is kept, so that a test can hold that no text is crossed. Needs no Qt: the
// companion writes the figure itself, and the page shows the same bytes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace chart {

constexpr int kWidth = 800;  // the usual width, and the widest
constexpr int kNarrowest = 300;
constexpr int kHeight = 500;      // at the least; a wrapped title or a long legend makes it taller
constexpr int kPlotHeight = 316;  // the plot's, in pixels

struct Point {
    double x, y;
};

// A rectangle in the figure's pixels, y downwards.
struct Box {
    double left, top, right, bottom;
    bool onWhite = false;  // set on a white ground that hides what passes beneath
    bool Overlaps(const Box& other) const;
    bool Crosses(Point a, Point b) const;  // whether the segment from a to b enters the box
};

// The ticks from `low` to `high` at multiples of the round step (1, 2 or 5 × 10ⁿ) that gives at
// most `most` of them.
std::vector<double> RoundTicks(double low, double high, int most);

// The text of a tick: the value to 15 significant digits, which a multiple of a round step is.
std::string TickText(double value);

// A colour as "#rrggbb".
using Colour = std::string_view;

class Figure {
  public:
    // The title and, under it, what the chart was drawn for, each wrapped to the width, which
    // is from kNarrowest to kWidth. Every text is at least 11 pixels high at that width.
    Figure(std::string_view title, std::string_view subtitle, double width = kWidth);

    // The plot's ranges (either end first), their axis titles (with the unit) and how many ticks
    // at most.
    void Axes(double xLow, double xHigh, std::string_view xTitle, double yLow, double yHigh,
              std::string_view yTitle, int xTicks = 10, int yTicks = 8);
    // A figure's x and y from the plot's values.
    double X(double x) const;
    double Y(double y) const;

    // Drawing in the plot, in its values; what is drawn first lies beneath.
    void Area(const std::vector<Point>& top, double base, Colour fill);  // down to y = base
    // A rectangle; crisp where rectangles meet edge to edge (a map's cells).
    void Band(double xFrom, double xTo, double yFrom, double yTo, Colour fill, bool crisp = false);
    void Line(const std::vector<Point>& points, Colour stroke, double width, bool dashed = false);
    // A dot of that radius (pixels) at each point.
    void Dots(const std::vector<Point>& points, Colour fill, double radius);
    // Line segments in the figure's pixels, as one path.
    void Segments(const std::vector<std::array<Point, 2>>& segments, Colour stroke, double width);
    // A named mark across the plot at x (a solstice); the names take turns between two rows
    // above the plot where they would touch.
    void Mark(double x, std::string_view name);
    // A label on a white ground at a point of the plot (the figure's pixels), moved along the
    // candidates until it is clear of every other text; false where none is clear.
    bool Label(const std::vector<Point>& candidates, std::string_view text);

    // The legend under the axes: a filled swatch, or a line, with its text; in rows.
    void Key(Colour colour, std::string_view text, bool line = false);
    // A colour key from low to high as a bar of the colours given, with numbered ticks.
    void ColourKey(double low, double high, const std::vector<std::string>& colours,
                   std::string_view title);

    // The whole SVG document.
    std::string Svg() const;

    double Width() const { return width_; }
    const std::vector<Box>& TextBoxes() const { return texts_; }
    const std::vector<std::array<Point, 2>>& Lines() const { return lines_; }
    struct Plot {
        double left, top, right, bottom;
    };
    const Plot& PlotBox() const { return plot_; }

  private:
    // A text wrapped at its spaces to lines within `room`, from a point down; the baseline of
    // its last line.
    double Wrapped(double x, double y, std::string_view text, double size, double room,
                   std::string_view anchor, bool bold = false);
    // A text at a point: anchored start, middle or end; its box is kept.
    void Text(double x, double y, std::string_view text, double size, std::string_view anchor,
              bool bold = false, bool onWhite = false, double rotate = 0);
    void Keep(Point a, Point b) { lines_.push_back({a, b}); }

    double width_;
    Plot plot_{72, 84, 780, 400};
    double xLow_ = 0, xHigh_ = 1, yLow_ = 0, yHigh_ = 1;
    std::string body_;    // what lies in the plot, cut at its edges
    std::string frame_;   // the ticks around it
    std::string labels_;  // texts, drawn last so that nothing crosses them
    std::vector<Box> texts_;
    std::vector<std::array<Point, 2>> lines_;
    double keyX_ = 0, keyY_ = 0;  // where the next legend entry goes
};

}  // namespace chart
