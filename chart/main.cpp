// daylight-chart: a chart drawn as SVG, rendered into a PNG of its size with Qt's SVG renderer,
// for the companion, which loads no Qt of its own and draws every chart as SVG.
// Usage: daylight-chart CHART.svg OUT.png
// Exit status: 0 written, 2 anything else; the reason goes to the standard error as one line.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <iostream>
#include <string>

#include "chart/whole_file.h"

namespace {

void OnlyCriticalMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) qt_message_output(type, context, text);
}

// The PNG of the SVG file, or why there is none.
std::string Render(const char* svgPath, const std::string& pngPath) {
    QSvgRenderer renderer{QString::fromLocal8Bit(svgPath)};
    if (!renderer.isValid()) return std::string("not a chart that can be drawn: ") + svgPath;
    const QSize size = renderer.defaultSize();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(image)) return "the chart could not be drawn";
    const QByteArray& bytes = buffer.data();
    return chart::ReplaceWhole(pngPath,
                               std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: daylight-chart CHART.svg OUT.png\n";
        return 2;
    }
    // Text is drawn only once a GUI application exists; this one needs no screen.
    qInstallMessageHandler(OnlyCriticalMessages);
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgv[] = {argv[0], platformOption, offscreen, nullptr};
    int qtArgc = 3;
    const QGuiApplication app(qtArgc, qtArgv);
    const std::string problem = Render(argv[1], argv[2]);
    if (problem.empty()) return 0;
    std::cerr << problem << '\n';
    return 2;
}
