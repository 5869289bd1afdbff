// Rows of numbers as the year and the sky print them: a CSV line, or a JSON object whose fields
// are the columns; and the options and exit statuses those commands share.
#pragma once

#include <CLI/CLI.hpp>
#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "chart_program.h"
#include "output.h"

namespace companion {

// Any range of texts: an array, or a vector.
template <typename Texts>
void PrintCsvLine(std::ostream& out, const Texts& texts) {
    const char* separator = "";
    for (const auto& text : texts) {
        out << separator << text;
        separator = ",";
    }
    out << '\n';
}

template <typename Columns, typename Texts>
Json RowJson(const Columns& columns, const Texts& texts) {
    Json row = Json::object();
    auto text = texts.begin();
    for (const std::string_view column : columns) row[std::string(column)] = *text++;
    return row;
}

// One JSON object for a table, {"inputs":…,"rows":[…], and the summary's members}, written as it
// goes: the rows one by one, so that a long table takes no more memory than one row.
class JsonTable {
  public:
    JsonTable(std::ostream& out, const Json& inputs) : out_(out) {
        out_ << R"({"inputs":)" << Dump(inputs) << R"(,"rows":[)";
    }
    void Row(const Json& row) {
        out_ << separator_ << Dump(row);
        separator_ = ",";
    }
    // The end of the rows, the summary's members and the last brace.
    void End(const Json& summary = Json::object()) {
        out_ << ']';
        if (summary.empty()) {
            out_ << "}\n";
        } else {
            out_ << ',' << Dump(summary).substr(1) << '\n';
        }
    }

  private:
    std::ostream& out_;
    const char* separator_ = "";
};

// Offers --csv (the default), --json and, where this build draws charts, --chart for what is
// drawn; the footer gives the exit statuses, the first ones as stated, then the chart's and 3.
inline void AddTableOptions(CLI::App& command, bool& csv, bool& json, std::string& chart,
                            const std::string& drawn, const std::string& statuses) {
    CLI::Option* csvFlag = command.add_flag("--csv", csv, "CSV with a header line (the default)");
    command.add_flag("--json", json, "One JSON object: inputs, rows and summary")
        ->excludes(csvFlag);
    const bool charts = AddChartOption(command, chart, drawn);
    command.footer(
        statuses + std::string(charts ? " or a chart that could not be written" : "") +
        ",\n3 output that could not be written." +
        (charts ? "" : "\nThis daylight-cli was built without charts: --chart is not offered."));
}

}  // namespace companion
