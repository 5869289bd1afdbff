// What the companion's two commands share: the input fields and the output's JSON.
#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "daylight/daylight.h"

namespace companion {

enum ExitStatus { kResults = 0, kFault = 1, kBadInput = 2 };

using Json = nlohmann::ordered_json;

// JSON text that stays valid whatever bytes the texts hold.
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

// The batch fields, the command-line options and the inputs they fill, in one table.
struct InputField {
    const char* field;
    const char* option;
    const char* help;
    std::string daycalc::DaylightInputs::*text;
};
constexpr std::array kInputFields{
    InputField{"tilt", "--tilt", "Tilt: axial tilt in degrees", &daycalc::DaylightInputs::tilt},
    InputField{"latitude", "--latitude", "Latitude in degrees (south below 0)",
               &daycalc::DaylightInputs::latitude},
    InputField{"solar_day", "--solar-day", "Solar Day: length of one day, in any unit",
               &daycalc::DaylightInputs::solarDay},
    InputField{"from_solstice", "--from-solstice", "Deg from Winter Solstice: 0 winter, 180 summer",
               &daycalc::DaylightInputs::fromSolstice},
    InputField{"year", "--year", "Length of Year, in any unit", &daycalc::DaylightInputs::year},
};

}  // namespace companion
