#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "window/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(DAYLIGHT_APP_NAME));
    QApplication::setDesktopFileName(QStringLiteral("org.daylightcalc.daylight"));
    Form1 form;
    form.show();
    // The icon needs the SVG renderer; loading it once the window is up shows the window sooner.
    QTimer::singleShot(
        0, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/daylight.svg"))); });
    return QApplication::exec();
}
