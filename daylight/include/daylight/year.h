// The year view: daylight and night at every point of the year, with the polar day and the
// polar night stated as such instead of stopping the calculation.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "daylight/daylight.h"
#include "daylight/ranges.h"

namespace daycalc {

enum class Sun { Rises, PolarDay, PolarNight };

// "rises", "polar-day" or "polar-night".
std::string_view SunName(Sun sun);

// Whether a table's row at `at`, a whole number of steps into a span that ends at `end`, comes
// before the end's own row: only where it is short of the end by more than a billionth of a
// step, so that a last step that rounding leaves a hair short (39 steps of 360/39 degrees, 11 of
// a year over 11) is the end itself, and the end has one row.
inline bool BeforeTheEnd(double at, double step, double end) { return at < end - step * 1e-9; }

struct YearPoint {
    double fromSolstice;  // degrees past the winter solstice
    double dayOfYear;     // the same point in the unit of the year
    double daylight;      // in the unit of the solar day
    double night;
    Sun sun;
};

// A stretch of the year: where it starts and ends, as degrees past the winter solstice in the
// year, as t in the sky, and its length in the unit of the year. One that wraps through the winter
// solstice ends before it starts (near 360 and after 0). One at a single instant has no length:
// in the year, where the sun only touches the horizon at a solstice (its sunset cosine there is
// exactly 1 or -1), that one day is polar and its span starts and ends at the solstice.
struct Span {
    double start;
    double end;
    double length;
};

struct YearView {
    // The inputs as read, for titles: degrees, and the units of the day and the year.
    double tilt;
    double latitude;
    double solarDay;
    double year;
    std::vector<YearPoint> points;
    double shortestDaylight;
    double longestDaylight;
    std::optional<Span> polarDay;
    std::optional<Span> polarNight;
};

using YearOutcome = std::variant<YearView, Problem>;

// The year for the tilt, latitude, solar day and year texts of the inputs (the point of the
// year is not read): a point every `stepDegrees` from 0, and one at 360 that closes the year.
// Where the sun never sets or never rises the rows say so instead of stopping; the year stops
// only where reading a text overflows, or where the single calculation stops on its full-daylight
// quotient beyond the polar circle (no tilt, or too small a tilt, beyond the pole).
YearOutcome ComputeYear(const DaylightInputs& inputs, double stepDegrees);

// The same year with its points handed to `point` one by one as they are made, until it returns
// false; the view returned has no points. Nothing is handed over where the year stops.
YearOutcome StreamYear(const DaylightInputs& inputs, double stepDegrees,
                       const std::function<bool(const YearPoint&)>& point);

// The year's inputs as read and its summary, with no points; or where it stops.
YearOutcome YearAsRead(const DaylightInputs& inputs);

}  // namespace daycalc
