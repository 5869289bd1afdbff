// The window-free calculation: five input texts in, five result texts out, or a fault.
#pragma once

#include <string>
#include <variant>

#include "runtime/runtime.h"

namespace daycalc {

// The texts of the five input boxes; each starts at the window's starting text.
struct DaylightInputs {
    std::string tilt = "23.5";
    std::string latitude = "38";
    std::string solarDay = "24";
    std::string fromSolstice = "0";
    std::string year = "365.25";
};

// The texts of the five result labels; a label that stays empty has an empty text.
struct DaylightResults {
    std::string minDay;
    std::string maxDay;
    std::string daylight;
    std::string night;
    std::string fullDaylight;

    friend bool operator==(const DaylightResults&, const DaylightResults&) = default;
};

using DaylightOutcome = std::variant<DaylightResults, rt::Fault>;

// Degrees to radians, with π taken afresh as four times the arc tangent of 1.
rt::Number Radians(rt::Number degrees);
// The arc cosine, from the arc tangent and the square root; 1 and -1 are a division by zero.
rt::Number aCos(rt::Number x);

// Reads the five texts and computes the day lengths, or the fault that stopped it.
DaylightOutcome ComputeDaylight(const DaylightInputs& inputs);

}  // namespace daycalc
