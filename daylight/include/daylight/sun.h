// The sun's path through one day: where its centre stands every few minutes (its altitude without
// air and as the air lifts it, its azimuth), the shadow it casts, and the day's sunrise, noon and
// sunset with their directions and the golden and blue hours. On the Earth for a civil date at a
// place, on its clock; on any planet for the day at an orbit angle, in local mean solar time. Each
// is handed over as a table (table.h); the sun-path chart takes the same rows.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "daylight/earth_year.h"
#include "daylight/problem.h"
#include "daylight/sky.h"
#include "daylight/table.h"

namespace daycalc {

// The altitudes that bound the golden hour (the sun from −4° to +6°) and the blue hour (−6° to
// −4°), the centre's, without air.
inline constexpr double kBlueLow = -6, kGoldenLow = -4, kGoldenHigh = 6;

// The refraction of the air, in degrees, at a true altitude (degrees): Sæmundsson's formula,
// R = 1.02′ / tan(h + 10.3 / (h + 5.11)), for the Earth's air at 10 °C and 1010 hPa, which gives
// 34′ at the horizon; scaled by the planet's refraction at its horizon (minutes of arc) over
// that. NaN below −1°, where the formula no longer holds and the sun is down.
double Refraction(double altitude, double refractionAtHorizon);

// Where the sun's centre stands in the sky of the planet at a time of the day.
struct SunPoint {
    double time;      // clock hours, or local mean solar time in the unit of the solar day
    double altitude;  // degrees
    double azimuth;   // degrees from north through east
};

// The path through the day of a civil date at a place on the Earth, a row every `minutes` (1 to
// 60) from the date's midnight on its clock to the next, in clock hours: time, altitude,
// apparent_altitude, azimuth and shadow (of a stick 1 m high on level ground; none while the sun
// is down); then its summary: sunrise, sunset and their azimuths, noon with its altitude, azimuth
// and shadow, and the golden and blue hours' starts and ends, morning and evening.
// A step out of its range is the problem returned, before anything is handed over.
std::optional<Problem> ProduceSunOnDate(const SkyInputs& place, CivilDate date,
                                        const ClockOf& clockOf, double minutes, TableConsumer& to);
// The same on any planet for the day at an orbit angle (degrees past the winter solstice, 0 to
// 360), from local mean midnight to the next.
std::optional<Problem> ProduceSunOnDay(const SkyInputs& in, double degrees, double minutes,
                                       TableConsumer& to);

// The paths of the winter solstice, the spring equinox and the summer solstice at the same place
// (on the Earth, in the date's year), a point every `minutes`, for a sun-path chart: the time of
// each point in the solar day, from -0.5 to 0.5 about noon.
using SeasonPaths = std::array<std::vector<SunPoint>, 3>;
SeasonPaths SeasonPathsOnDate(const SkyInputs& place, CivilDate date, const ClockOf& clockOf,
                              double minutes);
SeasonPaths SeasonPathsOnDay(const SkyInputs& in, double minutes);

// The golden and blue hours on the day of the noon at t = noon, each start and end in solar days
// from noon (NaN where the sun does not reach that altitude): the golden morning's start and end,
// the golden evening's, the blue morning's and the blue evening's.
std::array<double, 8> GoldenAndBlue(const SkyModel& model, double noon);
// Their names as the tables' columns and members, in that order.
inline constexpr std::array<std::string_view, 8> kGoldenAndBlue = {
    "golden_morning_start", "golden_morning_end", "golden_evening_start", "golden_evening_end",
    "blue_morning_start",   "blue_morning_end",   "blue_evening_start",   "blue_evening_end"};

}  // namespace daycalc
