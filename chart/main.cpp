// daylight-chart: draws a chart into a file, for the companion, which loads no Qt of its own.
// Usage:
//   daylight-chart year FILE TILT LATITUDE SOLAR_DAY YEAR STEP
//     the four values texts read as the companion reads them, the step in degrees;
//   daylight-chart sky FILE TILT LATITUDE SOLAR_DAY YEAR ECCENTRICITY PERIHELION HORIZON STEP
//   daylight-chart map FILE TILT LATITUDE SOLAR_DAY YEAR ECCENTRICITY PERIHELION HORIZON STEP
//                      LATITUDE_STEP
//     every value a number (the map's latitude unused).
// Exit status: 0 written, 1 the year stopped at a fault, 2 anything else; the reason goes to the
// standard error as one line.
#include <QGuiApplication>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chart/sky_chart.h"
#include "chart/year_chart.h"
#include "daylight/table.h"

namespace {

// Keeps Qt's notes about the session it runs in (no runtime directory, no screen) from the
// user; what goes wrong with the chart itself comes back as a message of its own.
void OnlyCriticalMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) qt_message_output(type, context, text);
}

std::optional<double> NumberOf(const char* text) { return rt::StrictNumber(text); }

// The sky's inputs from the twelve numbers that follow the file and the longitude ("any" or a
// number), or none.
constexpr int kSkyValues = 13;
std::optional<daycalc::SkyInputs> SkyInputsOf(char** values) {
    std::vector<double> v;
    for (int i = 0; i < kSkyValues - 1; ++i) {
        const std::optional<double> value = NumberOf(values[i]);
        if (!value) return std::nullopt;
        v.push_back(*value);
    }
    const std::string_view longitude = values[kSkyValues - 1];
    const std::optional<double> at = NumberOf(values[kSkyValues - 1]);
    if (longitude != "any" && !at) return std::nullopt;
    return daycalc::SkyInputs{v[0],
                              v[1],
                              v[2],
                              v[3],
                              v[4],
                              v[5],
                              v[6],
                              v[7],
                              v[8],
                              v[9],
                              v[10] != 0,
                              v[11],
                              at ? *at : daycalc::kAnyLongitude};
}

// What the chart shows, worked out before Qt starts: a function that writes it, or a status and
// a reason.
struct Job {
    int status = 0;
    std::string reason;
    std::function<std::string(const std::string&)> write;
};

Job YearJob(char** argv) {
    const daycalc::DaylightInputs inputs{
        .tilt = argv[0], .latitude = argv[1], .solarDay = argv[2], .year = argv[3]};
    const std::optional<double> step = NumberOf(argv[4]);
    if (!step) return {2, "the step is not a number", {}};
    daycalc::YearOutcome year = daycalc::ComputeYear(inputs, *step);
    if (const auto* problem = std::get_if<daycalc::Problem>(&year))
        return {1, problem->message, {}};
    return {0, "", [view = std::get<daycalc::YearView>(std::move(year))](const std::string& path) {
                return chart::WriteYearChart(view, path);
            }};
}

Job SkyJob(char** argv) {
    const std::optional<daycalc::SkyInputs> in = SkyInputsOf(argv);
    if (!in) return {2, "a value is not a number", {}};
    daycalc::SkyOutcome sky = daycalc::ComputeSky(*in);
    if (const auto* problem = std::get_if<daycalc::Problem>(&sky)) return {2, problem->message, {}};
    return {0, "", [view = std::get<daycalc::SkyView>(std::move(sky))](const std::string& path) {
                return chart::WriteSkyChart(view, path);
            }};
}

Job MapJob(char** argv) {
    const std::optional<daycalc::SkyInputs> in = SkyInputsOf(argv);
    const std::optional<double> latitudeStep = NumberOf(argv[kSkyValues]);
    if (!in || !latitudeStep) return {2, "a value is not a number", {}};
    // The map's table, kept whole for the picture.
    class Keep : public daycalc::TableConsumer {
      public:
        explicit Keep(chart::SkyMap& map) : map_(map) {}
        void Columns(std::span<const std::string_view>) override {}
        bool Row(std::span<const daycalc::Cell> cells) override {
            if (map_.latitudes.empty() || map_.latitudes.back() != cells[0].number) {
                map_.latitudes.push_back(cells[0].number);
            }
            if (map_.latitudes.size() == 1) map_.days.push_back(cells[1].number);
            map_.daylight.push_back(cells[2].number);
            map_.sun.push_back(SunNamed(cells[3].word));
            return true;
        }
        void Summary(std::span<const daycalc::Named>) override {}

      private:
        static daycalc::Sun SunNamed(std::string_view word) {
            for (const daycalc::Sun sun :
                 {daycalc::Sun::Rises, daycalc::Sun::PolarDay, daycalc::Sun::PolarNight}) {
                if (daycalc::SunName(sun) == word) return sun;
            }
            return daycalc::Sun::Rises;
        }
        chart::SkyMap& map_;
    };
    chart::SkyMap map{.inputs = *in, .latitudes = {}, .days = {}, .daylight = {}, .sun = {}};
    Keep keep(map);
    if (const auto problem = daycalc::ProduceMap(*in, *latitudeStep, keep)) {
        return {2, problem->message, {}};
    }
    return {0, "", [map = std::move(map)](const std::string& path) {
                return chart::WriteSkyMap(map, path);
            }};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view kind = argc > 1 ? argv[1] : "";
    Job job;
    if (kind == "year" && argc == 8) {
        job = YearJob(argv + 3);
    } else if (kind == "sky" && argc == 3 + kSkyValues) {
        job = SkyJob(argv + 3);
    } else if (kind == "map" && argc == 4 + kSkyValues) {
        job = MapJob(argv + 3);
    } else {
        std::cerr << "usage: daylight-chart year|sky|map FILE VALUE...\n";
        return 2;
    }
    if (!job.write) {
        std::cerr << job.reason << '\n';
        return job.status;
    }
    // Text is drawn only once a GUI application exists; this one needs no screen.
    qInstallMessageHandler(OnlyCriticalMessages);
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgv[] = {argv[0], platformOption, offscreen, nullptr};
    int qtArgc = 3;
    const QGuiApplication app(qtArgc, qtArgv);
    const std::string problem = job.write(argv[2]);
    if (problem.empty()) return 0;
    std::cerr << problem << '\n';
    return 2;
}
