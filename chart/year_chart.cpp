#include "chart/year_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>

#include "render.h"

namespace chart {
namespace {

using daycalc::PolarSpan;
using daycalc::YearView;

const QColor kCurve(31, 95, 168);
const QColor kPolarDay(246, 213, 92, 150);
const QColor kPolarNight(59, 74, 107, 70);
const QColor kGrid(220, 220, 220);
const QColor kSeasons(150, 150, 150);

// Where things go: the plot's rectangle, and degrees and daylight mapped into it.
class Frame {
  public:
    Frame(int width, int height, const YearView& view)
        : width_(width),
          scale_(std::min(width / double(kWidth), height / double(kHeight))),
          plot_(QPointF(84 * scale_, 62 * scale_),
                QPointF(width - 24 * scale_, height - 92 * scale_)),
          solarDay_(view.solarDay) {}

    double Px(double pixelsAtFullSize) const { return pixelsAtFullSize * scale_; }
    double Width() const { return width_; }
    const QRectF& Plot() const { return plot_; }
    double X(double degrees) const { return plot_.left() + degrees / 360 * plot_.width(); }
    // The share of the solar day in daylight, 0 at the foot of the plot and 1 at its head.
    double Y(double daylight) const {
        const double share = solarDay_ != 0 ? daylight / solarDay_ : 0;
        return plot_.bottom() - share * plot_.height();
    }
    QFont Font(double pixels, bool bold = false) const { return ChartFont(Px(pixels), bold); }
    QFont Fitting(double pixels, const QStringList& texts, double room) const {
        return FittingFont(Px(pixels), 4, texts, room);
    }

  private:
    double width_;
    double scale_;
    QRectF plot_;
    double solarDay_;
};

void PaintTitle(QPainter& p, const Frame& f, const YearView& view) {
    p.setPen(Qt::black);
    p.setFont(f.Font(16, true));
    p.drawText(QPointF(f.Plot().left(), f.Px(24)), QStringLiteral("Daylight through the year"));
    p.setFont(f.Font(12));
    p.drawText(
        QPointF(f.Plot().left(), f.Px(44)),
        QStringLiteral("Tilt %1°, latitude %2°, solar day %3, year %4")
            .arg(Text(view.tilt), Text(view.latitude), Text(view.solarDay), Text(view.year)));
}

// A span shaded over the plot's height; one around the winter solstice in two pieces.
void ShadeSpan(QPainter& p, const Frame& f, const PolarSpan& span, const QColor& colour) {
    const QRectF& plot = f.Plot();
    const auto shade = [&](double from, double to) {
        p.fillRect(QRectF(QPointF(f.X(from), plot.top()), QPointF(f.X(to), plot.bottom())), colour);
    };
    if (span.start <= span.end) {
        shade(span.start, span.end);
    } else {
        shade(span.start, 360);
        shade(0, span.end);
    }
}

void PaintHoursAxis(QPainter& p, const Frame& f, const YearView& view) {
    QStringList labels;
    for (int quarter = 0; quarter <= 4; ++quarter) {
        labels << AxisText(view.solarDay / 4 * quarter);  // never past the largest double
    }
    // Between the axis's rotated title and the plot.
    const double left = f.Px(24);
    p.setFont(f.Fitting(12, labels, f.Plot().left() - f.Px(6) - left));
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double y = f.Y(view.solarDay / 4 * quarter);
        p.setPen(kGrid);
        p.drawLine(QPointF(f.Plot().left(), y), QPointF(f.Plot().right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(left, y - f.Px(8), f.Plot().left() - f.Px(6) - left, f.Px(16)),
                   Qt::AlignRight | Qt::AlignVCenter, labels[quarter]);
    }
    p.setFont(f.Font(12));
    p.save();
    p.translate(f.Px(14), f.Plot().center().y());
    p.rotate(-90);
    p.drawText(QRectF(-f.Plot().height() / 2, -f.Px(8), f.Plot().height(), f.Px(16)),
               Qt::AlignCenter, QStringLiteral("daylight, in the unit of the solar day"));
    p.restore();
}

// Every 45 degrees a tick with its day of the year below; the solstices and equinoxes named.
void PaintYearAxis(QPainter& p, const Frame& f, const YearView& view) {
    static const char* const kSeasonNames[] = {"winter solstice", "equinox", "summer solstice",
                                               "equinox"};
    const QRectF& plot = f.Plot();
    QStringList days;
    for (int degrees = 0; degrees <= 360; degrees += 45)
        days << AxisText(view.year / 360 * degrees);
    // Narrower than the ticks' spacing, so that the labels at the edges, moved in, keep a gap.
    const QFont dayFont = f.Fitting(12, days, f.Px(70));
    for (int degrees = 0; degrees <= 360; degrees += 45) {
        const double x = f.X(degrees);
        const bool season = degrees % 90 == 0;
        p.setPen(QPen(season ? kSeasons : kGrid, 1, season ? Qt::DashLine : Qt::SolidLine));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(Qt::black);
        p.setFont(f.Font(12));
        // Centred under the tick, but never past the edges of the chart.
        QRectF below(x - f.Px(40), plot.bottom() + f.Px(4), f.Px(80), f.Px(16));
        below.moveLeft(std::clamp(below.left(), 0.0, f.Width() - below.width()));
        p.drawText(below, Qt::AlignCenter, QStringLiteral("%1°").arg(degrees));
        p.setFont(dayFont);
        p.drawText(below.translated(0, f.Px(16)), Qt::AlignCenter, days[degrees / 45]);
        if (season && degrees < 360) {
            p.setFont(f.Font(10));
            p.drawText(QPointF(x + f.Px(3), plot.top() + f.Px(12)),
                       QString::fromLatin1(kSeasonNames[degrees / 90]));
        }
    }
    p.setFont(f.Font(12));
    p.drawText(QRectF(plot.left(), plot.bottom() + f.Px(38), plot.width(), f.Px(16)),
               Qt::AlignCenter,
               QStringLiteral("degrees past the winter solstice, and the day of the year"));
}

// The curve through the rows; a row less than half a pixel from the last one drawn is left
// out, so that a fine step does not make a file of megabytes.
void PaintCurve(QPainter& p, const Frame& f, const YearView& view) {
    QPainterPath path;
    QPointF last;
    for (const daycalc::YearPoint& point : view.points) {
        const QPointF at(f.X(point.fromSolstice), f.Y(point.daylight));
        const bool close = std::abs(at.x() - last.x()) < 0.5 && std::abs(at.y() - last.y()) < 0.5;
        if (path.elementCount() == 0) {
            path.moveTo(at);
        } else if (!close || &point == &view.points.back()) {
            path.lineTo(at);
        } else {
            continue;
        }
        last = at;
    }
    p.setPen(QPen(kCurve, f.Px(2.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// The legend under the axis: the curve, and each polar span the year has.
void PaintLegend(QPainter& p, const Frame& f, const YearView& view) {
    const double y = f.Plot().bottom() + f.Px(72);
    double x = f.Plot().left();
    p.setFont(f.Font(12));
    const auto entry = [&](const QString& name, const auto& paintKey) {
        paintKey(QRectF(x, y - f.Px(6), f.Px(24), f.Px(12)));
        p.setPen(Qt::black);
        p.drawText(QPointF(x + f.Px(30), y + f.Px(5)), name);
        x += f.Px(30) + p.fontMetrics().horizontalAdvance(name) + f.Px(24);
    };
    entry(QStringLiteral("Daylight"), [&](const QRectF& key) {
        p.setPen(QPen(kCurve, f.Px(2.5)));
        p.drawLine(QPointF(key.left(), key.center().y()), QPointF(key.right(), key.center().y()));
    });
    const std::pair<const std::optional<PolarSpan>&, std::pair<QString, QColor>> spans[] = {
        {view.polarDay, {QStringLiteral("Polar day"), kPolarDay}},
        {view.polarNight, {QStringLiteral("Polar night"), kPolarNight}}};
    for (const auto& [span, look] : spans) {
        const QColor colour = look.second;  // a copy: lambdas capture no structured bindings
        if (span) entry(look.first, [&](const QRectF& key) { p.fillRect(key, colour); });
    }
}

}  // namespace

void PaintYearChart(QPainter& p, int width, int height, const YearView& view) {
    const Frame f(width, height, view);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    if (view.polarDay) ShadeSpan(p, f, *view.polarDay, kPolarDay);
    if (view.polarNight) ShadeSpan(p, f, *view.polarNight, kPolarNight);
    PaintHoursAxis(p, f, view);
    PaintYearAxis(p, f, view);
    PaintCurve(p, f, view);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.Plot());
    PaintTitle(p, f, view);
    PaintLegend(p, f, view);
}

std::string WriteYearChart(const YearView& view, const std::string& path) {
    return WriteChart(
        path, QStringLiteral("Daylight through the year"),
        [&](QPainter& p, int width, int height) { PaintYearChart(p, width, height, view); });
}

}  // namespace chart
