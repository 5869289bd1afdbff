// A frame that draws its caption on its top border line, whatever the style: the look the
// control table is laid out for, with the caption set smaller where it would not fit whole.
#pragma once

#include <QGroupBox>
#include <functional>

// The thickness of a frame's border and of the stepped rule, in pixels at a layout scale.
int BorderWidth(double scale);

// The font's size in points, also where it was given in pixels (at 96 dots per inch).
double PointsOf(const QFont& font);

// The font made smaller a quarter point at a time until what it sets fits, but no smaller than
// `smallest` points: a text set smaller reads right, a text cut reads as another.
QFont ShrunkToFit(QFont font, double smallest, const std::function<bool(const QFont&)>& fits);

class CaptionFrame : public QGroupBox {
  public:
    CaptionFrame(const QString& caption, double scale, QWidget* parent);

    // The caption's font and where it is drawn, in the frame's coordinates.
    QFont captionFont() const;
    QRect captionRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int Px(double pixels) const;  // pixels at the layout scale
    int border() const;

    double scale_;
};

// A straight segment of the stepped rule: a filled bar as thick as the frames' borders.
class RuleSegment : public QWidget {
  public:
    explicit RuleSegment(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
};
