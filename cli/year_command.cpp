#include "year_command.h"

#include <array>
#include <optional>
#include <ostream>
#include <string_view>

#include "daylight/year.h"
#include "input_option.h"
#include "output.h"
#include "table.h"

namespace companion {
namespace {

using daycalc::PolarSpan;
using daycalc::YearPoint;
using daycalc::YearView;
using rt::TextFromDouble;

constexpr std::array<std::string_view, 5> kColumns = {"from_solstice", "day_of_year", "daylight",
                                                      "night", "sun"};

// A row's texts, in the order of the columns.
std::array<std::string, 5> RowTexts(const YearPoint& p) {
    return {TextFromDouble(p.fromSolstice), TextFromDouble(p.dayOfYear), TextFromDouble(p.daylight),
            TextFromDouble(p.night), std::string(daycalc::SunName(p.sun))};
}

Json SpanJson(const std::optional<PolarSpan>& span) {
    if (!span) return nullptr;
    return {{"start", TextFromDouble(span->start)},
            {"end", TextFromDouble(span->end)},
            {"length", TextFromDouble(span->length)}};
}

// One JSON object: the inputs as read, the rows, the summary. The rows go out one by one, so a
// year of 360,001 rows takes no more memory than its points.
void PrintJson(std::ostream& out, const YearView& view, double step) {
    const Json inputs = {{"tilt", TextFromDouble(view.tilt)},
                         {"latitude", TextFromDouble(view.latitude)},
                         {"solar_day", TextFromDouble(view.solarDay)},
                         {"year", TextFromDouble(view.year)},
                         {"step", TextFromDouble(step)}};
    JsonTable table(out, inputs);
    for (const YearPoint& p : view.points) {
        if (!out) return;  // a full disk: stop at once, the caller says so
        table.Row(RowJson(kColumns, RowTexts(p)));
    }
    table.End({{"shortest_daylight", TextFromDouble(view.shortestDaylight)},
               {"longest_daylight", TextFromDouble(view.longestDaylight)},
               {"polar_day", SpanJson(view.polarDay)},
               {"polar_night", SpanJson(view.polarNight)}});
}

void PrintSpan(std::ostream& out, std::string_view name, const std::optional<PolarSpan>& span) {
    out << "# " << name << ": ";
    if (!span) {
        out << "none\n";
        return;
    }
    out << "from " << TextFromDouble(span->start) << " to " << TextFromDouble(span->end)
        << " degrees past the winter solstice, " << TextFromDouble(span->length)
        << " in the unit of the year\n";
}

// The table as CSV with a header line, and the summary after it as comment lines.
void PrintCsv(std::ostream& out, const YearView& view) {
    PrintCsvLine(out, kColumns);
    for (const YearPoint& p : view.points) {
        if (!out) return;  // a full disk: stop at once, the caller says so
        PrintCsvLine(out, RowTexts(p));
    }
    out << "# shortest daylight: " << TextFromDouble(view.shortestDaylight) << '\n'
        << "# longest daylight: " << TextFromDouble(view.longestDaylight) << '\n';
    PrintSpan(out, "polar day", view.polarDay);
    PrintSpan(out, "polar night", view.polarNight);
}

std::string CheckStep(const std::string& text) {
    const std::optional<double> step = rt::StrictNumber(text);
    if (!step) return "";  // said as for every number
    if (*step >= daycalc::kFinestYearStep && *step <= daycalc::kCoarsestYearStep) return "";
    return "the step must be from " + TextFromDouble(daycalc::kFinestYearStep) + " to " +
           TextFromDouble(daycalc::kCoarsestYearStep) + " degrees";
}

}  // namespace

CLI::App* AddYearCommand(CLI::App& app, daycalc::DaylightInputs& inputs, YearRequest& request) {
    CLI::App* year = app.add_subcommand(
        "year",
        "Daylight and night at every point of the year, from 0 to 360 degrees past the winter\n"
        "solstice; where the sun never rises or never sets the row says polar-night or\n"
        "polar-day. After the rows: the shortest and longest daylight, and the spans of polar\n"
        "day and night (start and end in degrees, length in the unit of the year).");
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        if (f.text == &daycalc::DaylightInputs::fromSolstice) continue;  // the year has them all
        AddInputOption(*year, f, inputs);
    }
    AddNumberOption(*year, "--step", request.step, "Degrees from one row to the next, 0.001 to 360")
        ->check(CheckStep);
    AddTableOptions(*year, request.csv, request.json, request.chart, "the year",
                    "Exit status: 0 the year, 1 a fault as in the single mode (an overflowing "
                    "number, no\ntilt beyond the pole), 2 a bad command line");
    return year;
}

int RunYear(const daycalc::DaylightInputs& inputs, const YearRequest& request, std::ostream& out,
            std::ostream& err) {
    const daycalc::YearOutcome outcome = daycalc::ComputeYear(inputs, request.step);
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    const YearView& view = std::get<YearView>(outcome);
    if (request.json) {
        PrintJson(out, view, request.step);
    } else {
        PrintCsv(out, view);
    }
    // The rows come before anything the chart has to say; no chart for a year not written.
    if (!out.flush()) return ReportWriteFailure(err);
    if (request.chart.empty()) return kResults;
    return ReportChart(DrawChart({"year", request.chart, inputs.tilt, inputs.latitude,
                                  inputs.solarDay, inputs.year, rt::ShortestText(request.step)}),
                       request.chart, err);
}

}  // namespace companion
