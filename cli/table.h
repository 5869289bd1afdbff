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
#include <vector>

#include "chart/charts.h"
#include "chart_program.h"
#include "daylight/table.h"
#include "input_option.h"
#include "output.h"

namespace companion {

// A table written as CSV: a header line, a line a row, and the summary as comment lines.
class CsvWriter : public daycalc::TableConsumer {
  public:
    explicit CsvWriter(std::ostream& out) : out_(out) {}
    void Columns(std::span<const std::string_view> names) override;
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Summary(std::span<const daycalc::Named> values) override;

  private:
    std::ostream& out_;
    std::string line_;
};

// A table written as one JSON object, {"inputs":…,"notes":[…],"rows":[…], and the summary's
// members}, as it goes: the rows one by one, each an object whose members are the columns; the
// notes only where there are some.
class JsonWriter : public daycalc::TableConsumer {
  public:
    JsonWriter(std::ostream& out, const Json& inputs, const Json& notes)
        : out_(out), inputs_(inputs), notes_(notes) {}
    void Columns(std::span<const std::string_view> names) override;
    bool Row(std::span<const daycalc::Cell> cells) override;
    void Summary(std::span<const daycalc::Named> values) override;

  private:
    std::ostream& out_;
    Json inputs_;
    Json notes_;
    std::vector<std::string> columns_;  // each as `"name":"`
    std::string line_;
    const char* separator_ = "";
};

// The writer of a table in the form asked for, JSON or CSV, which hands the same rows to the
// chart being drawn of them, if any. The rows stop where the output fails.
class TableWriter : public daycalc::TableConsumer {
  public:
    TableWriter(std::ostream& out, bool json, const Json& inputs, chart::Chart* drawing = nullptr,
                const Json& notes = Json::array())
        : csv_(out), json_(out, inputs, notes), isJson_(json), drawing_(drawing) {}
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
               chart::ChosenDay, "the mark must be from 0 to 360 degrees")
        ->default_str("");
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
    AddNumberWithin(
        command, "--chart-width", chartWidth,
        "The chart's width in pixels, from 300 (a phone's screen) to 800",
        [](const std::string& text) {
            const double width = *rt::StrictNumber(text);
            return width >= chart::kNarrowest && width <= chart::kWidth;
        },
        "the chart's width must be from 300 to 800 pixels");
    command.footer(
        statuses + " or a chart that could not be written,\n3 output that could not be written." +
        (png ? "" : "\nThis daylight-cli was built without Qt: its charts are SVG only."));
}

}  // namespace companion
