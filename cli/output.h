// What every command writes: JSON that stays valid whatever bytes the texts hold, and faults.
#pragma once

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "daylight/daylight.h"
#include "status.h"

namespace companion {

using Json = nlohmann::ordered_json;

inline std::string Dump(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

inline Json FaultJson(const rt::Fault& fault) {
    return {{"fault", fault.kindName()}, {"message", fault.message()}};
}

// A stopped press: the fault, and the hint of what to change, as the window gives it.
inline std::string HintText(const daycalc::DaylightStop& stop) {
    return stop.cause + " " + stop.hint;
}

inline Json StopJson(const daycalc::DaylightStop& stop) {
    Json json = FaultJson(stop.fault);
    json["hint"] = HintText(stop);
    return json;
}

// Whether a text goes into JSON as it is: printable ASCII without quotes or backslashes.
inline bool PlainInJson(std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') return false;
    }
    return true;
}

// The answer to a press as one JSON line: the five texts, or the stop with its hint. Texts that
// need no escaping, as every result's and every hint's do, are written as they are, in one write.
inline void WriteOutcome(std::ostream& out, const daycalc::DaylightOutcome& outcome) {
    std::string line;
    if (const auto* stop = std::get_if<daycalc::DaylightStop>(&outcome)) {
        const std::string hint = HintText(*stop);
        if (!PlainInJson(hint)) {
            out << Dump(StopJson(*stop)) << '\n';
            return;
        }
        line.append(R"({"fault":")").append(stop->kindName());
        line.append(R"(","message":")").append(stop->message());
        line.append(R"(","hint":")").append(hint).append("\"}\n");
    } else {
        const auto& r = std::get<daycalc::DaylightResults>(outcome);
        line.append(R"({"min":")").append(r.minDay);
        line.append(R"(","max":")").append(r.maxDay);
        line.append(R"(","day":")").append(r.daylight);
        line.append(R"(","night":")").append(r.night);
        line.append(R"(","full":")").append(r.fullDaylight).append("\"}\n");
    }
    out.write(line.data(), std::streamsize(line.size()));
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
    err << "daylight-cli: cannot write " << path << ": " << problem << '\n';
    return kChartNotWritten;
}

// A fault as every command reports it: a JSON object on the output, or a line on the errors.
inline int ReportFault(const rt::Fault& fault, bool json, std::ostream& out, std::ostream& err) {
    if (json) {
        out << Dump(FaultJson(fault)) << '\n';
    } else {
        err << "daylight-cli: " << fault.message() << '\n';
    }
    return kFault;
}

// A stopped press likewise, with its hint: a field of the object, or a second line.
inline int ReportStop(const daycalc::DaylightStop& stop, bool json, std::ostream& out,
                      std::ostream& err) {
    if (json) {
        out << Dump(StopJson(stop)) << '\n';
    } else {
        err << "daylight-cli: " << stop.message() << '\n'
            << "daylight-cli: hint: " << HintText(stop) << '\n';
    }
    return kFault;
}

}  // namespace companion
