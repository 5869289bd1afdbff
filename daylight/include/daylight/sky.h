// The sky as it is: a planet on an elliptical orbit, the sun rising and setting at a horizon that
// allows for refraction and the sun's disc, and the three twilights. A model of its own beside the
// calculation of the window, which it leaves as it is: plain double precision, with every input
// checked once before anything is computed, so that no number it gives is a NaN or an infinity.
//
// Time t runs from the northern winter solstice in the unit of the year Y, which is the time from
// one winter solstice to the next. On an orbit of eccentricity e whose perihelion lies P degrees
// past the winter solstice, the mean anomaly runs evenly with t; Kepler's equation gives the true
// anomaly and with it λ, the orbit angle past the winter solstice (λ = 360 · t / Y when e = 0).
// The sun's declination is then sin δ = −sin T · cos λ, and the time the sun's centre spends above
// an altitude h is H / π · RP, where cos H = (sin h − sin L · sin δ) / (cos L · cos δ), taken as 0
// or RP where the sun never reaches or never leaves h.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "daylight/year.h"

namespace daycalc {

// Altitudes of the sun's centre, in degrees.
constexpr double kSunriseHorizon = -50.0 / 60;  // 34' of refraction and the 16' of half a disc
constexpr double kGeometricHorizon = 0;
constexpr double kCivilDusk = -6;
constexpr double kNauticalDusk = -12;
constexpr double kAstronomicalDusk = -18;

// More rows than this for one latitude is taken for a mistaken step.
constexpr double kMostSkyRows = 1e6;

struct SkyInputs {
    double tilt;          // degrees
    double latitude;      // degrees, -90 to 90
    double solarDay;      // above 0, in any unit
    double year;          // above 0, in any unit: rows and spans are given in it
    double eccentricity;  // 0 up to but not including 1
    double perihelion;    // the orbit angle of the perihelion, degrees past the winter solstice
    double horizon;       // the altitude of the sun's centre at sunrise and sunset, -90 to 90
    double step;          // from one row to the next, in the unit of the year, above 0
};

// What makes the inputs unusable, or nothing: the first value out of its range ("the
// eccentricity must be from 0 up to but not including 1"), with values that bring every value
// into range to try.
std::optional<Problem> SkyProblem(const SkyInputs& in);

// The eccentric anomaly E for a mean anomaly M: the root of E − e · sin E = M, to the last bit or
// so, for any 0 ≤ e < 1 (Newton's steps kept inside a bracket that bisection narrows).
double EccentricAnomaly(double meanAnomaly, double eccentricity);

struct SkyRow {
    double day;          // t, in the unit of the year
    double orbitAngle;   // λ, degrees past the winter solstice
    double declination;  // δ, degrees
    // The solar day in five parts that add up to it: the sun above the horizon, then below it
    // down to -6°, -12° and -18°, and the night below that. A horizon below one of those limits
    // leaves its band empty.
    double daylight;
    double civil;
    double nautical;
    double astronomical;
    double night;
    Sun sun;  // whether the sun crosses the chosen horizon that day
};

// The orbit and the sky over one latitude, for inputs without a problem; cheap to make.
class SkyModel {
  public:
    explicit SkyModel(const SkyInputs& in);

    SkyRow RowAt(double t) const;
    // λ at t: 0 at t = 0, 360 at t = Y.
    double OrbitAngleAt(double t) const;
    // The t at which the orbit angle is reached, from 0 to below Y.
    double DayOfOrbitAngle(double degrees) const;
    // Whether the sun that day crosses an altitude (degrees), and how long it stays above it.
    Sun SunOn(double orbitDegrees, double altitude) const;
    double TimeAbove(double orbitDegrees, double altitude) const;

  private:
    double EquationOfCentre(double meanAnomaly) const;
    double SinDeclination(double orbitDegrees) const;
    double CosHourAngle(double sinDeclination, double sinAltitude) const;
    double CosHourAngle(double sinDeclination, double cosDeclination, double sinAltitude) const;
    double TimeAboveCosine(double cosHourAngle) const;

    SkyInputs in_;
    double sinT_, sinL_, cosL_;
    std::array<double, 4> sinLimits_;  // the horizon and the three dusks, none above the horizon
    double meanAtSolstice_;            // the mean anomaly at t = 0
    double centreAtSolstice_;          // the equation of the centre there
};

// A stretch of the year: start and end as t, the length in the unit of the year. One that wraps
// through the winter solstice ends before it starts; one at a single instant has no length.
struct SkySpan {
    double start;
    double end;
    double length;
};

// The solstices and equinoxes at orbit angles 0, 90, 180 and 270, named for the north.
inline constexpr std::array<std::string_view, 4> kSeasonNames = {
    "winter solstice", "spring equinox", "summer solstice", "autumn equinox"};

struct SkyView {
    SkyInputs inputs;
    std::vector<SkyRow> rows{};  // at t = 0, S, 2S, ... below Y, and one at Y
    // The shortest and the longest daylight, and the first t at which each is reached.
    double shortestDaylight = 0, shortestDay = 0;
    double longestDaylight = 0, longestDay = 0;
    // The t of each of the seasons named below, in their order.
    std::array<double, 4> seasons{};
    std::vector<SkySpan> polarDays{};    // the sun above the horizon all day
    std::vector<SkySpan> polarNights{};  // below it all day
    double longestTwilightOnly = 0;      // the longest stretch below the horizon but above -18°
};

using SkyOutcome = std::variant<SkyView, Problem>;

// The sky's inputs: the tilt, solar day and year read from the boxes' texts as the year reads
// them, the latitude too unless `latitude` is false (a map has every latitude), and the rest as
// given; or the problem of a number too large to read.
std::variant<SkyInputs, Problem> ReadSkyInputs(const DaylightInputs& boxes, bool latitude,
                                               SkyInputs rest);

SkyOutcome ComputeSky(const SkyInputs& in);

// A map with more rows than this, latitudes times days, is taken for mistaken steps.
constexpr double kMostMapRows = 1e7;

// The latitudes of a map, from -90 to 90 by the step, 90 always the last; or why there is no
// map: a problem with the inputs (whose latitude is not read), a step not above 0, or more rows
// than the most.
std::variant<std::vector<double>, Problem> MapLatitudes(const SkyInputs& in, double step);

// The t of the rows: 0, S, 2S, ... below Y, and Y.
std::vector<double> RowDays(const SkyInputs& in);

}  // namespace daycalc
