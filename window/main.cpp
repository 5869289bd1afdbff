#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <iostream>
#include <string_view>

#include "window/form1.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: daylight [OPTION]\n"
    "The lengths of day and night on a planet whose axis is tilted against its orbit, in one\n"
    "window. Type the length of the solar day, the latitude, the axial tilt, the point of the\n"
    "year (degrees past the northern winter solstice) and the length of the year, and press\n"
    "Compute: the window gives the days at the northern winter and summer solstices (Min Day\n"
    "and Max Day), daylight and night on the chosen day, or beyond the polar circle the part\n"
    "of the year with the sun always up (Full Daylight). Where there is no answer, it says why\n"
    "and what to change.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "Qt's own options, such as -platform, are taken as well.\n"
    "\n"
    "The same calculation, a whole year and the real sky are on the command line: see\n"
    "daylight-cli --help.\n";

}  // namespace

int main(int argc, char* argv[]) {
    // Help and the version are answered before anything needs a display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            std::cout << (arg == "--version" ? "daylight " DAYLIGHT_VERSION "\n" : kHelp);
            return std::cout.flush() ? 0 : 1;
        }
    }
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
