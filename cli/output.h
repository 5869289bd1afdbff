// What every command writes: JSON that stays valid whatever bytes the texts hold, and faults.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "runtime/runtime.h"
#include "status.h"

namespace companion {

using Json = nlohmann::ordered_json;

inline std::string Dump(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

inline Json FaultJson(const rt::Fault& fault) {
    return {{"fault", fault.kindName()}, {"message", fault.message()}};
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

}  // namespace companion
