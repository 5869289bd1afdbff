// The tables of the year, the sky and the map as the companion prints them, CSV or JSON; and the
// options and exit statuses those commands share.
#pragma once

#include <CLI/CLI.hpp>
#include <array>
#include <cstddef>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/charts.h"
#include "chart_program.h"
#include "daylight/table.h"
#include "input_option.h"
#include "output.h"

namespace companion {

// How a table's cells are written: numbers as their 15-digit texts, or with --clock its times as a
// clock shows them and its lengths of time as hours, minutes and seconds ("05:41:07" and
// "9:21:07"). A solar day of other than 24 hours has no clock: its times are lengths from its
// midnight, all in its own unit, as the table's first line says.
class CellForm {
  public:
    explicit CellForm(bool clock = false, double solarDay = 24)
        : clock_(clock), dayOf24_(solarDay == 24), solarDay_(solarDay) {}
    // Which column is a time, which a length, from their names.
    void Columns(std::span<const std::string_view> names);
    void Append(std::string& line, std::size_t column, const daycalc::Cell& cell) const;
    // A length of time in the summary, and a number of it by its name (the shortest and longest
    // daylight are lengths).
    std::string Length(double hours) const;
    std::string Summary(std::string_view name, double value) const;
    // What the table's first line says of its unit, or nothing.
    std::string Unit() const;

  private:
    enum class Kind { Number, Time, Length };
    bool clock_;
    bool dayOf24_;
    double solarDay_;
    std::vector<Kind> kinds_;
};

// A table written as CSV: a header line, a line a row, and the summary as comment lines.
class CsvWriter : public daycalc::TableConsumer {
  public:
    explicit CsvWriter(std::ostream& out, CellForm form = CellForm())
        : out_(out), form_(std::move(form)) {}
    void Columns(std::span<const std::string_view> names) override;
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Summary(std::span<const daycalc::Named> values) override;

  private:
    std::ostream& out_;
    CellForm form_;
    std::string line_;
};

// A table written as one JSON object, {"inputs":…,"notes":[…],"rows":[…], and the summary's
// members}, as it goes: the rows one by one, each an object whose members are the columns; the
// notes only where there are some.
class JsonWriter : public daycalc::TableConsumer {
  public:
    JsonWriter(std::ostream& out, const Json& inputs, const Json& notes, CellForm form = CellForm())
        : out_(out), inputs_(inputs), notes_(notes), form_(std::move(form)) {}
    void Columns(std::span<const std::string_view> names) override;
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Summary(std::span<const daycalc::Named> values) override;

  private:
    std::ostream& out_;
    Json inputs_;
    Json notes_;
    CellForm form_;
    std::vector<std::string> columns_;  // each as `"name":"`
    std::string line_;
    const char* separator_ = "";
};

// The writer of a table in the form asked for, JSON or CSV, which hands the same rows to the
// chart being drawn of them, if any. The rows stop where the output fails.
class TableWriter : public daycalc::TableConsumer {
  public:
    TableWriter(std::ostream& out, bool json, const Json& inputs, chart::Chart* drawing = nullptr,
                const Json& notes = Json::array(), const CellForm& form = CellForm())
        : csv_(out, form), json_(out, inputs, notes, form), isJson_(json), drawing_(drawing) {}
    void Columns(std::span<const std::string_view> names) override;
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Summary(std::span<const daycalc::Named> values) override;

  private:
    daycalc::TableConsumer& Form() {
        return isJson_ ? static_cast<daycalc::TableConsumer&>(json_) : csv_;
    }
    CsvWriter csv_;
    JsonWriter json_;
    bool isJson_;
    chart::Chart* drawing_;
};

// Offers --mark: the chosen day a chart marks.
inline CLI::Option* AddMarkOption(CLI::App& command, double& mark) {
    return AddNumberWithin(
               command, "--mark", mark,
               "Degrees past the winter solstice to mark on the chart as the chosen day,\n0 to 360",
               daycalc::RangeOf("mark"))
        ->default_str("");
}

// Offers --clock: times and lengths as people read them.
inline CLI::Option* AddClockOption(CLI::App& command, bool& clock) {
    return command.add_flag("--clock", clock,
                            "Times as a clock shows them (05:41:07, with +1 or -1 on the next or\n"
                            "previous date) and lengths as hours, minutes and seconds (9:21:07);\n"
                            "without it, decimal hours of the solar day's unit");
}

// Offers --csv (the default), --json and --chart for what is drawn; the footer gives the exit
// statuses, the first ones as stated, then the chart's and 3.
inline void AddTableOptions(CLI::App& command, bool& csv, bool& json, std::string& chart,
                            double& chartWidth, const std::string& drawn,
                            const std::string& statuses) {
    CLI::Option* csvFlag = command.add_flag("--csv", csv, "CSV with a header line (the default)");
    command.add_flag("--json", json, "One JSON object: inputs, rows and summary")
        ->excludes(csvFlag);
    const bool png = AddChartOption(command, chart, drawn);
    // The chart's widths are the chart kit's own.
    static constexpr daycalc::ValueRange kChartWidths{
        "chart_width",
        chart::kNarrowest,
        chart::kWidth,
        true,
        true,
        false,
        0,
        0,
        "the chart's width must be from 300 to 800 pixels"};
    AddNumberWithin(command, "--chart-width", chartWidth,
                    "The chart's width in pixels, from 300 (a phone's screen) to 800",
                    kChartWidths);
    command.footer(
        statuses + " or a chart that could not be written,\n3 output that could not be written." +
        (png ? "" : "\nThis daylight-cli was built without Qt: its charts are SVG only."));
}

}  // namespace companion
