#include "year_command.h"

#include <optional>
#include <ostream>
#include <string_view>

#include "chart/charts.h"
#include "daylight/table.h"
#include "daylight/year.h"
#include "input_option.h"
#include "output.h"
#include "table.h"

namespace companion {
namespace {

using rt::TextFromDouble;

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
    AddNumberWithin(*year, "--step", request.step, "Degrees from one row to the next, 0.001 to 360",
                    daycalc::RangeOf("year_step"));
    AddMarkOption(*year, request.mark);
    AddClockOption(*year, request.clock);
    AddTableOptions(*year, request.csv, request.json, request.chart, request.chartWidth, "the year",
                    kYearStatusesSaid);
    return year;
}

int RunYear(const daycalc::DaylightInputs& inputs, const YearRequest& request, std::ostream& out,
            std::ostream& err) {
    // The inputs as read, for JSON and the chart's title.
    const daycalc::YearOutcome asRead = daycalc::YearAsRead(inputs);
    Json read = Json::object();
    if (const auto* view = std::get_if<daycalc::YearView>(&asRead)) {
        read = {{"tilt", TextFromDouble(view->tilt)},
                {"latitude", TextFromDouble(view->latitude)},
                {"solar_day", TextFromDouble(view->solarDay)},
                {"year", TextFromDouble(view->year)},
                {"step", TextFromDouble(request.step)}};
    }
    // The chart takes the same rows as they are printed.
    std::optional<chart::YearChart> drawing;
    if (const auto* view = std::get_if<daycalc::YearView>(&asRead);
        view && !request.chart.empty()) {
        drawing.emplace(*view);
        drawing->MarkDay(request.mark);
        drawing->SetWidth(request.chartWidth);
    }
    const auto* view = std::get_if<daycalc::YearView>(&asRead);
    TableWriter writer(out, request.json, read, drawing ? &*drawing : nullptr, Json(request.notes),
                       CellForm(request.clock, view ? view->solarDay : 24));
    if (const auto problem = daycalc::ProduceYear(inputs, request.step, writer)) {
        return ReportProblem(*problem, request.json, out, err);
    }
    // The rows come before anything the chart has to say; no chart for a year not written.
    if (!out.flush()) return ReportWriteFailure(err);
    if (!drawing) return kResults;
    return ReportChart(request.writeChart(request.chart, drawing->Svg()), request.chart, err);
}

}  // namespace companion
