// The calculation: five input texts in, five result texts out, or a fault.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "daylight/problem.h"
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

// The row of the table for a field's name ("latitude"), or none.
inline const InputField* InputFieldNamed(std::string_view field) {
    for (const InputField& f : kInputFields) {
        if (f.field == field) return &f;
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

using DaylightOutcome = std::variant<DaylightResults, Problem>;

// A value that was not read whole, in words: Latitude "38S" was read as 38. The text is shown with
// its control characters escaped and cut after 40 bytes.
struct ReadingNote {
    std::string_view field;
    std::string text;

    friend bool operator==(const ReadingNote&, const ReadingNote&) = default;
};

// The notes on the texts a calculation reads, in the order of the table: every input but those
// named unread (the year reads no point of the year, a map no latitude). A text too large to read
// has no note: its problem says so.
std::vector<ReadingNote> ReadingNotes(const DaylightInputs& inputs,
                                      const std::vector<std::string_view>& unread = {});

// Degrees to radians, with π as four times π/4, the arc tangent of 1 correctly rounded.
rt::Number Radians(rt::Number degrees);
// The arc cosine, from the arc tangent and the square root; 1 and -1 are a division by zero.
rt::Number aCos(rt::Number x);

// Reads the five texts and computes the day lengths, or says why it stopped and what to try.
DaylightOutcome ComputeDaylight(const DaylightInputs& inputs);

}  // namespace daycalc
