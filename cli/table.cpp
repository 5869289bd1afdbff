#include "table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <variant>

#include "daylight/sun.h"

namespace companion {
namespace {

using daycalc::Cell;
using daycalc::Named;
using daycalc::Span;
using rt::TextFromDouble;

// A cell's text: its word, its number, or nothing where there is none.
void AppendCell(std::string& line, const Cell& cell) {
    if (!cell.word.empty()) {
        line.append(cell.word);
    } else if (!std::isnan(cell.number)) {
        line.append(TextFromDouble(cell.number));
    }
}

Json SpanJson(const Span& s) {
    return {{"start", TextFromDouble(s.start)},
            {"end", TextFromDouble(s.end)},
            {"length", TextFromDouble(s.length)}};
}

// "from 12 to 34<unit>, 5.6 in the unit of the year"
std::string SpanWords(const Span& s, std::string_view unit) {
    return "from " + TextFromDouble(s.start) + " to " + TextFromDouble(s.end) + std::string(unit) +
           ", " + TextFromDouble(s.length) + " in the unit of the year";
}

// The columns (and the summaries' members) that hold times after midnight, and those that hold
// lengths of time.
constexpr std::array<std::string_view, 20> kTimes = {"sunrise",
                                                     "noon",
                                                     "sunset",
                                                     "civil_dawn",
                                                     "civil_dusk",
                                                     "nautical_dawn",
                                                     "nautical_dusk",
                                                     "astronomical_dawn",
                                                     "astronomical_dusk",
                                                     "dawn",
                                                     "dusk",
                                                     "time",
                                                     daycalc::kGoldenAndBlue[0],
                                                     daycalc::kGoldenAndBlue[1],
                                                     daycalc::kGoldenAndBlue[2],
                                                     daycalc::kGoldenAndBlue[3],
                                                     daycalc::kGoldenAndBlue[4],
                                                     daycalc::kGoldenAndBlue[5],
                                                     daycalc::kGoldenAndBlue[6],
                                                     daycalc::kGoldenAndBlue[7]};

bool IsTime(std::string_view name) {
    return std::find(kTimes.begin(), kTimes.end(), name) != kTimes.end();
}
constexpr std::array<std::string_view, 7> kLengths = {
    "daylight", "night", "civil", "nautical", "astronomical", "change", "equation_of_time"};

}  // namespace

void CellForm::Columns(std::span<const std::string_view> names) {
    kinds_.clear();
    for (const std::string_view name : names) {
        const auto in = [&](const auto& list) {
            return std::find(list.begin(), list.end(), name) != list.end();
        };
        kinds_.push_back(IsTime(name) ? Kind::Time : in(kLengths) ? Kind::Length : Kind::Number);
    }
}

void CellForm::Append(std::string& line, std::size_t column, const Cell& cell) const {
    const Kind kind = column < kinds_.size() ? kinds_[column] : Kind::Number;
    if (!clock_ || kind == Kind::Number || !cell.word.empty() || std::isnan(cell.number)) {
        return AppendCell(line, cell);
    }
    line.append(kind == Kind::Time && dayOf24_ ? rt::ClockText(cell.number)
                                               : rt::DurationText(cell.number));
}

std::string CellForm::Length(double hours) const {
    return clock_ ? rt::DurationText(hours) : TextFromDouble(hours);
}

std::string CellForm::Summary(std::string_view name, double value) const {
    if (std::isnan(value)) return "";  // a time that does not come that day
    if (name.ends_with("daylight")) return Length(value);
    if (!clock_ || !IsTime(name)) return TextFromDouble(value);
    return dayOf24_ ? rt::ClockText(value) : rt::DurationText(value);
}

std::string CellForm::Unit() const {
    if (!clock_ || dayOf24_) return "";
    return "times and lengths in hours, minutes and seconds of the solar day's own unit, a day "
           "of " +
           TextFromDouble(solarDay_) + ", with no clock";
}

void CsvWriter::Columns(std::span<const std::string_view> names) {
    form_.Columns(names);
    if (const std::string unit = form_.Unit(); !unit.empty()) out_ << "# " << unit << '\n';
    line_.clear();
    for (const std::string_view name : names) line_.append(line_.empty() ? "" : ",").append(name);
    out_ << line_ << '\n';
}

bool CsvWriter::Row(std::span<const Cell> cells) {
    line_.clear();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line_.push_back(',');
        form_.Append(line_, i, cells[i]);
    }
    line_.push_back('\n');
    return bool(out_ << line_);
}

void CsvWriter::Summary(std::span<const Named> values) {
    for (const Named& n : values) {
        const std::string head = "# " + std::string(n.label) + ": ";
        if (const double* number = std::get_if<double>(&n.value)) {
            out_ << head << form_.Summary(n.name, *number) << '\n';
        } else if (const auto* onDay = std::get_if<Named::DaylightOnDay>(&n.value)) {
            out_ << head << form_.Length(onDay->daylight) << " on day "
                 << TextFromDouble(onDay->day) << '\n';
        } else if (const auto* one = std::get_if<Named::OneSpan>(&n.value)) {
            out_ << head << (one->span ? SpanWords(*one->span, one->unit) : "none") << '\n';
        } else {
            const auto& spans = std::get<std::vector<Span>>(n.value);
            if (spans.empty()) out_ << head << "none\n";
            for (const Span& s : spans) out_ << head << SpanWords(s, "") << '\n';
        }
    }
}

void JsonWriter::Columns(std::span<const std::string_view> names) {
    form_.Columns(names);
    if (const std::string unit = form_.Unit(); !unit.empty()) notes_.push_back(unit);
    out_ << R"({"inputs":)" << Dump(inputs_);
    if (!notes_.empty()) out_ << R"(,"notes":)" << Dump(notes_);
    out_ << R"(,"rows":[)";
    for (const std::string_view name : names) {
        columns_.push_back('"' + std::string(name) + R"(":")");
    }
}

bool JsonWriter::Row(std::span<const Cell> cells) {
    // Every cell is a number, a date or a word: plain in JSON as it stands.
    line_.assign(separator_).push_back('{');
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line_.push_back(',');
        line_.append(columns_[i]);
        form_.Append(line_, i, cells[i]);
        line_.push_back('"');
    }
    line_.push_back('}');
    separator_ = ",";
    return bool(out_ << line_);
}

void JsonWriter::Summary(std::span<const Named> values) {
    Json summary = Json::object();
    for (const Named& n : values) {
        const std::string name(n.name);
        if (const double* number = std::get_if<double>(&n.value)) {
            summary[name] = form_.Summary(n.name, *number);
        } else if (const auto* onDay = std::get_if<Named::DaylightOnDay>(&n.value)) {
            summary[name] = {{"day", TextFromDouble(onDay->day)},
                             {"daylight", form_.Length(onDay->daylight)}};
        } else if (const auto* one = std::get_if<Named::OneSpan>(&n.value)) {
            summary[name] = one->span ? SpanJson(*one->span) : Json(nullptr);
        } else {
            Json list = Json::array();
            for (const Span& s : std::get<std::vector<Span>>(n.value)) {
                list.push_back(SpanJson(s));
            }
            summary[name] = list;
        }
    }
    out_ << ']';
    if (summary.empty()) {
        out_ << "}\n";
    } else {
        out_ << ',' << Dump(summary).substr(1) << '\n';
    }
}

void TableWriter::Columns(std::span<const std::string_view> names) {
    Form().Columns(names);
    if (drawing_) drawing_->Columns(names);
}

bool TableWriter::Row(std::span<const Cell> cells) {
    const bool wanted = Form().Row(cells);
    if (drawing_) drawing_->Row(cells);
    return wanted;
}

void TableWriter::Summary(std::span<const Named> values) {
    Form().Summary(values);
    if (drawing_) drawing_->Summary(values);
}

}  // namespace companion
