// What every command writes: JSON that stays valid whatever bytes the texts hold, and faults.
#pragma once

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
