#include <QApplication>
#include <QIcon>

#include "window/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Daylight"));
    QApplication::setDesktopFileName(QStringLiteral("org.daylightcalc.Daylight"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/daylight.svg")));
    Form1 form;
    form.show();
    return QApplication::exec();
}
