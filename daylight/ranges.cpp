// The table of every value's range.
#include "daylight/ranges.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace daycalc {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kOwn = std::numeric_limits<double>::quiet_NaN();

// field, low, high, low and high included, whole numbers only, offered below and above, reason.
constexpr ValueRange kRanges[] = {
    {"latitude", -90, 90, true, true, false, kOwn, kOwn,
     "the latitude must be from -90 to 90 degrees"},
    {"solar_day", 0, kInf, false, true, false, 24, 24, "the solar day must be above 0"},
    {"year", 0, kInf, false, true, false, 365.25, 365.25, "the year must be above 0"},
    // The sky counts the year in solar days; the orbit's rate a day must stay a number.
    {"year", 1e-6, kInf, true, true, false, 1e-6, 1e-6,
     "the year must be at least a millionth of a solar day"},
    {"eccentricity", 0, 1, true, false, false, 0, 0.99,
     "the eccentricity must be from 0 up to but not including 1"},
    {"horizon", -90, 90, true, true, false, -90, 90, "the horizon must be from -90 to 90 degrees"},
    {"distance", 0, kInf, false, true, false, 1, 1, "the distance must be above 0 AU"},
    {"refraction", 0, 600, true, true, false, 0, 600,
     "the refraction must be from 0 to 600 minutes of arc"},
    {"declination_term", -5, 5, true, true, false, -5, 5,
     "the declination term must be from -5 to 5 degrees"},
    {"longitude", -180, 180, true, true, false, -180, 180,
     "the longitude must be from -180 to 180 degrees"},
    {"step", 0, kInf, false, true, false, kOwn, kOwn, "the step must be above 0"},
    {"utc_offset", -kFarthestUtcOffset, kFarthestUtcOffset, true, true, false, kOwn, kOwn,
     "the UTC offset must be from -14 to 14 hours"},
    {"mark", 0, 360, true, true, false, kOwn, kOwn, "the mark must be from 0 to 360 degrees"},
    {"day_at", 0, 360, true, true, false, kOwn, kOwn,
     "the day must be from 0 to 360 degrees past the winter solstice"},
    {"mark_latitude", -90, 90, true, true, false, kOwn, kOwn,
     "the marked latitude must be from -90 to 90 degrees"},
    {"rows", 1, kMostSkyRows, true, true, true, kOwn, kOwn,
     "the rows must be a whole number from 1 to 1000000"},
    {"every", 1, 60, true, true, false, kOwn, kOwn, "the step must be from 1 to 60 minutes"},
    {"solar_constant", 0, kInf, false, false, false, kOwn, kOwn,
     "the solar constant must be above 0 W/m²"},
    {"kyr", -1000, 100, true, true, false, -1000, 100,
     "the time must be from -1000 to 100 thousand years from 1950"},
    {"kyr_step", 0, 1100, false, true, false, kOwn, kOwn,
     "the step must be above 0 and at most 1100 thousand years"},
    {"orbit_angle", 0, 360, true, true, false, kOwn, kOwn,
     "the orbit angle must be from 0 to 360 degrees past the winter solstice"},
    {"year_step", kFinestYearStep, kCoarsestYearStep, true, true, false, kOwn, kOwn,
     "the step must be from 0.001 to 360 degrees"},
};

}  // namespace

bool ValueRange::Holds(double value) const {
    const bool aboveLow = lowIncluded ? value >= low : value > low;
    const bool belowHigh = highIncluded ? value <= high : value < high;
    return aboveLow && belowHigh && (!whole || value == std::floor(value));
}

std::span<const ValueRange> ValueRanges() { return kRanges; }

const ValueRange& RangeOf(std::string_view field) {
    for (const ValueRange& r : kRanges) {
        if (r.field == field) return r;
    }
    std::abort();  // a name the table lacks is the program's own mistake
}

}  // namespace daycalc
