// Why a calculation has no answer: one value for the single calculation, the year, the sky and
// the map, with the fault or the value at fault, the words people read, the fields to change and
// values that are known to give an answer. Every front end shows it; none makes one of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime.h"

namespace daycalc {

// A value to put in one field, by the field's name in a batch line: {"latitude", "80"}.
struct Try {
    std::string_view field;
    std::string text;

    friend bool operator==(const Try&, const Try&) = default;
};

struct Problem {
    // The arithmetic fault that stopped it, or none where a value lies outside its range.
    std::optional<rt::FaultKind> fault;
    std::string message;  // "Division by zero", or what is wrong with the value
    std::string cause;    // why, in plain words: "Latitude 66.5 lies exactly on ..."
    std::string hint;     // what to change, naming the boxes by their captions, and what to try
    std::vector<std::string_view> fields;  // the fields named, the first to change first
    std::vector<Try> tries;                // values that give an answer, each computed once
    // Where the daylight of every day is in the year view instead, its tilt and latitude as
    // read; each front end names its own view (WhereTheYearIs).
    struct Year {
        std::string tilt, latitude;
    };
    std::optional<Year> year;

    // "division-by-zero", …, or "bad-value" for a value outside its range.
    std::string_view kindName() const noexcept {
        return fault ? rt::Fault(*fault).kindName() : "bad-value";
    }
    // The cause and the hint, as one text.
    std::string Text() const { return cause.empty() ? hint : cause + " " + hint; }
};

// The texts of problems, each a pattern whose {names} are filled with numbers and captions; the
// one place to translate them. Each hint names the box to change first by its caption.
enum class HintId {
    TooLarge,
    BeyondThePole,
    TiltFarBeyond,
    TiltBeyond,
    RightAngleAtTheEquator,
    RightAngleSouth,
    OnThePolarCircle,
    OnTheSouthernPolarCircle,
    BeyondTheSouthernPolarCircle,
    TouchesTheHorizon,
    NoResult,
    ValueOutOfRange,
    Try,
    TryAnd,
    TryComma,
    YearOnTheDesktop,
    YearOnThePage,
    ReadAs,
    GregorianCarriedBack,
    SkyAgainstCalculator,
    HorizonOfSunrise,
    HorizonAt,
};

struct HintText {
    HintId id;
    std::string_view cause;
    std::string_view hint;
};

inline constexpr HintText kHintTexts[] = {
    {HintId::TooLarge, "The number in {box} is too large to compute with.",
     "Type a smaller number in {box}: numbers run up to about 1.8E+308."},
    {HintId::BeyondThePole,
     "Latitude {latitude} lies beyond the pole: latitudes run from -90 at the south pole to 90 at "
     "the north pole.",
     "Type a Latitude from -90 to 90."},
    {HintId::TiltFarBeyond, "A tilt of {tilt} lies beyond the tilts of 0 to 180 an axis can have.",
     "Type a Tilt from 0 to 90, or up to 180 for a planet that turns backwards."},
    {HintId::TiltBeyond,
     "At a tilt of {tilt} the calculation has no value for Latitude {latitude}: it takes tilts "
     "from 0 up to but not including 180, and beyond them only some latitudes.",
     "Change the Tilt: a tilt of {tilt} gives the same days as a tilt of {same} half a year "
     "later."},
    {HintId::RightAngleAtTheEquator,
     "With a tilt of exactly 90 the shortest day at the equator has no value: its formula meets "
     "0 divided by 0.",
     "Change the Tilt a little, or the Latitude."},
    {HintId::RightAngleSouth,
     "With a tilt of exactly 90 the shortest day south of the equator has no value: its formula "
     "divides by the tangent of 90 minus the tilt, which is 0.",
     "Change the Tilt a little; half a year later the same latitude in the north has the same "
     "days."},
    {HintId::OnThePolarCircle,
     "Latitude {latitude} lies exactly on the polar circle of a tilt of {tilt}, where the "
     "calculation has no value.",
     "Move the Latitude a little off the circle, or change the Tilt."},
    {HintId::OnTheSouthernPolarCircle,
     "Latitude {latitude} lies exactly on the southern polar circle of a tilt of {tilt}, where "
     "the formula for the shortest day has no value.",
     "Move the Latitude a little towards the equator, or change the Tilt."},
    {HintId::BeyondTheSouthernPolarCircle,
     "Latitude {latitude} lies beyond the southern polar circle of a tilt of {tilt}, at "
     "{circle}, where the sun stays up or down for days; this calculation stops there.",
     "Half a year later the same latitude in the north has the same sky; there the calculation "
     "gives no daylight for the day but the span of full daylight, as long as the polar day "
     "here."},
    {HintId::TouchesTheHorizon,
     "On the chosen day the sun at Latitude {latitude} only touches the horizon, where the "
     "formula for daylight has no value.",
     "Move the Latitude a little towards the equator, or change Deg from Winter Solstice."},
    {HintId::NoResult, "These values have no result: the calculation stopped at {stage}.",
     "Change the Latitude or the Tilt a little."},
    {HintId::ValueOutOfRange, "", "Change the {box}."},
    {HintId::Try, "", "Try {values}."},
    {HintId::TryAnd, "", " and "},
    {HintId::TryComma, "", ", "},
    {HintId::YearOnTheDesktop, "",
     "The daylight of every day of that year: daylight-cli year --tilt {tilt} --latitude "
     "{latitude}."},
    {HintId::YearOnThePage, "", "The chart below shows the daylight of every day of that year."},
    {HintId::ReadAs, "", "{box} \"{text}\" was read as {number}"},
    {HintId::SkyAgainstCalculator, "",
     "The sky's daylight is {difference} {way} than the calculator's {calculator}: {horizon} "
     "as {why}, and {moving} from the sun's own course, its declination taken along the orbit "
     "and its motion through the day."},
    {HintId::HorizonOfSunrise, "", "the air lifts the sun and its upper edge shows first"},
    {HintId::HorizonAt, "", "the sky's horizon stands at {horizon} degrees"},
    {HintId::GregorianCarriedBack, "",
     "{date} is before 1582-10-15: the dates are the Gregorian calendar's carried back, not the "
     "Julian calendar's of their time"},
};

// The entry of the table for a hint.
inline const HintText& HintTextOf(HintId id) {
    for (const HintText& h : kHintTexts) {
        if (h.id == id) return h;
    }
    return kHintTexts[0];
}

// A pattern with each {name} replaced by its value; a name without a value stays as written.
std::string Filled(std::string_view pattern,
                   const std::vector<std::pair<std::string_view, std::string>>& values);

// The sentence a front end adds to a problem whose days are in the year view: where to find them.
// The desktop names the command; the page, its chart. Empty for other problems.
enum class FrontEnd { Desktop, Page };
std::string WhereTheYearIs(const Problem& problem, FrontEnd frontEnd);

}  // namespace daycalc
