#include "chart/figure.h"

#include <algorithm>
#include <cmath>

#include "runtime/runtime.h"

namespace chart {
namespace {

constexpr double kTickSize = 12;
constexpr Colour kInk = "#222222";
constexpr Colour kGrid = "#d9d9d9";

// A coordinate to two decimals, written the same on every machine (no locale, no printf).
std::string Number(double v) {
    const long long hundredths = std::llround(v * 100);
    const long long whole = hundredths / 100, part = std::llabs(hundredths % 100);
    std::string text = (hundredths < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
    if (part != 0) {
        text += '.';
        text += char('0' + part / 10);
        if (part % 10 != 0) text += char('0' + part % 10);
    }
    return text;
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// How wide a text is at a size, at most: the figure's sans-serif runs at about 0.55 of the size
// a character; 0.6 leaves room for wide letters.
double WidthOf(std::string_view text, double size) {
    double characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters * size * 0.6;
}

std::string Points(const std::vector<Point>& points) {
    std::string text;
    for (const Point& p : points) {
        if (!text.empty()) text += ' ';
        text += Number(p.x) + ',' + Number(p.y);
    }
    return text;
}

}  // namespace

bool Box::Overlaps(const Box& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
}

bool Box::Crosses(Point a, Point b) const {
    // Liang–Barsky: clip the segment to the box; it enters where some part remains.
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] <= 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 >= t1) return false;
    }
    return true;
}

std::vector<double> RoundTicks(double low, double high, int most) {
    if (!(high > low) || most < 2) return {low};
    const double rough = (high - low) / (most - 1);
    // The power of ten at or below the rough step.
    double power = 1;
    while (power * 10 <= rough) power *= 10;
    while (power > rough) power /= 10;
    double step = power;
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (step >= rough) break;
    }
    std::vector<double> ticks;
    for (double k = std::ceil(low / step - 1e-9); k * step <= high + step * 1e-9; ++k) {
        ticks.push_back(k * step == 0 ? 0 : k * step);
    }
    return ticks;
}

std::string TickText(double value) { return rt::TextFromDouble(value); }

Figure::Figure(std::string_view title, std::string_view subtitle, double width)
    : width_(std::clamp(width, double(kNarrowest), double(kWidth))) {
    plot_.right = width_ - 20;
    const double room = width_ - 4 - plot_.left;
    const double titleEnd = Wrapped(plot_.left, 26, title, 17, room, "start", true);
    const double subtitleEnd = Wrapped(plot_.left, titleEnd + 20, subtitle, 12, room, "start");
    // The plot beneath, with room above it for two rows of the marks' names.
    plot_.top = subtitleEnd + 38;
    plot_.bottom = plot_.top + kPlotHeight;
    keyX_ = plot_.left;
    keyY_ = plot_.bottom + 62;
}

double Figure::Wrapped(double x, double y, std::string_view text, double size, double room,
                       std::string_view anchor, bool bold) {
    std::string line;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t space = std::min(text.find(' ', from), text.size());
        const std::string_view word = text.substr(from, space - from);
        const std::string longer =
            line.empty() ? std::string(word) : line + ' ' + std::string(word);
        if (!line.empty() && WidthOf(longer, size) > room) {
            Text(x, y, line, size, anchor, bold);
            y += size * 1.3;
            line = word;
        } else {
            line = longer;
        }
        from = space + 1;
    }
    Text(x, y, line, size, anchor, bold);
    return y;
}

// Values far outside the plot are drawn just outside it, where its edge cuts them off.
double Figure::X(double x) const {
    const double share = (x - xLow_) / (xHigh_ - xLow_);
    return plot_.left +
           std::clamp(std::isnan(share) ? 0 : share, -1.0, 2.0) * (plot_.right - plot_.left);
}

double Figure::Y(double y) const {
    const double share = (y - yLow_) / (yHigh_ - yLow_);
    return plot_.bottom -
           std::clamp(std::isnan(share) ? 0 : share, -1.0, 2.0) * (plot_.bottom - plot_.top);
}

void Figure::Axes(double xLow, double xHigh, std::string_view xTitle, double yLow, double yHigh,
                  std::string_view yTitle, int xTicks, int yTicks) {
    // Either end first; a range of no width gets one of 1.
    xLow_ = std::min(xLow, xHigh), xHigh_ = std::max(xLow, xHigh);
    yLow_ = std::min(yLow, yHigh), yHigh_ = std::max(yLow, yHigh);
    if (!(xHigh_ > xLow_)) xHigh_ = xLow_ + 1;
    if (!(yHigh_ > yLow_)) yHigh_ = yLow_ + 1;
    const std::string grid = "\" stroke=\"" + std::string(kGrid) + "\"/>\n";
    const std::string ink = "\" stroke=\"" + std::string(kInk) + "\"/>\n";
    // The plot starts where the longest of the y ticks' texts fits at full size, within half the
    // figure; beyond that they are set smaller.
    const std::vector<double> yTicksAt = RoundTicks(yLow_, yHigh_, yTicks);
    double widest = 0;
    for (const double y : yTicksAt) widest = std::max(widest, WidthOf(TickText(y), 1));
    plot_.left = std::clamp(36 + widest * kTickSize, plot_.left, width_ / 2);
    keyX_ = plot_.left;
    const double ySize = std::min(kTickSize, (plot_.left - 36) / widest);
    // As many x ticks as leave room between their texts.
    std::vector<double> xTicksAt;
    for (int most = xTicks; most >= 2; --most) {
        xTicksAt = RoundTicks(xLow_, xHigh_, most);
        double longest = 0;
        for (const double x : xTicksAt)
            longest = std::max(longest, WidthOf(TickText(x), kTickSize));
        if (xTicksAt.size() < 2 || X(xTicksAt[1]) - X(xTicksAt[0]) >= longest + 10) break;
    }
    for (const double x : xTicksAt) {
        const double at = X(x);
        body_ += "<line x1=\"" + Number(at) + "\" y1=\"" + Number(plot_.top) + "\" x2=\"" +
                 Number(at) + "\" y2=\"" + Number(plot_.bottom) + grid;
        frame_ += "<line x1=\"" + Number(at) + "\" y1=\"" + Number(plot_.bottom) + "\" x2=\"" +
                  Number(at) + "\" y2=\"" + Number(plot_.bottom + 5) + ink;
        Keep({at, plot_.top}, {at, plot_.bottom + 5});
        Text(at, plot_.bottom + 19, TickText(x), kTickSize, "middle");
    }
    for (const double y : yTicksAt) {
        const double at = Y(y);
        body_ += "<line x1=\"" + Number(plot_.left) + "\" y1=\"" + Number(at) + "\" x2=\"" +
                 Number(plot_.right) + "\" y2=\"" + Number(at) + grid;
        frame_ += "<line x1=\"" + Number(plot_.left - 5) + "\" y1=\"" + Number(at) + "\" x2=\"" +
                  Number(plot_.left) + "\" y2=\"" + Number(at) + ink;
        Keep({plot_.left - 5, at}, {plot_.right, at});
        Text(plot_.left - 8, at + 4, TickText(y), ySize, "end");
    }
    const double xTitleEnd = Wrapped((plot_.left + plot_.right) / 2, plot_.bottom + 38, xTitle, 13,
                                     width_ - 8, "middle");
    keyY_ = xTitleEnd + 24;
    Text(18, (plot_.top + plot_.bottom) / 2, yTitle, 13, "middle", false, false, -90);
}

void Figure::Area(const std::vector<Point>& top, double base, Colour fill) {
    if (top.empty()) return;
    std::vector<Point> outline = {{X(top.front().x), Y(base)}};
    for (const Point& p : top) outline.push_back({X(p.x), Y(p.y)});
    outline.push_back({X(top.back().x), Y(base)});
    body_ += "<polygon points=\"" + Points(outline) + "\" fill=\"" + std::string(fill) + "\"/>\n";
}

void Figure::Band(double xFrom, double xTo, double yFrom, double yTo, Colour fill, bool crisp) {
    // Cells that meet edge to edge overlap by half a pixel, so that no seam shows between them.
    const double seam = crisp ? 0.5 : 0;
    const double left = X(std::min(xFrom, xTo)), right = X(std::max(xFrom, xTo)) + seam;
    const double top = Y(std::max(yFrom, yTo)) - seam, bottom = Y(std::min(yFrom, yTo));
    body_ += "<rect x=\"" + Number(left) + "\" y=\"" + Number(top) + "\" width=\"" +
             Number(right - left) + "\" height=\"" + Number(bottom - top) + "\" fill=\"" +
             std::string(fill) + (crisp ? "\" shape-rendering=\"crispEdges" : "") + "\"/>\n";
}

void Figure::Line(const std::vector<Point>& points, Colour stroke, double width, bool dashed) {
    std::vector<Point> at;
    for (const Point& p : points) at.push_back({X(p.x), Y(p.y)});
    for (std::size_t i = 1; i < at.size(); ++i) Keep(at[i - 1], at[i]);
    body_ += "<polyline points=\"" + Points(at) + "\" fill=\"none\" stroke=\"" +
             std::string(stroke) + "\" stroke-width=\"" + Number(width) + "\"" +
             (dashed ? " stroke-dasharray=\"5 4\"" : "") + "/>\n";
}

void Figure::Dots(const std::vector<Point>& points, Colour fill, double radius) {
    for (const Point& p : points) {
        body_ += "<circle cx=\"" + Number(X(p.x)) + "\" cy=\"" + Number(Y(p.y)) + "\" r=\"" +
                 Number(radius) + "\" fill=\"" + std::string(fill) + "\"/>\n";
    }
}

void Figure::Segments(const std::vector<std::array<Point, 2>>& segments, Colour stroke,
                      double width) {
    if (segments.empty()) return;
    std::string path;
    for (const auto& [a, b] : segments) {
        path += 'M' + Number(a.x) + ',' + Number(a.y) + 'L' + Number(b.x) + ',' + Number(b.y);
        Keep(a, b);
    }
    body_ += "<path d=\"" + path + "\" fill=\"none\" stroke=\"" + std::string(stroke) +
             "\" stroke-width=\"" + Number(width) + "\"/>\n";
}

void Figure::Mark(double x, std::string_view name) {
    const double at = X(x);
    body_ += "<line x1=\"" + Number(at) + "\" y1=\"" + Number(plot_.top) + "\" x2=\"" + Number(at) +
             "\" y2=\"" + Number(plot_.bottom) +
             "\" stroke=\"#777777\" stroke-dasharray=\"4 4\"/>\n";
    Keep({at, plot_.top}, {at, plot_.bottom});
    // The lower row, or the upper one where the lower is taken (by a name, or the top y tick).
    for (const double y : {plot_.top - 6, plot_.top - 20}) {
        const double width = WidthOf(name, 11);
        const double left = std::clamp(at - width / 2, 2.0, width_ - 2 - width);
        const Box box{left, y - 9, left + width, y + 3};
        if (std::any_of(texts_.begin(), texts_.end(),
                        [&](const Box& b) { return b.Overlaps(box); })) {
            continue;
        }
        Text(left, y, name, 11, "start");
        return;
    }
}

bool Figure::Label(const std::vector<Point>& candidates, std::string_view text) {
    const double size = 11, width = WidthOf(text, size);
    for (const Point& p : candidates) {
        const Box box{p.x - width / 2 - 2, p.y - 11, p.x + width / 2 + 2, p.y + 4};
        const bool inside = box.left >= plot_.left && box.right <= plot_.right &&
                            box.top >= plot_.top && box.bottom <= plot_.bottom;
        if (!inside || std::any_of(texts_.begin(), texts_.end(),
                                   [&](const Box& b) { return b.Overlaps(box); })) {
            continue;
        }
        Text(p.x, p.y, text, size, "middle", false, true);
        return true;
    }
    return false;
}

void Figure::Key(Colour colour, std::string_view text, bool line) {
    const double width = 18 + WidthOf(text, kTickSize);
    if (keyX_ + width > plot_.right) keyX_ = plot_.left, keyY_ += 18;
    const std::string c(colour);
    // The sample is kept among the lines, so that no text may cross it either.
    if (line) {
        labels_ += "<line x1=\"" + Number(keyX_) + "\" y1=\"" + Number(keyY_ - 4) + "\" x2=\"" +
                   Number(keyX_ + 14) + "\" y2=\"" + Number(keyY_ - 4) + "\" stroke=\"" + c +
                   "\" stroke-width=\"2.5\"/>\n";
        Keep({keyX_, keyY_ - 4}, {keyX_ + 14, keyY_ - 4});
    } else {
        labels_ += "<rect x=\"" + Number(keyX_) + "\" y=\"" + Number(keyY_ - 10) +
                   "\" width=\"14\" height=\"11\" fill=\"" + c + "\" stroke=\"#888888\"/>\n";
        Keep({keyX_, keyY_ - 10}, {keyX_ + 14, keyY_ + 1});
        Keep({keyX_, keyY_ + 1}, {keyX_ + 14, keyY_ - 10});
    }
    // A text too long for a row of its own wraps beside its sample; the next entry starts a row.
    const double end =
        Wrapped(keyX_ + 18, keyY_, text, kTickSize, width_ - 2 - (keyX_ + 18), "start");
    if (end > keyY_) {
        keyY_ = end;
        keyX_ = plot_.right;
        return;
    }
    keyX_ += width + 16;
}

void Figure::ColourKey(double low, double high, const std::vector<std::string>& colours,
                       std::string_view title) {
    if (keyX_ != plot_.left) keyX_ = plot_.left, keyY_ += 18;
    Text(keyX_, keyY_, title, kTickSize, "start");
    // The bar after its title, or under it where the row has too little room left.
    double left = keyX_ + WidthOf(title, kTickSize) + 12;
    if (width_ - 12 - left < 150) left = plot_.left, keyY_ += 22;
    const double width = std::min(300.0, width_ - 12 - left);
    const double step = width / double(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        labels_ += "<rect x=\"" + Number(left + step * double(i)) + "\" y=\"" + Number(keyY_ - 10) +
                   "\" width=\"" + Number(step + 0.5) + "\" height=\"11\" fill=\"" + colours[i] +
                   "\"/>\n";
    }
    for (const double v : RoundTicks(low, high, 7)) {
        const double at = left + (v - low) / (high - low) * width;
        labels_ += "<line x1=\"" + Number(at) + "\" y1=\"" + Number(keyY_ + 1) + "\" x2=\"" +
                   Number(at) + "\" y2=\"" + Number(keyY_ + 5) + "\" stroke=\"" +
                   std::string(kInk) + "\"/>\n";
        Keep({at, keyY_ + 1}, {at, keyY_ + 5});
        Text(at, keyY_ + 17, TickText(v), 11, "middle");
    }
    // The next entry on a row of its own, below the numbers.
    keyX_ = plot_.left;
    keyY_ += 36;
}

void Figure::Text(double x, double y, std::string_view text, double size, std::string_view anchor,
                  bool bold, bool onWhite, double rotate) {
    const double width = WidthOf(text, size);
    Box box = rotate == 0 ? Box{x, y - 0.8 * size, x + width, y + 0.25 * size}
                          : Box{x - 0.8 * size, y - width / 2, x + 0.25 * size, y + width / 2};
    if (rotate == 0) {
        const double shift = anchor == "middle" ? width / 2 : anchor == "end" ? width : 0;
        box.left -= shift, box.right -= shift;
        // Kept inside the figure.
        const double move = box.left < 2             ? 2 - box.left
                            : box.right > width_ - 2 ? width_ - 2 - box.right
                                                     : 0;
        box.left += move, box.right += move, x += move;
    }
    box.onWhite = onWhite;
    texts_.push_back(box);
    if (onWhite) {
        labels_ += "<rect x=\"" + Number(box.left - 2) + "\" y=\"" + Number(box.top) +
                   "\" width=\"" + Number(box.right - box.left + 4) + "\" height=\"" +
                   Number(box.bottom - box.top) + "\" fill=\"#ffffff\" fill-opacity=\"0.85\"/>\n";
    }
    labels_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" font-size=\"" + Number(size) +
               "\"" + (anchor == "start" ? "" : " text-anchor=\"" + std::string(anchor) + "\"") +
               (bold ? " font-weight=\"bold\"" : "") +
               (rotate != 0 ? " transform=\"rotate(" + Number(rotate) + ' ' + Number(x) + ' ' +
                                  Number(y) + ")\""
                            : "") +
               ">" + Escaped(text) + "</text>\n";
}

std::string Figure::Svg() const {
    const double height = std::max<double>(kHeight, keyY_ + 26);
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width_) + "\" height=\"" +
        Number(height) + "\" viewBox=\"0 0 " + Number(width_) + ' ' + Number(height) +
        "\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"" + std::string(kInk) + "\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    const std::string plot = "x=\"" + Number(plot_.left) + "\" y=\"" + Number(plot_.top) +
                             "\" width=\"" + Number(plot_.right - plot_.left) + "\" height=\"" +
                             Number(plot_.bottom - plot_.top) + "\"";
    svg += "<clipPath id=\"plot\"><rect " + plot + "/></clipPath>\n";
    svg += "<g clip-path=\"url(#plot)\">\n" + body_ + "</g>\n";
    svg += frame_;
    svg += "<rect " + plot + " fill=\"none\" stroke=\"" + std::string(kInk) + "\"/>\n";
    svg += labels_;
    svg += "</svg>\n";
    return svg;
}

}  // namespace chart
