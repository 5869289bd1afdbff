// daylight-chart: draws the year's chart into a file, for the companion, which loads no Qt of its
// own. Usage: daylight-chart FILE TILT LATITUDE SOLAR_DAY YEAR STEP
// The four values are texts read as the companion reads them, the step a number in degrees.
// Exit status: 0 written, 1 the year stopped at a fault, 2 anything else; the reason goes to the
// standard error as one line.
#include <QGuiApplication>
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "chart/year_chart.h"

namespace {

// Keeps Qt's notes about the session it runs in (no runtime directory, no screen) from the
// user; what goes wrong with the chart itself comes back as a message of its own.
void OnlyCriticalMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) qt_message_output(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::cerr << "usage: daylight-chart FILE TILT LATITUDE SOLAR_DAY YEAR STEP\n";
        return 2;
    }
    const std::string path = argv[1];
    const daycalc::DaylightInputs inputs{
        .tilt = argv[2], .latitude = argv[3], .solarDay = argv[4], .year = argv[5]};
    double step = 0;
    const char* stepEnd = argv[6] + std::strlen(argv[6]);
    if (std::from_chars(argv[6], stepEnd, step).ptr != stepEnd) {
        std::cerr << "the step is not a number\n";
        return 2;
    }
    const daycalc::YearOutcome year = daycalc::ComputeYear(inputs, step);
    if (const auto* fault = std::get_if<rt::Fault>(&year)) {
        std::cerr << fault->message() << '\n';
        return 1;
    }

    // Text is drawn only once a GUI application exists; this one needs no screen.
    qInstallMessageHandler(OnlyCriticalMessages);
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgv[] = {argv[0], platformOption, offscreen, nullptr};
    int qtArgc = 3;
    const QGuiApplication app(qtArgc, qtArgv);
    const std::string problem = chart::WriteYearChart(std::get<daycalc::YearView>(year), path);
    if (problem.empty()) return 0;
    std::cerr << problem << '\n';
    return 2;
}
