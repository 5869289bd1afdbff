// What every chart shares: its file, its fonts and the numbers on its axes.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QPainter;

namespace chart {

// Draws a chart of kWidth by kHeight with `paint` and writes it whole in the format of the file's
// name: SVG through Qt's generator, PNG through its image writer. Says what went wrong, or nothing.
std::string WriteChart(const std::string& path, const QString& title,
                       const std::function<void(QPainter&, int, int)>& paint);

// A number in the 15-digit form.
QString Text(double value);

// A number for an axis: the 15-digit form of the value rounded to six significant digits.
QString AxisText(double value);

// The chart's font at a size in pixels.
QFont ChartFont(double pixels, bool bold = false);

// The font from `pixels` down, by half pixels to no less than `smallest`, at which every text
// fits the room whole: a label cut at the edge would read as another number.
QFont FittingFont(double pixels, double smallest, const QStringList& texts, double room);

}  // namespace chart
