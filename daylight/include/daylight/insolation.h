// Sunlight at the top of the air: the flux on a level surface averaged over the solar day and
// over the year, by latitude, on any planet; and the Earth's orbit through the last million years
// (Berger 1978), on which the same sums give the sunlight of any latitude then.
//
// The daily mean. Over a solar day whose declination δ and distance ρ (in units of the mean one,
// the semi-major axis) hold still, a level surface at latitude φ receives on average
//     Q = S / (π ρ²) · (H₀ sin φ sin δ + cos φ cos δ sin H₀),   cos H₀ = −tan φ tan δ,
// the integral of the flux S / ρ² · max(0, sin a) over the hour angle, S being the flux at the mean
// distance; H₀ is the hour angle of sunset, π in polar day and 0 in polar night. With
// a = sin φ sin δ and b = cos φ cos δ it is computed as S / (π ρ²) · (a H₀ + b sin H₀) with
// H₀ = arccos(−a / b): the bracket is stationary in H₀, so that the error of H₀, which grows as
// the polar night nears, is felt only squared. δ and ρ are the row's own, taken at the instant of
// its t (the noon of its day): on a planet whose solar day is long beside its year (Mercury, Venus)
// that is the day's middle, not a mean over it. Against the integral by quadrature in MPFR at
// 50,000 points of every latitude, orbit angle, tilt and eccentricity, the edges of the polar
// circles among them, it is within 1e-14 of S / ρ² (tests/daylight/tst_insolation.cpp).
//
// The year's mean. By Kepler's second law dt ∝ ρ² dλ, so the distance drops out of the year's
// mean: Q̄ = S / (π √(1 − e²)) · (1 / 2π) ∫ F(φ, δ(λ)) dλ, F the bracket above, a sum over the
// orbit angle λ alone. F is smooth but where the polar day or night begins or ends, where it is
// of the form A + √(λ − λ₀) · B; the integral is split there (the ends found by bisection) and
// in pieces that narrow towards the solstices, each piece stretched by
// λ = λ₀ + (λ₁ − λ₀)(3s² − 2s³) to make it smooth and summed by Gauss-Legendre's rule with 32
// points: within 1e-13 of S against the closed forms at the poles, S sin T / (π √(1 − e²)), and
// the equator, 2 S E(sin T) / (π² √(1 − e²)). The globe's mean of it, over the latitude by the
// same rule, split at the polar circles, is S / (4 √(1 − e²)) within 1e-13 of it; with an
// almanac's term of the declination, which can turn the declination back, within 1e-6.
#pragma once

#include <optional>

#include "daylight/problem.h"
#include "daylight/sky.h"
#include "daylight/table.h"

namespace daycalc {

// The flux of sunlight at the Earth's mean distance from the sun, 1 AU, W/m² (Kopp and Lean
// 2011); another planet's at its mean distance a is the same thinned by the square of a in AU.
inline constexpr double kEarthSolarConstant = 1361;
inline double SolarConstantAt(double distance) {
    return kEarthSolarConstant / (distance * distance);
}

// The daily mean flux, W/m², for the flux S at the mean distance, a latitude in degrees, the
// sun's declination as its sine and cosine, and its distance ρ in units of the mean.
double DailyMeanFlux(double solarConstant, double latitude, double sinDeclination,
                     double cosDeclination, double distance);
// The flux on the level at noon, the most of the day: S / ρ² · max(0, cos(φ − δ)).
double NoonFlux(double solarConstant, double latitude, double sinDeclination, double cosDeclination,
                double distance);
// The daily mean on an orbit at an orbit angle (degrees past the winter solstice): the sun's
// declination from the tilt, sin δ = −sin T · cos λ, and its distance from the eccentricity and
// the perihelion, ρ = (1 − e²) / (1 + e cos(λ − P)).
double DailyMeanAtOrbitAngle(double solarConstant, double latitude, double tilt,
                             double eccentricity, double perihelion, double orbitAngle);

// The year's mean at the inputs' latitude (their tilt, eccentricity and declination term; the
// solar day and the year do not matter), and the globe's mean of it.
double AnnualMeanFlux(const SkyInputs& in, double solarConstant);
double GlobalMeanFlux(const SkyInputs& in, double solarConstant);

// The Earth's orbit at a time, from the trigonometric series of Berger (1978, J. Atmos. Sci. 35,
// 2362), his tables 1, 4 and 5 of amplitudes, rates and phases: the eccentricity, the obliquity
// (the tilt, degrees) and the perihelion as the sky counts it, degrees past the winter solstice
// (his longitude of the perihelion from the moving equinox, ϖ, less 90: 12.04 in 1950).
struct EarthOrbit {
    double eccentricity;
    double obliquity;
    double perihelion;
};
// At kyr thousands of years from 1950 (negative in the past); the series hold from -1000 to 100.
EarthOrbit EarthOrbitAt(double kyr);

// The producers, each checking its inputs before a row is handed over.
// Through the year at the latitude, a row every step as the sky's: day, orbit_angle, declination,
// distance, insolation and noon_flux; then the year's mean at that latitude (annual_mean).
std::optional<Problem> ProduceInsolation(const SkyInputs& in, double solarConstant,
                                         TableConsumer& to);
// The one day at an orbit angle (0 to 360 degrees past the winter solstice): its row alone.
std::optional<Problem> ProduceInsolationDay(const SkyInputs& in, double solarConstant,
                                            double degrees, TableConsumer& to);
// Every latitude by the step, every day as the sky's: latitude, day, insolation.
std::optional<Problem> ProduceInsolationMap(const SkyInputs& in, double solarConstant,
                                            double latitudeStep, TableConsumer& to);
// The year's mean at every latitude by the step: latitude, insolation; then the globe's mean
// (global_mean).
std::optional<Problem> ProduceAnnualInsolation(const SkyInputs& in, double solarConstant,
                                               double latitudeStep, TableConsumer& to);

// The Earth's orbit and the daily mean at a latitude and orbit angle through time.
struct History {
    double latitude;
    double orbitAngle;  // degrees past the winter solstice, 0 to 360
    double fromKyr, toKyr, stepKyr;
    double solarConstant;
};
// A row every step from the first time to the last (which is always one): kyr, eccentricity,
// obliquity, perihelion, insolation.
std::optional<Problem> ProduceInsolationHistory(const History& h, TableConsumer& to);

}  // namespace daycalc
