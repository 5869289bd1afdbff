#include "cli/companion.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <istream>
#include <ostream>
#include <string>

#include "output.h"
#include "year_command.h"

namespace companion {
namespace {

using daycalc::DaylightInputs;
using daycalc::DaylightOutcome;
using daycalc::DaylightResults;
using daycalc::InputField;
using daycalc::kInputFields;

Json OutcomeJson(const DaylightOutcome& outcome) {
    if (const auto* stop = std::get_if<daycalc::DaylightStop>(&outcome)) return StopJson(*stop);
    const auto& r = std::get<DaylightResults>(outcome);
    return {{"min", r.minDay},
            {"max", r.maxDay},
            {"day", r.daylight},
            {"night", r.night},
            {"full", r.fullDaylight}};
}

void PrintCaptioned(std::ostream& out, const DaylightResults& r) {
    const std::pair<const char*, const std::string&> lines[] = {{"Min Day", r.minDay},
                                                                {"Max Day", r.maxDay},
                                                                {"Daylight", r.daylight},
                                                                {"Night", r.night},
                                                                {"Full Daylight", r.fullDaylight}};
    for (const auto& [caption, text] : lines) {
        out << caption << ':' << (text.empty() ? "" : " ") << text << '\n';
    }
}

int RunOnce(const DaylightInputs& inputs, bool json, std::ostream& out, std::ostream& err) {
    const DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
    if (const auto* stop = std::get_if<daycalc::DaylightStop>(&outcome)) {
        return ReportStop(*stop, json, out, err);
    }
    if (json) {
        out << Dump(OutcomeJson(outcome)) << '\n';
    } else {
        PrintCaptioned(out, std::get<DaylightResults>(outcome));
    }
    return kResults;
}

// Fills the inputs from one batch line, or says what is wrong with it.
std::string ReadBatchLine(const std::string& line, DaylightInputs& inputs) {
    const Json json = Json::parse(line, nullptr, false);
    if (json.is_discarded()) return "not valid JSON";
    if (!json.is_object()) return "not a JSON object";
    for (const auto& [key, value] : json.items()) {
        const auto* known = std::find_if(kInputFields.begin(), kInputFields.end(),
                                         [&](const InputField& f) { return key == f.field; });
        if (known == kInputFields.end()) return "unknown field \"" + key + "\"";
        if (!value.is_string()) return "field \"" + key + "\" is not a string";
        inputs.*(known->text) = value.get<std::string>();
    }
    return "";
}

bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

int RunBatch(std::istream& in, std::ostream& out) {
    int status = kResults;
    std::string line;
    for (long long number = 1; std::getline(in, line); ++number) {
        if (IsBlankLine(line)) continue;
        DaylightInputs inputs;
        const std::string problem = ReadBatchLine(line, inputs);
        if (problem.empty()) {
            out << Dump(OutcomeJson(daycalc::ComputeDaylight(inputs))) << '\n';
        } else {
            out << Dump({{"error", "line " + std::to_string(number) + ": " + problem}}) << '\n';
            status = kBadInput;
        }
    }
    return status;
}

}  // namespace

int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err) {
    CLI::App app{
        "Lengths of day and night on a planet whose axis is tilted against its orbit.\n"
        "Each value is read as the window reads its boxes: blanks ignored, the number at the\n"
        "start counts, no number reads 0.",
        "daylight-cli"};
    app.footer(
        "Batch: each input line is a JSON object with any of the string fields tilt, latitude,\n"
        "solar_day, from_solstice, year (missing ones take the defaults above). Each non-blank\n"
        "line gets one output line: {\"min\",\"max\",\"day\",\"night\",\"full\"}, or\n"
        "{\"fault\",\"message\",\"hint\"}, or {\"error\"} for a line that is not such an object.\n"
        "Exit status: 0 results, 1 a fault, 2 a bad command line or a batch with an error line.\n"
        "A batch whose lines are all faults exits 0: each fault is that line's answer.");
    DaylightInputs inputs;
    bool json = false, batch = false;
    app.add_flag("--json", json, "Print one JSON object instead of captioned lines");
    CLI::Option* batchFlag =
        app.add_flag("--batch", batch, "Read JSON Lines from standard input, one line each")
            ->excludes("--json");
    for (const InputField& f : kInputFields) {
        batchFlag->excludes(
            app.add_option(std::string(f.option), inputs.*(f.text), std::string(f.help))
                ->capture_default_str());
    }
    YearRequest yearRequest;
    CLI::App* year = AddYearCommand(app, inputs, yearRequest);
    for (const char* single : {"--json", "--batch", "--from-solstice"}) {
        year->excludes(app.get_option(single));
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kResults : kBadInput;
    }
    if (year->parsed()) return RunYear(inputs, yearRequest, out, err);
    return batch ? RunBatch(in, out) : RunOnce(inputs, json, out, err);
}

}  // namespace companion
