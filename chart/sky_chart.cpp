#include "chart/sky_chart.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "chart/year_chart.h"
#include "render.h"

namespace chart {
namespace {

using daycalc::SkyRow;
using daycalc::Sun;

// From the ground up: daylight, the three twilights, the night.
const std::array<QColor, 5> kBands = {QColor(250, 204, 80), QColor(150, 196, 232),
                                      QColor(76, 122, 190), QColor(40, 60, 122),
                                      QColor(14, 18, 44)};
const std::array<const char*, 5> kBandNames = {"Daylight", "Civil twilight", "Nautical twilight",
                                               "Astronomical twilight", "Night"};
const QColor kPolarDay(255, 255, 240);
const QColor kPolarNight(0, 0, 0);
const QColor kMarks(120, 120, 120);

// The plot's rectangle and the year along it; the vertical scale is each chart's own.
struct Frame {
    Frame(int width, int height, double year)
        : scale(std::min(width / double(kWidth), height / double(kHeight))),
          plot(QPointF(84 * scale, 62 * scale), QPointF(width - 24 * scale, height - 92 * scale)),
          year(year) {}

    double Px(double pixels) const { return pixels * scale; }
    double X(double t) const { return plot.left() + t / year * plot.width(); }
    QFont Font(double pixels, bool bold = false) const { return ChartFont(Px(pixels), bold); }

    double scale;
    QRectF plot;
    double year;
};

void PaintTitle(QPainter& p, const Frame& f, const QString& title, const QString& subtitle) {
    p.setPen(Qt::black);
    p.setFont(f.Font(16, true));
    p.drawText(QPointF(f.plot.left(), f.Px(22)), title);
    p.setFont(f.Font(11));
    p.drawText(QPointF(f.plot.left(), f.Px(40)), subtitle);
}

QString Inputs(const daycalc::SkyInputs& in, bool withLatitude) {
    QString text = QStringLiteral("Tilt %1°").arg(Text(in.tilt));
    if (withLatitude) text += QStringLiteral(", latitude %1°").arg(Text(in.latitude));
    return text + QStringLiteral(
                      ", solar day %1, year %2, eccentricity %3, perihelion %4°, "
                      "horizon %5°")
                      .arg(Text(in.solarDay), Text(in.year), Text(in.eccentricity),
                           Text(in.perihelion), AxisText(in.horizon));
}

// Ticks at every quarter of the year with the day below; the solstices and equinoxes as dashed
// lines named above the plot.
void PaintYearAxis(QPainter& p, const Frame& f, const std::array<double, 4>& seasons) {
    QStringList days;
    for (int quarter = 0; quarter <= 4; ++quarter) days << AxisText(f.year / 4 * quarter);
    p.setFont(FittingFont(f.Px(12), f.Px(4), days, f.Px(120)));
    p.setPen(Qt::black);
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double x = f.X(f.year / 4 * quarter);
        p.drawLine(QPointF(x, f.plot.bottom()), QPointF(x, f.plot.bottom() + f.Px(4)));
        QRectF below(x - f.Px(60), f.plot.bottom() + f.Px(5), f.Px(120), f.Px(16));
        below.moveLeft(std::clamp(below.left(), 0.0, f.plot.right() + f.Px(24) - below.width()));
        p.drawText(below, Qt::AlignCenter, days[quarter]);
    }
    p.setFont(f.Font(12));
    p.drawText(QRectF(f.plot.left(), f.plot.bottom() + f.Px(22), f.plot.width(), f.Px(16)),
               Qt::AlignCenter, QStringLiteral("time since the northern winter solstice"));
    p.setFont(f.Font(9.5));
    for (std::size_t i = 0; i < seasons.size(); ++i) {
        const double x = f.X(seasons[i]);
        p.setPen(QPen(kMarks, f.Px(1), Qt::DashLine));
        p.drawLine(QPointF(x, f.plot.top()), QPointF(x, f.plot.bottom()));
        p.setPen(Qt::black);
        const std::string_view season = daycalc::kSeasonNames[i];
        const QString name = QString::fromLatin1(season.data(), qsizetype(season.size()));
        const double width = p.fontMetrics().horizontalAdvance(name);
        const double left = std::clamp(x - width / 2, f.plot.left(), f.plot.right() - width);
        p.drawText(QPointF(left, f.plot.top() - f.Px(5)), name);
    }
}

// The vertical axis: quarters of a whole, labelled with their values.
void PaintValueAxis(QPainter& p, const Frame& f, const QStringList& labels, const QString& title) {
    const double left = f.Px(24), room = f.plot.left() - f.Px(6) - left;
    p.setFont(FittingFont(f.Px(12), f.Px(4), labels, room));
    for (int i = 0; i < labels.size(); ++i) {
        const double y = f.plot.bottom() - f.plot.height() * i / (labels.size() - 1);
        p.setPen(Qt::black);
        p.drawLine(QPointF(f.plot.left() - f.Px(4), y), QPointF(f.plot.left(), y));
        p.drawText(QRectF(left, y - f.Px(8), room, f.Px(16)), Qt::AlignRight | Qt::AlignVCenter,
                   labels[i]);
    }
    p.setFont(f.Font(12));
    p.save();
    p.translate(f.Px(14), f.plot.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-f.plot.height() / 2, -f.Px(8), f.plot.height(), f.Px(16)), Qt::AlignCenter,
               title);
    p.restore();
}

// Keys in a line under the plot: each a swatch painted by `key` and its name.
class Legend {
  public:
    Legend(QPainter& p, const Frame& f) : p_(p), f_(f), x_(f.plot.left()) {
        p_.setFont(f.Font(11));
    }
    template <typename Key>
    void Add(const QString& name, const Key& key) {
        const double y = f_.plot.bottom() + f_.Px(56);
        key(QRectF(x_, y - f_.Px(6), f_.Px(18), f_.Px(12)));
        p_.setPen(Qt::black);
        p_.drawText(QPointF(x_ + f_.Px(22), y + f_.Px(4)), name);
        x_ += f_.Px(22) + p_.fontMetrics().horizontalAdvance(name) + f_.Px(16);
    }
    void Swatch(const QString& name, const QColor& colour) {
        Add(name, [&](const QRectF& r) {
            p_.setPen(QPen(kMarks, f_.Px(0.5)));
            p_.setBrush(colour);
            p_.drawRect(r);
        });
    }

  private:
    QPainter& p_;
    const Frame& f_;
    double x_;
};

QStringList QuarterLabels(double whole) {
    QStringList labels;
    for (int quarter = 0; quarter <= 4; ++quarter) labels << AxisText(whole / 4 * quarter);
    return labels;
}

// The rows a chart draws: one at least half a pixel on from the last, and the last.
std::vector<const SkyRow*> Drawn(const Frame& f, const std::vector<SkyRow>& rows) {
    std::vector<const SkyRow*> drawn;
    for (const SkyRow& row : rows) {
        if (!drawn.empty() && f.X(row.day) - f.X(drawn.back()->day) < 0.5 && &row != &rows.back())
            continue;
        drawn.push_back(&row);
    }
    return drawn;
}

// Daylight's colour for a share of the solar day, from the dark of a short day to the gold of a
// long one; the polar day and night keep colours of their own.
QColor Ramp(double share) {
    const std::array<QColor, 4> stops = {QColor(28, 36, 92), QColor(40, 120, 160),
                                         QColor(150, 190, 110), QColor(250, 204, 80)};
    const double at = std::clamp(share, 0.0, 1.0) * (stops.size() - 1);
    const std::size_t i = std::min<std::size_t>(std::size_t(at), stops.size() - 2);
    const double w = at - double(i);
    const auto mix = [w](int a, int b) { return int(std::lround(a + (b - a) * w)); };
    return QColor(mix(stops[i].red(), stops[i + 1].red()),
                  mix(stops[i].green(), stops[i + 1].green()),
                  mix(stops[i].blue(), stops[i + 1].blue()));
}

QColor CellColour(double daylight, Sun sun, double solarDay) {
    if (sun == Sun::PolarDay) return kPolarDay;
    if (sun == Sun::PolarNight) return kPolarNight;
    return Ramp(daylight / solarDay);
}

// The lines along which the daylight is a given share of the solar day, found in every square of
// four neighbouring cells (marching squares).
QPainterPath Contour(const SkyMap& map, double level,
                     const std::function<QPointF(double, double)>& at) {
    QPainterPath path;
    const auto value = [&](std::size_t l, std::size_t d) { return map.daylight[map.At(l, d)]; };
    for (std::size_t l = 0; l + 1 < map.latitudes.size(); ++l) {
        for (std::size_t d = 0; d + 1 < map.days.size(); ++d) {
            // The corners in turn round the square, and where the level crosses each side.
            const std::array<std::pair<std::size_t, std::size_t>, 4> corners = {
                {{l, d}, {l, d + 1}, {l + 1, d + 1}, {l + 1, d}}};
            std::vector<QPointF> crossings;
            for (std::size_t i = 0; i < 4; ++i) {
                const auto [l0, d0] = corners[i];
                const auto [l1, d1] = corners[(i + 1) % 4];
                const double v0 = value(l0, d0) - level, v1 = value(l1, d1) - level;
                if ((v0 < 0) == (v1 < 0)) continue;
                const double w = v0 / (v0 - v1);
                crossings.push_back(
                    at(map.latitudes[l0] + w * (map.latitudes[l1] - map.latitudes[l0]),
                       map.days[d0] + w * (map.days[d1] - map.days[d0])));
            }
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                path.moveTo(crossings[i]);
                path.lineTo(crossings[i + 1]);
            }
        }
    }
    return path;
}

}  // namespace

void PaintSkyChart(QPainter& p, int width, int height, const daycalc::SkyView& view) {
    const Frame f(width, height, view.inputs.year);
    const double solarDay = view.inputs.solarDay;
    const auto y = [&](double part) { return f.plot.bottom() - part / solarDay * f.plot.height(); };
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    // Each band between the sums of the parts below it and of those up to it.
    const std::vector<const SkyRow*> rows = Drawn(f, view.rows);
    std::vector<double> below(rows.size(), 0.0);
    for (std::size_t band = 0; band < kBands.size(); ++band) {
        QPolygonF area;
        std::vector<double> above(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const SkyRow& r = *rows[i];
            const std::array<double, 5> parts = {r.daylight, r.civil, r.nautical, r.astronomical,
                                                 r.night};
            above[i] = band + 1 == kBands.size() ? solarDay : below[i] + parts[band];
            area << QPointF(f.X(r.day), y(above[i]));
        }
        for (std::size_t i = rows.size(); i-- > 0;) area << QPointF(f.X(rows[i]->day), y(below[i]));
        p.setPen(Qt::NoPen);
        p.setBrush(kBands[band]);
        p.drawPolygon(area);
        below = std::move(above);
    }
    PaintValueAxis(p, f, QuarterLabels(solarDay), QStringLiteral("the solar day, in its unit"));
    PaintYearAxis(p, f, view.seasons);
    p.setPen(QPen(Qt::black, f.Px(1)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.plot);
    PaintTitle(p, f, QStringLiteral("Daylight, twilight and night through the year"),
               Inputs(view.inputs, true));
    Legend legend(p, f);
    for (std::size_t band = 0; band < kBands.size(); ++band) {
        legend.Swatch(QString::fromLatin1(kBandNames[band]), kBands[band]);
    }
}

void PaintSkyMap(QPainter& p, int width, int height, const SkyMap& map) {
    const daycalc::SkyInputs& in = map.inputs;
    const Frame f(width, height, in.year);
    const auto y = [&](double latitude) {
        return f.plot.bottom() - (latitude + 90) / 180 * f.plot.height();
    };
    const auto at = [&](double latitude, double day) { return QPointF(f.X(day), y(latitude)); };
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    // One pixel a cell, north up, stretched over the plot.
    QImage cells(int(map.days.size()), int(map.latitudes.size()), QImage::Format_RGB32);
    for (std::size_t l = 0; l < map.latitudes.size(); ++l) {
        for (std::size_t d = 0; d < map.days.size(); ++d) {
            cells.setPixelColor(
                int(d), int(map.latitudes.size() - 1 - l),
                CellColour(map.daylight[map.At(l, d)], map.sun[map.At(l, d)], in.solarDay));
        }
    }
    p.drawImage(f.plot, cells);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 110), f.Px(0.8)));
    for (int tenth = 1; tenth <= 9; ++tenth) p.drawPath(Contour(map, in.solarDay * tenth / 10, at));

    // The polar circles, where the tilt puts them, and the solstices.
    double lean = std::fmod(std::fabs(in.tilt), 180);
    if (lean > 90) lean = 180 - lean;
    p.setFont(f.Font(9.5));
    for (const double circle : {90 - lean, lean - 90}) {
        p.setPen(QPen(Qt::white, f.Px(1.2), Qt::DashLine));
        p.drawLine(at(circle, 0), at(circle, in.year));
        p.drawText(at(circle, 0) + QPointF(f.Px(4), circle > 0 ? f.Px(12) : -f.Px(4)),
                   QStringLiteral("polar circle"));
    }
    const daycalc::SkyModel model(in);
    PaintYearAxis(
        p, f,
        {0, model.DayOfOrbitAngle(90), model.DayOfOrbitAngle(180), model.DayOfOrbitAngle(270)});
    PaintValueAxis(p, f,
                   {QStringLiteral("-90"), QStringLiteral("-45"), QStringLiteral("0"),
                    QStringLiteral("45"), QStringLiteral("90")},
                   QStringLiteral("latitude, degrees"));
    p.setPen(QPen(Qt::black, f.Px(1)));
    p.drawRect(f.plot);
    PaintTitle(p, f, QStringLiteral("Daylight at every latitude through the year"),
               Inputs(in, false));
    Legend legend(p, f);
    legend.Add(QStringLiteral("daylight, 0 to %1").arg(Text(in.solarDay)), [&](const QRectF& r) {
        QLinearGradient ramp(r.topLeft(), r.topRight());
        for (int i = 0; i <= 10; ++i) ramp.setColorAt(i / 10.0, Ramp(i / 10.0));
        p.fillRect(r, ramp);
    });
    legend.Add(QStringLiteral("a line every tenth of the solar day"), [&](const QRectF& r) {
        p.setPen(QPen(Qt::black, f.Px(1)));
        p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    });
    legend.Swatch(QStringLiteral("Polar day"), kPolarDay);
    legend.Swatch(QStringLiteral("Polar night"), kPolarNight);
}

std::string WriteSkyChart(const daycalc::SkyView& view, const std::string& path) {
    return WriteChart(
        path, QStringLiteral("Daylight, twilight and night through the year"),
        [&](QPainter& p, int width, int height) { PaintSkyChart(p, width, height, view); });
}

std::string WriteSkyMap(const SkyMap& map, const std::string& path) {
    return WriteChart(
        path, QStringLiteral("Daylight at every latitude through the year"),
        [&](QPainter& p, int width, int height) { PaintSkyMap(p, width, height, map); });
}

}  // namespace chart
