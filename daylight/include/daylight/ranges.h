// Every value's range: the one table that the sky's checks, the companion's options, the page and
// the messages all read. A value outside its range is said with the row's reason, and offered the
// row's value on that side (where the row gives one; the check works out the others).
#pragma once

#include <span>
#include <string_view>

namespace daycalc {

// The year's steps between points, in degrees; a step outside is taken as the nearer bound, and
// one that is not a number as the coarsest.
constexpr double kFinestYearStep = 0.001;
constexpr double kCoarsestYearStep = 360;
// More rows than this for one latitude is taken for a mistaken step.
constexpr double kMostSkyRows = 1e6;
// The clocks run from 14 hours behind UTC to 14 ahead.
constexpr double kFarthestUtcOffset = 14;

struct ValueRange {
    std::string_view field;  // as the JSON, the page and the hints name the value
    double low;
    double high;
    bool lowIncluded;
    bool highIncluded;
    bool whole;               // whole numbers only
    double offeredBelow;      // offered for a value below the range; NaN: worked out by the check
    double offeredAbove;      // and for one above it
    std::string_view reason;  // said of a value outside the range

    // Whether the value is within the range; NaN never is.
    bool Holds(double value) const;
    // The value offered in place of one outside the range.
    double Offered(double value) const { return value < low ? offeredBelow : offeredAbove; }
};

// Every row, the sky's values first in the order they are checked (a field may have two rows,
// checked in turn).
std::span<const ValueRange> ValueRanges();

// The first row of the value so named; every name the program uses has one.
const ValueRange& RangeOf(std::string_view field);

}  // namespace daycalc
