#include "render.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <optional>

#include "chart/whole_file.h"
#include "chart/year_chart.h"
#include "runtime/runtime.h"

namespace chart {

std::string WriteChart(const std::string& path, const QString& title,
                       const std::function<void(QPainter&, int, int)>& paint) {
    const std::optional<Format> format = FormatOf(path);
    if (!format) return "the file name must end in .svg or .png";
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (*format == Format::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(kWidth, kHeight));
        svg.setViewBox(QRect(0, 0, kWidth, kHeight));
        svg.setTitle(title);
        QPainter painter(&svg);
        paint(painter, kWidth, kHeight);
        painter.end();
    } else {
        QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        paint(painter, kWidth, kHeight);
        painter.end();
        QImageWriter(&buffer, "png").write(image);
    }
    const QByteArray& bytes = buffer.data();
    if (bytes.isEmpty()) return "the chart could not be drawn";
    return ReplaceWhole(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

QString Text(double value) { return QString::fromStdString(rt::TextFromDouble(value)); }

QString AxisText(double value) {
    return Text(rt::RoundToDigits(value, 6) + 0.0);  // + 0.0: never "-0"
}

QFont ChartFont(double pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(pixels)));
    font.setBold(bold);
    return font;
}

QFont FittingFont(double pixels, double smallest, const QStringList& texts, double room) {
    for (;; pixels -= 0.5) {
        const QFont font = ChartFont(pixels);
        const QFontMetricsF metrics(font);
        const bool fits = std::all_of(texts.begin(), texts.end(), [&](const QString& text) {
            return metrics.horizontalAdvance(text) <= room;
        });
        if (fits || pixels <= smallest) return font;
    }
}

}  // namespace chart
