// The parts of the sky's model that its files share, inside the core: the turns of an angle by
// their series (within 1e-16), Kepler's equation, and the model's own records of the sun through a
// day. Each function's bound is written beside it.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "daylight/sky.h"
#include "runtime/trigonometry.h"

namespace daycalc {
namespace inner {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
constexpr double kTurn = 2 * kPi;
constexpr double kDusks[] = {0, kCivilDusk, kNauticalDusk, kAstronomicalDusk};  // by Limit
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// The steps of a day that is followed step by step; a crossing lies between two of them.
constexpr int kSlowSamples = 192;

// The cosine of an angle from -90° to 90° from its sine.
inline double CosOf(double sine) { return std::sqrt(std::max(0.0, (1 - sine) * (1 + sine))); }

// The sine of the declination, -sin T · cos λ, kept within [-1, 1] where a rounding takes it past.
inline double SinDeclination(double sinT, double cosLambda) {
    return std::clamp(-sinT * cosLambda, -1.0, 1.0);
}

// The cosine and sine of an angle.
struct CosSin {
    double cos, sin;
};

// Those of a + b, from those of a and of b.
inline CosSin Turned(CosSin a, CosSin b) {
    return {a.cos * b.cos - a.sin * b.sin, a.sin * b.cos + a.cos * b.sin};
}

// Those of a small angle x (at most 0.1) by their Taylor series, within 1e-16.
inline CosSin SmallTurn(double x) {
    const double x2 = x * x;
    return {1 - x2 * (0.5 - x2 * (1.0 / 24 - x2 * (1.0 / 720 - x2 * (1.0 / 40320)))),
            x * (1 - x2 * (1.0 / 6 - x2 * (1.0 / 120 - x2 * (1.0 / 5040 - x2 * (1.0 / 362880)))))};
}

// Those of a slight angle x (at most 0.03) by the series to x^6 and x^7, within 1e-16: the orbit's
// turn in half a solar day, and the small steps of an angle.
inline CosSin SlightTurn(double x) {
    const double x2 = x * x;
    return {1 - x2 * (0.5 - x2 * (1.0 / 24 - x2 * (1.0 / 720))),
            x * (1 - x2 * (1.0 / 6 - x2 * (1.0 / 120 - x2 * (1.0 / 5040))))};
}

// Those of `to`, from those of `from`: turned on by the difference where it is small (by the
// shorter series where it is slight), afresh otherwise. Always inline, so that the crossings'
// turns run side by side.
[[gnu::always_inline]] inline CosSin CosSinAt(double to, double from, CosSin at) {
    const double step = to - from;
    if (!(std::fabs(step) <= 0.1)) return {rt::Cosine(to), rt::Sine(to)};
    return Turned(at, std::fabs(step) <= 0.03 ? SlightTurn(step) : SmallTurn(step));
}

// An hour angle with its cosine and sine, moved on by small steps without the library's way.
struct HourAngle {
    double angle, cos, sin;
    static HourAngle Of(double angle) { return {angle, rt::Cosine(angle), rt::Sine(angle)}; }
    HourAngle To(double next) const {
        const CosSin at = CosSinAt(next, angle, {cos, sin});
        return {next, at.cos, at.sin};
    }
};

// Kepler's equation for a mean anomaly from -π to π, where E − e · sin E − M rises: E with its
// cosine and sine.
struct Kepler {
    double E, cosE, sinE;
};

// A root already found, for a mean anomaly M′ near the one solved for next.
struct KeplerNear {
    double m;
    Kepler root;
};

// Kepler's equation solved for M, from the root near it where one is given.
Kepler SolveKepler(double m, double e, const KeplerNear* near = nullptr);

}  // namespace inner

// The sun seen from the planet at a moment.
struct SkyModel::Position {
    double orbitDegrees;  // λ in degrees, 0 at t = 0
    double cosLambda, sinLambda;
    double sinDeclination, cosDeclination;
    double equationOfTime;  // apparent less mean solar time, as an hour angle (radians)
    double distance;        // r, in units of the mean distance
    double rate;            // dλ/dt, radians a solar day
    double acceleration;    // d²λ/dt²
    double timeRate;        // d(equation of time)/dt
};

// The day around an apparent noon: the sun there, and how fast its hour angle runs.
struct SkyModel::Day {
    double noon;
    Position sun;
    double omega;  // the hour angle's rate at noon, radians a solar day: 2π and the equation's
    double midnightCos, midnightSin;  // of the hour angle half a solar day after noon
    bool slow;                        // followed step by step rather than by the series
    std::array<double, 3> heights;    // by the series: the sun's height at x = -1/2, 0 and 1/2
    std::array<double, 4> sinLimits;  // at the distance of noon
    // Followed step by step: the sun at x = -1/2 + j / kSlowSamples, which every limit looks at.
    const Path* path;
    std::unique_ptr<Path> own;  // the path where the model keeps none
};

// How long the sun stays above a limit on the day: rise and set as solar days from noon (NaN
// where it does not cross the limit on that side of noon), the time between, and whether it
// crosses at all.
struct SkyModel::Above {
    double rise, set;
    double time;
    Sun sun;
};

// The planet on its orbit: its distance, the true anomaly's and λ's cosines and sines, and the
// sun's declination, its own (which the right ascension goes with) and the almanac's.
struct SkyModel::Orbit {
    double distance;
    double cosNu, sinNu;
    double cosLambda, sinLambda;
    double sinOwn, cosOwn;
    double sinDeclination, cosDeclination;
};

// The sun's direction and distance at a moment, as a slow day needs them: its declination, the
// direction of its right ascension (a unit vector), and its distance.
struct SkyModel::Bearing {
    double sinDeclination, cosDeclination;
    double cosRightAscension, sinRightAscension;
    double distance;
};

// The sun at a moment of a slow day: its declination, the hour angle that brings, and the
// horizon at its distance.
struct SkyModel::Step {
    double sinDeclination;
    double acrossCosHour;  // cos δ · cos H
    double sinHorizon;     // of the horizon's altitude, which the distance moves at sunrise
};

// The orbit at the moment looked at last, from which one near it is solved; at first near none.
struct SkyModel::Near {
    inner::KeplerNear kepler{inner::kNone, {}};
    double turned = inner::kNone;  // Ω · x
    inner::CosSin mean{};          // its cosine and sine
};

struct SkyModel::Path {
    Bearing noon;
    std::array<Step, inner::kSlowSamples + 1> steps;  // at x = -1/2 + j / kSlowSamples
};

struct SkyModel::Paths {
    std::vector<std::pair<double, std::unique_ptr<Path>>> byNoon;  // in the noons' order
};

}  // namespace daycalc
