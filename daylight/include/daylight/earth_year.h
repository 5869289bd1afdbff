// The Earth's own year for a civil date: the December solstices around it (from the series of
// periodic terms in Meeus's "Astronomical Algorithms", chapter 27, good to about a minute from
// 1000 to 3000) and the orbit and tilt of that year (the mean elements of chapter 25, the mean
// obliquity of chapter 22 and the main term of its nutation), for the sky of a date. Times are
// Julian days; the difference between dynamical and universal time (about a minute) is left out.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "daylight/sky.h"

namespace daycalc {

struct CivilDate {
    int year, month, day;
};

// Dates are of the Gregorian calendar, carried back before its first day.
inline constexpr CivilDate kGregorianStart{1582, 10, 15};

// "YYYY-MM-DD" of a real date from 1000-01-01 to 3000-12-31, or nothing.
std::optional<CivilDate> DateOf(std::string_view text);
std::string TextOf(const CivilDate& date);
// "YYYY-MM" of a month from 1000-01 to 3000-12: its first date, or nothing.
std::optional<CivilDate> MonthOf(std::string_view text);

// A UTC offset as people write it: hours as a number (5.5, -3.5), or hours and minutes, ±h:mm or
// ±hh:mm (5:30, +05:30, -03:30); none for anything else. The clocks run from 14 hours behind UTC
// to 14 ahead.
std::optional<double> UtcOffsetOf(std::string_view text);
inline constexpr std::string_view kUtcOffsetForm =
    "not a UTC offset as hours (5.5) or hours and minutes (+05:30)";

// The Julian day at 0 h universal time of the date, and the date after.
double JulianDayOf(const CivilDate& date);
CivilDate NextDate(const CivilDate& date);
CivilDate PreviousDate(const CivilDate& date);
bool operator<=(const CivilDate& a, const CivilDate& b);

// The Julian day of the December solstice of the year.
double DecemberSolstice(int year);

// The year from the December solstice at or before a Julian day to the next, and the Earth's
// orbit then: eccentricity, the perihelion's orbit angle past the winter solstice and the tilt,
// in degrees.
struct EarthYear {
    double solstice;  // Julian day
    double length;    // days to the next December solstice
    double eccentricity;
    double perihelion;
    double tilt;
};
EarthYear EarthYearAt(double julianDay);

// The clock of a date: the hours it is ahead of UTC, and the zone's name for it ("CEST", or
// "UTC+02:00" for a fixed offset).
struct Clock {
    double utcOffset;
    std::string zone;
};
using ClockOf = std::function<Clock(const CivilDate&)>;

// The sky's inputs of a place on the Earth for its dates: the Earth's orbit, air and distance,
// the place's latitude and longitude (degrees east), the sunrise horizon and a solar day of 24
// hours; each date's own year gives the tilt, the year and the orbit.
SkyInputs EarthPlace(double latitude, double longitude);

// The clock a fixed number of hours ahead of UTC on every date.
ClockOf FixedClock(double utcOffset);

// The sky of each date from `from` to `to` at a place on the Earth: the solar day whose apparent
// noon falls on the date on its clock, on the orbit and with the tilt of the year it falls in, its
// `day` counted from that year's December solstice. The place gives the latitude, the longitude
// (degrees east; none is 0) and the horizon. Sunrise, noon and sunset are clock hours after the
// date's midnight: a sunset just after midnight is past 24, a sunrise before it below 0. A date's
// clock is the one in force at its noon, for all its times. Rows go to `row` as they are made,
// until it wants no more (returns false: an output that failed), and no later date is computed.
struct DatedRow {
    CivilDate date;
    SkyRow row;  // its dawns and dusks on the clock too
    Clock clock;
    double change;  // the daylight less the day before's, in hours
    // The sky of the date's year, to place the sun at any moment of the date: the t of the
    // apparent noon, and of the date's midnight on its clock (clock hours are 24 · (t − it)).
    const SkyModel* model;
    double noonDay;
    double midnightDay;
};
void ForEachDate(const SkyInputs& place, CivilDate from, CivilDate to, const ClockOf& clockOf,
                 const std::function<bool(const DatedRow&)>& row);

}  // namespace daycalc
