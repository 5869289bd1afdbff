// What every command writes: JSON that stays valid whatever bytes the texts hold, and faults.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "daylight/daylight.h"
#include "quoted.h"
#include "status.h"

namespace companion {

using Json = nlohmann::ordered_json;

inline std::string Dump(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Whether a text goes into JSON as it is: printable ASCII without quotes or backslashes.
inline bool PlainInJson(std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') return false;
    }
    return true;
}

// A problem's hint as the companion gives it: the cause, what to change and try, and where the
// year view has the days.
inline std::string HintText(const daycalc::Problem& problem) {
    const std::string year = daycalc::WhereTheYearIs(problem, daycalc::FrontEnd::Desktop);
    return problem.Text() + (year.empty() ? "" : " " + year);
}

// {"fault","message","hint","try"}: the kind, the message, the hint, and the values to try by
// field ({} where there are none).
inline Json ProblemJson(const daycalc::Problem& problem) {
    Json tries = Json::object();
    for (const daycalc::Try& t : problem.tries) tries[std::string(t.field)] = t.text;
    return {{"fault", problem.kindName()},
            {"message", problem.message},
            {"hint", HintText(problem)},
            {"try", tries}};
}

// The notes on values not read whole, as a JSON array.
inline Json NotesJson(const std::vector<daycalc::ReadingNote>& notes) {
    Json list = Json::array();
    for (const daycalc::ReadingNote& n : notes) list.push_back(n.text);
    return list;
}

// A problem's answer line, with its notes: written as it is where every text is plain, as the
// core's are, since a batch may answer many; through the JSON library otherwise.
inline std::string ProblemLine(const daycalc::Problem& problem,
                               const std::vector<daycalc::ReadingNote>& notes) {
    const std::string hint = HintText(problem);
    bool plain = notes.empty() && PlainInJson(problem.message) && PlainInJson(hint);
    for (const daycalc::Try& t : problem.tries) plain = plain && PlainInJson(t.text);
    if (!plain) {
        Json json = ProblemJson(problem);
        if (!notes.empty()) json["notes"] = NotesJson(notes);
        return Dump(json);
    }
    std::string line = R"({"fault":")";
    line.append(problem.kindName()).append(R"(","message":")").append(problem.message);
    line.append(R"(","hint":")").append(hint).append(R"(","try":{)");
    const char* separator = "";
    for (const daycalc::Try& t : problem.tries) {
        line.append(separator).append(1, '"').append(t.field).append(R"(":")").append(t.text);
        line.append(1, '"');
        separator = ",";
    }
    return line.append("}}");
}

// The answer to a press as one JSON line: the five texts, written as they are in one write (every
// result is plain), or the problem; with "notes" where a value was not read whole.
inline void WriteOutcome(std::ostream& out, const daycalc::DaylightOutcome& outcome,
                         const std::vector<daycalc::ReadingNote>& notes = {}) {
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
        out << ProblemLine(*problem, notes) << '\n';
        return;
    }
    const auto& r = std::get<daycalc::DaylightResults>(outcome);
    std::string line;
    line.append(R"({"min":")").append(r.minDay);
    line.append(R"(","max":")").append(r.maxDay);
    line.append(R"(","day":")").append(r.daylight);
    line.append(R"(","night":")").append(r.night);
    line.append(R"(","full":")").append(r.fullDaylight).append("\"");
    if (!notes.empty()) line.append(R"(,"notes":)").append(Dump(NotesJson(notes)));
    line.append("}\n");
    out.write(line.data(), std::streamsize(line.size()));
}

// The notes on values not read whole, a line each on the errors; the output stays as it is.
inline void WriteNotes(std::ostream& err, const std::vector<daycalc::ReadingNote>& notes) {
    for (const daycalc::ReadingNote& n : notes) err << "daylight-cli: note: " << n.text << '\n';
}

// The output or the input failed: a line on the errors with the system's reason, and the status.
inline int ReportStreamFailure(std::ostream& err, const char* what, int status) {
    const int cause = errno;
    err << "daylight-cli: " << what;
    if (cause != 0) err << ": " << std::strerror(cause);
    err << '\n';
    return status;
}
inline int ReportWriteFailure(std::ostream& err) {
    return ReportStreamFailure(err, "could not write the output", kOutputNotWritten);
}
inline int ReportReadFailure(std::ostream& err) {
    return ReportStreamFailure(err, "could not read the input", kInputNotRead);
}

// What became of a chart that follows the rows: the status, and the reason it was not written.
inline int ReportChart(const std::string& problem, const std::string& path, std::ostream& err) {
    if (problem.empty()) return kResults;
    err << "daylight-cli: cannot write " << Quoted(path) << ": " << problem << '\n';
    return kChartNotWritten;
}

// The one report of a problem, in every command: a JSON object on the output, or lines on the
// errors (the message, the hint, and the values to try as options). A fault is status 1, a value
// out of its range 2.
inline int ReportProblem(const daycalc::Problem& problem, bool json, std::ostream& out,
                         std::ostream& err) {
    if (json) {
        out << ProblemLine(problem, {}) << '\n';
    } else {
        err << "daylight-cli: " << problem.message << '\n'
            << "daylight-cli: hint: " << HintText(problem) << '\n';
        if (!problem.tries.empty()) {
            err << "daylight-cli: try:";
            for (const daycalc::Try& t : problem.tries) {
                std::string option = "--" + std::string(t.field);
                std::replace(option.begin(), option.end(), '_', '-');
                err << ' ' << option << ' ' << t.text;
            }
            err << '\n';
        }
    }
    return problem.fault ? kFault : kBadInput;
}

}  // namespace companion
