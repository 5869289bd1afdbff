#include "caption_frame.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The caption starts this far in from the frame's left edge, with a gap either side where the
// border line is left out; it may run up to that gap before the right border.
constexpr double kCaptionInset = 4;
constexpr double kCaptionGap = 2;
constexpr double kSmallestCaptionPointSize = 6;

QColor LineColour(const QPalette& palette) { return palette.color(QPalette::Mid); }

}  // namespace

int BorderWidth(double scale) { return std::max(1, int(std::lround(scale))); }

double PointsOf(const QFont& font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
}

QFont ShrunkToFit(QFont font, double smallest, const std::function<bool(const QFont&)>& fits) {
    font.setPointSizeF(PointsOf(font));
    while (!fits(font) && font.pointSizeF() > smallest) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    return font;
}

int CaptionFrame::border() const { return BorderWidth(scale_); }

CaptionFrame::CaptionFrame(const QString& caption, double scale, QWidget* parent)
    : QGroupBox(caption, parent), scale_(scale) {}

int CaptionFrame::Px(double pixels) const { return int(std::lround(pixels * scale_)); }

// The frame's font, shrunk until the caption fits between the insets, never below a readable
// size; worked out from the frame's width and font whenever it is asked for.
QFont CaptionFrame::captionFont() const {
    const int room = width() - Px(kCaptionInset + kCaptionGap) - Px(kCaptionGap) - border();
    return ShrunkToFit(font(), kSmallestCaptionPointSize, [&](const QFont& font) {
        return QFontMetrics(font).horizontalAdvance(title()) <= room;
    });
}

QRect CaptionFrame::captionRect() const {
    const QFontMetrics metrics(captionFont());
    return {Px(kCaptionInset + kCaptionGap), 0, metrics.horizontalAdvance(title()),
            metrics.height()};
}

void CaptionFrame::paintEvent(QPaintEvent*) {
    const QRect caption = captionRect();
    const int border = this->border();
    const int lineTop = caption.center().y() - border / 2;
    const int gap = Px(kCaptionGap);

    QPainter painter(this);
    const QColor line = LineColour(palette());
    // The top border, left out behind the caption; then the sides and the foot.
    painter.fillRect(QRect(0, lineTop, caption.left() - gap, border), line);
    painter.fillRect(QRect(QPoint(caption.right() + 1 + gap, lineTop),
                           QPoint(width() - 1, lineTop + border - 1)),
                     line);
    painter.fillRect(QRect(0, lineTop, border, height() - lineTop), line);
    painter.fillRect(QRect(width() - border, lineTop, border, height() - lineTop), line);
    painter.fillRect(QRect(0, height() - border, width(), border), line);
    painter.setFont(captionFont());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop, title());
}

void RuleSegment::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), LineColour(palette()));
}
