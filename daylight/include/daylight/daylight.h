// The calculation: five input texts in, five result texts out, or a fault.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/runtime.h"

namespace daycalc {

struct DaylightInputs;

// One of the five inputs, as every front end shows it.
struct InputField {
    std::string_view caption;           // the box's caption: "Tilt"
    std::string_view field;             // its field in a JSON object: "tilt"
    std::string_view option;            // the companion's option: "--tilt"
    std::string_view help;              // what the option's help says of it
    std::string_view start;             // the text it starts with: "23.5"
    std::string DaylightInputs::*text;  // the member of the inputs it fills
};

// The starting text of one member of the inputs, from the table below.
std::string StartingText(std::string DaylightInputs::*text);

// The five input texts; each starts at its starting text.
struct DaylightInputs {
    std::string tilt = StartingText(&DaylightInputs::tilt);
    std::string latitude = StartingText(&DaylightInputs::latitude);
    std::string solarDay = StartingText(&DaylightInputs::solarDay);
    std::string fromSolstice = StartingText(&DaylightInputs::fromSolstice);
    std::string year = StartingText(&DaylightInputs::year);
};

// The five inputs in the order they are read. Adding an input means a member above and a row here.
inline constexpr std::array<InputField, 5> kInputFields{{
    {"Tilt", "tilt", "--tilt", "Tilt: axial tilt in degrees", "23.5", &DaylightInputs::tilt},
    {"Latitude", "latitude", "--latitude", "Latitude in degrees (south below 0)", "38",
     &DaylightInputs::latitude},
    {"Solar Day", "solar_day", "--solar-day", "Solar Day: length of one day, in any unit", "24",
     &DaylightInputs::solarDay},
    {"Deg from Winter Solstice", "from_solstice", "--from-solstice",
     "Deg from Winter Solstice: 0 winter, 180 summer", "0", &DaylightInputs::fromSolstice},
    {"Length of Year", "year", "--year", "Length of Year, in any unit", "365.25",
     &DaylightInputs::year},
}};

// The row of the table for a member of the inputs, or none.
inline const InputField* InputFieldOf(std::string DaylightInputs::*text) {
    for (const InputField& f : kInputFields) {
        if (f.text == text) return &f;
    }
    return nullptr;
}

inline std::string StartingText(std::string DaylightInputs::*text) {
    const InputField* f = InputFieldOf(text);
    return f ? std::string(f->start) : std::string();
}

// The five result texts. Beyond the polar circle the sun stays up for part of the year: Full
// Daylight is filled, Daylight and Night stay empty. Elsewhere it is the other way round.
struct DaylightResults {
    bool polar = false;
    std::string minDay;
    std::string maxDay;
    std::string daylight;
    std::string night;
    std::string fullDaylight;

    friend bool operator==(const DaylightResults&, const DaylightResults&) = default;
};

// Where a press stopped: reading a box, or computing one of the results.
enum class Stage { Reading, ShortestDay, ChosenDay, FullDaylight };

// A press that stopped: the fault, where it arose, and in plain words why and what to change.
struct DaylightStop {
    rt::Fault fault;
    Stage stage;
    std::string cause;  // "Latitude 66.5 lies exactly on the polar circle of a tilt of 23.5."
    std::string hint;   // what to change, naming the boxes by their captions
    std::vector<std::string DaylightInputs::*> boxes;  // the boxes named, the first to change first

    rt::FaultKind kind() const noexcept { return fault.kind(); }
    std::string_view message() const noexcept { return fault.message(); }
    std::string_view kindName() const noexcept { return fault.kindName(); }
};

using DaylightOutcome = std::variant<DaylightResults, DaylightStop>;

// Degrees to radians, with π taken afresh as four times the arc tangent of 1.
rt::Number Radians(rt::Number degrees);
// The arc cosine, from the arc tangent and the square root; 1 and -1 are a division by zero.
rt::Number aCos(rt::Number x);

// Reads the five texts and computes the day lengths, or says where and why it stopped.
DaylightOutcome ComputeDaylight(const DaylightInputs& inputs);

}  // namespace daycalc
