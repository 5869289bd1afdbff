// The sky as it is: a planet on an elliptical orbit, the sun rising and setting at the planet's
// own horizon, and the three twilights. A model of its own beside the calculation of the window,
// which it leaves as it is: plain double precision, with every input checked once before anything
// is computed, so that no number it gives is a NaN or an infinity.
//
// Time t runs from the northern winter solstice in the unit of the year Y, which is the time from
// one winter solstice to the next, counted in mean solar days. On an orbit of eccentricity e whose
// perihelion lies P degrees past the winter solstice, the mean anomaly runs evenly with t;
// Kepler's equation gives the true anomaly and with it λ, the orbit angle past the winter solstice
// (λ = 360 · t / Y when e = 0), and the distance r = 1 − e · cos E in units of the mean one. The
// sun's declination is sin δ = −sin T · cos λ, its right ascension α = atan2(−cos T · cos λ,
// sin λ), and the equation of time (apparent less mean solar time) is the mean sun's right
// ascension less α: the sun's hour angle runs 2π a mean solar day plus the change in it.
//
// A row at t is the solar day centred on an apparent noon at t, from the midnight before to the
// one after. The sun rises and sets where its altitude, with the declination, right ascension and
// distance of that moment, crosses the horizon: sin a = sin L · sin δ + cos L · cos δ · cos H.
// Where a solar day is short beside the year the orbit is followed through the day by its Taylor
// series to the second order, and each crossing is found by Halley's steps from where the sun of
// noon would cross, moved by the declination's rate. They stop when the step's error is below
// 1e-15 of a solar day, beneath the rounding of the altitude itself: the crossings agree with
// steps taken on to the end within 1e-13 hours of a 24-hour day. Else the day is followed step
// by step (the slow rotators: Venus, Mercury).
#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "daylight/year.h"

namespace daycalc {

// Altitudes of the sun's centre, in degrees.
constexpr double kSunriseHorizon = -50.0 / 60;  // the Earth's sunrise at its mean distance
constexpr double kGeometricHorizon = 0;
constexpr double kCivilDusk = -6;
constexpr double kNauticalDusk = -12;
constexpr double kAstronomicalDusk = -18;

// The sun's half disc at the mean distance of 1 AU, in degrees (16'), and the Earth's refraction
// at the horizon, in minutes of arc.
constexpr double kHalfDiscAtOneAu = 16.0 / 60;
constexpr double kEarthRefraction = 34;

// The horizon for a planet's sunrise: its refraction and the half disc at the distance, in
// degrees of the sun's centre.
inline double SunriseHorizon(double refraction, double distance) {
    return -(refraction / 60 + kHalfDiscAtOneAu / distance);
}

// A horizon as people give it: "sunrise", "geometric", or a number of degrees and nothing else.
std::optional<double> HorizonOf(std::string_view text);
inline constexpr std::string_view kHorizonForm =
    "the horizon must be sunrise, geometric or a number of degrees";

// No longitude: the rows are the days whose noons fall on their t, wherever that is.
inline constexpr double kAnyLongitude = __builtin_nan("");

// A year of fewer solar days than this is short: the sun moves too far in a day for its series,
// so each day is followed step by step, and the rows' step is a 360th of the year, not a day.
constexpr double kShortYear = 100;

struct SkyInputs {
    double tilt;          // degrees
    double latitude;      // degrees, -90 to 90
    double solarDay;      // above 0, in any unit
    double year;          // above 0, in any unit: rows and spans are given in it
    double eccentricity;  // 0 up to but not including 1
    double perihelion;    // the orbit angle of the perihelion, degrees past the winter solstice
    double horizon;       // the altitude of the sun's centre at sunrise and sunset, -90 to 90
    double step;          // from one row to the next, in the unit of the year, above 0
    // Sunrise as the planet sees it: with `sunrise`, the horizon is where the sun's upper limb
    // stands at the refraction (minutes of arc, 0 to 600) below the level, its half disc shrinking
    // with the distance along the orbit (mean distance in AU, above 0); `horizon` then holds the
    // value at the mean distance.
    double distance = 1;
    double refraction = kEarthRefraction;
    bool sunrise = false;
    // Degrees added to the sun's declination times the sine of its orbit angle from the spring
    // equinox (-5 to 5): an almanac's planetographic declination; 0 is the sun's direction.
    double declinationTerm = 0;
    // Degrees east of the meridian that has its mean noon at t = 0; a number makes every row the
    // day at that meridian whose noon lies nearest its t.
    double longitude = kAnyLongitude;
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
    // Sunrise, noon and sunset in local mean solar time (in the unit of the solar day after local
    // mean midnight; sunrise or sunset NaN where the sun does not cross the horizon), and the
    // equation of time, apparent less mean solar time, in the unit of the solar day.
    double sunrise;
    double noon;
    double sunset;
    double equationOfTime;
    // When the sun reaches -6°, -12° and -18° before noon (dawns) and after it (dusks), in the
    // same time as sunrise; NaN where it does not reach that limit that day.
    std::array<double, 3> dawns{}, dusks{};
};

// The horizon and the three dusks, in their order.
enum class Limit { Horizon, Civil, Nautical, Astronomical };

// The days followed step by step whose paths a map keeps for its latitudes.
constexpr std::size_t kKeptPaths = 1500;

// The orbit and the sky over one latitude, for inputs without a problem; cheap to make.
class SkyModel {
  public:
    explicit SkyModel(const SkyInputs& in);
    // The same sky at another latitude, for the latitudes of a map: the sun's path through each
    // day followed step by step, which is the same at every latitude, is made once for all the
    // models made from one (up to kKeptPaths days of it, about 7 MB) and then shared.
    SkyModel AtLatitude(double latitude) const;

    // The day whose noon is at t, or with a longitude the day there whose noon is nearest t; and
    // the t of that noon.
    SkyRow RowAt(double t) const;
    double NoonAt(double t) const;
    // The day whose apparent noon is at t.
    SkyRow RowOfNoon(double noon) const;
    // The t of the apparent noon nearest t at the longitude.
    double NoonNear(double t, double longitude) const;
    // The sine of the sun's altitude x solar days after the apparent noon at t = noon, the orbit
    // followed: what the slow rotators' days are measured by.
    double SinAltitudeAt(double noon, double x) const;
    // The same by the day's series, to the second order of the orbit's turn: what the other days
    // are measured by, and what their crossings are the roots of.
    double SeriesSinAltitudeAt(double noon, double x) const;
    // Where the sun's centre stands x solar days after the apparent noon at t = noon, the orbit
    // followed, without air: its altitude, and its azimuth from north through east, in degrees.
    struct Standing {
        double altitude;
        double azimuth;
    };
    Standing SunAt(double noon, double x) const;
    // When the sun's centre, without air, is at each altitude (degrees) on the day of the noon at
    // t = noon: in solar days from noon, rising before it and setting after it; NaN on a side
    // where it does not cross that altitude. The day's noon and ends are found once for all.
    std::vector<std::array<double, 2>> WhenAt(double noon, std::span<const double> degrees) const;
    // The planet on its orbit at t, as the row of the noon at t gives it: the orbit angle
    // (degrees, 360 at the next winter solstice), the sun's declination in degrees with its sine
    // and cosine, and the distance in units of the mean.
    struct OnOrbit {
        double orbitAngle, declination, sinDeclination, cosDeclination, distance;
    };
    OnOrbit OrbitAt(double t) const;
    // The t at which the orbit angle is reached, from 0 to below Y.
    double DayOfOrbitAngle(double degrees) const;
    // The same for a chosen day, from 0 to 360: 360 is the next winter solstice, at Y.
    double DayOfChosenAngle(double degrees) const;
    // Whether the sun crosses a limit on the day whose noon is at t, and how long it stays above.
    Sun SunOn(double t, Limit limit) const;
    // The same for two limits, the day made once.
    std::array<Sun, 2> SunsOn(double t, Limit a, Limit b) const;
    double TimeAbove(double t, Limit limit) const;

    struct Position;  // the sun seen from the planet at a moment
    struct Bearing;   // the sun's direction and distance at a moment, as the slow days need it
    struct Path;      // the sun through a day followed step by step, for any latitude
    struct Paths;     // the paths kept for a map's latitudes
    struct Day;       // the sun through the day around a noon
    struct Above;     // the time the sun spends above a limit that day
    // The sun where SunAt places it, through one day at many moments, the noon's own bearing found
    // once.
    class SunThroughDay {
      public:
        SunThroughDay(const SkyModel& model, double noon);
        ~SunThroughDay();
        Standing At(double x) const;

      private:
        const SkyModel& model_;
        double noon_;
        std::unique_ptr<const Bearing> atNoon_;
    };

  private:
    struct Orbit;  // the planet on its orbit and the declination that gives
    Orbit OrbitOf(double cosE, double sinE) const;  // from the eccentric anomaly's cosine and sine
    Position PositionAt(double t) const;
    // The orbit at t from the sun's position there.
    OnOrbit OnOrbitOf(const Position& p, double t) const;
    struct Near;  // the orbit at a moment near the next one looked at, from which it is solved
    Bearing BearingAt(double t, Near* near = nullptr) const;
    struct Step;  // the sun at a moment of a slow day, all that its altitude needs of it
    // The sun x solar days after the noon at t = `noon`, which it bore `atNoon`; solved from the
    // moment `near` and then kept there, where one is given.
    Step StepAt(double noon, const Bearing& atNoon, double x, Near* near = nullptr) const;
    double HeightOf(const Step& step) const;
    // The path through the day of the noon: kept by the model, or made and handed to `own`.
    const Path* PathAt(double noon, std::unique_ptr<Path>& own) const;
    Day DayAt(double noon) const;
    double SinLimit(Limit limit, double distance) const;
    // How long the sun stays above each of the limits on the day (the others left empty).
    std::array<Above, 4> AboveOn(const Day& day, std::initializer_list<Limit> limits) const;
    // The same for one limit on a day followed step by step.
    Above SlowAbove(const Day& day, Limit limit) const;
    // Whether the sun crosses a limit on a day followed by the series, from its heights alone.
    static Sun SunBySeries(const Day& day, double sinLimit);
    // The same on any day.
    Sun SunOf(const Day& day, Limit limit) const;

    SkyInputs in_;
    double sinT_, cosT_, sinL_, cosL_;
    double term_;         // the almanac's term of the declination, radians
    double cosP_, sinP_;  // of the perihelion's orbit angle
    double turn_;         // +1, or -1 for a tilt past 90: the way the sun runs in right ascension
    std::array<double, 4> sinDusks_{};  // the sines of the three dusks' altitudes, by Limit
    double sinHorizon_;      // of the horizon's, where it does not move with the distance (sunrise)
    double meanAtSolstice_;  // the mean anomaly at t = 0
    double centreAtSolstice_;  // the equation of the centre there
    bool slow_;                // a solar day not short beside the year: followed step by step
    double omega_;  // the mean sun's hour angle and right ascension together, radians a solar day
    mutable std::shared_ptr<Paths> paths_;  // shared by the models of one map, else none
};

// The solstices and equinoxes at orbit angles 0, 90, 180 and 270, named for the north.
inline constexpr std::array<std::string_view, 4> kSeasonNames = {
    "winter solstice", "spring equinox", "summer solstice", "autumn equinox"};
// The same as members of a record (a summary's names).
inline constexpr std::array<std::string_view, 4> kSeasonMembers = {
    "winter_solstice", "spring_equinox", "summer_solstice", "autumn_equinox"};

struct SkyView {
    SkyInputs inputs;
    std::vector<SkyRow> rows{};  // at t = 0, S, 2S, ... below Y, and one at Y
    // The shortest and the longest daylight, and the first t at which each is reached.
    double shortestDaylight = 0, shortestDay = 0;
    double longestDaylight = 0, longestDay = 0;
    // The t of each of the seasons named below, in their order.
    std::array<double, 4> seasons{};
    std::vector<Span> polarDays{};    // the sun above the horizon all day
    std::vector<Span> polarNights{};  // below it all day
    double longestTwilightOnly = 0;   // the longest stretch below the horizon but above -18°
};

using SkyOutcome = std::variant<SkyView, Problem>;

// The sky's inputs: the tilt, solar day and year read from the boxes' texts as the year reads
// them, the latitude too unless `latitude` is false (a map has every latitude), and the rest as
// given; or the problem of a number too large to read.
std::variant<SkyInputs, Problem> ReadSkyInputs(const DaylightInputs& boxes, bool latitude,
                                               SkyInputs rest);

SkyOutcome ComputeSky(const SkyInputs& in);

// Whether the summary after the rows is worked out: a figure that draws only the rows has no use
// for it, and it costs more than a short sky's rows.
enum class Summary { Wanted, NotWanted };

// The same sky with its rows handed to `row` one by one as they are made; the view returned has
// no rows. Where `row` returns false the sky ends there, without its summary. Nothing is handed
// over where the inputs cannot be used.
SkyOutcome StreamSky(const SkyInputs& in, const std::function<bool(const SkyRow&)>& row,
                     Summary summary = Summary::Wanted);

// A map with more rows than this, latitudes times days, is taken for mistaken steps.
constexpr double kMostMapRows = 1e7;

// The rows of a map by these steps: its latitudes times its days.
double MapRows(const SkyInputs& in, double latitudeStep);

// The latitudes of a map, from -90 to 90 by the step, 90 always the last; or why there is no
// map: a problem with the inputs (whose latitude is not read), a step not above 0, or more rows
// than the most.
std::variant<std::vector<double>, Problem> MapLatitudes(const SkyInputs& in, double step);

// The t of the k-th row from 0: k · S while that falls before the end of the year, then Y once;
// none after it. And all of them: 0, S, 2S, ... below Y, and Y.
std::optional<double> RowDay(const SkyInputs& in, double k);
std::vector<double> RowDays(const SkyInputs& in);

}  // namespace daycalc
