// The orbit: Kepler's equation, to the last bit or so for any eccentricity below 1, and the
// planet's place on its orbit, the orbit angle λ and the sun's declination that follow from it.
#include <cfloat>

#include "sky_parts.h"

namespace daycalc {

using namespace inner;

Kepler inner::SolveKepler(double m, double e, const KeplerNear* near) {
    double low = -kPi, high = kPi;
    Kepler k;
    if (near && std::fabs(m - near->m) <= 0.1) {
        // From the root for M′ by a Newton step: within about e / (2 (1 − e)) · (ΔM / (1 − e))².
        const Kepler& from = near->root;
        k.E = std::clamp(from.E + (m - near->m) / (1 - e * from.cosE), low, high);
        const CosSin first = CosSinAt(k.E, from.E, {from.cosE, from.sinE});
        k.cosE = first.cos;
        k.sinE = first.sin;
    } else {
        // Three terms of the series in e: within e⁴ of the root.
        const double sinM = rt::Sine(m), cosM = rt::Cosine(m);
        k.E =
            std::clamp(m + e * sinM * (1 + e * (cosM + e * (1.5 * cosM * cosM - 0.5))), low, high);
        // Its cosine and sine from M's.
        const CosSin first = CosSinAt(k.E, m, {cosM, sinM});
        k.cosE = first.cos;
        k.sinE = first.sin;
    }
    // Newton's error after a step s is about e / (2 (1 − e)) · s²: up to e = 0.99 a step below
    // √(2e-16 (1 − e) / e) leaves less than 1e-16 (for the Earth one step from the series);
    // beyond, the steps go on until they stop changing E.
    const double closeEnough = e == 0 ? kPi : e <= 0.99 ? std::sqrt(2e-16 * (1 - e) / e) : 0;
    for (int i = 0; i < 100; ++i) {
        const double f = k.E - e * k.sinE - m;
        if (f == 0) break;
        (f < 0 ? low : high) = k.E;
        const double newton = k.E - f / (1 - e * k.cosE);
        const bool inside = newton > low && newton < high;
        const double next = inside ? newton : (low + high) / 2;  // else halve the bracket
        const double step = next - k.E;
        const CosSin now = CosSinAt(next, k.E, {k.cosE, k.sinE});
        k = {next, now.cos, now.sin};
        if ((inside && std::fabs(step) <= closeEnough) ||
            std::fabs(step) <= 2 * DBL_EPSILON * std::fabs(k.E)) {
            break;
        }
    }
    return k;
}

double EccentricAnomaly(double meanAnomaly, double e) {
    // The root for M reduced to [-π, π] lies in the same interval.
    const double m = std::remainder(meanAnomaly, 2 * kPi);
    return SolveKepler(m, e).E + (meanAnomaly - m);
}

SkyModel::Orbit SkyModel::OrbitOf(double cosE, double sinE) const {
    const double e = in_.eccentricity;
    Orbit o;
    o.distance = 1 - e * cosE;
    // The true anomaly's cosine and sine.
    o.cosNu = (cosE - e) / o.distance;
    o.sinNu = std::sqrt(1 - e * e) * sinE / o.distance;
    // λ = ν + P.
    const CosSin orbit = Turned({o.cosNu, o.sinNu}, {cosP_, sinP_});
    o.cosLambda = orbit.cos;
    o.sinLambda = orbit.sin;
    // The sun's own declination, kept for the right ascension, and the almanac's: the sun's own
    // and term · sin Ls, where sin Ls = −cos λ.
    o.sinOwn = SinDeclination(sinT_, o.cosLambda);
    o.cosOwn = CosOf(o.sinOwn);
    const CosSin d = term_ == 0 ? CosSin{o.cosOwn, o.sinOwn}
                                : Turned({o.cosOwn, o.sinOwn}, SmallTurn(-term_ * o.cosLambda));
    o.cosDeclination = d.cos;
    o.sinDeclination = d.sin;
    return o;
}

double SkyModel::DayOfOrbitAngle(double angle) const {
    const double e = in_.eccentricity;
    const double degrees = angle - 360 * std::floor(angle / 360);  // the same point, 0 to 360
    double turns = degrees / 360;
    if (e != 0) {
        // Back from the true anomaly to the eccentric and the mean one.
        const double trueAnomaly = (degrees - in_.perihelion) * kDegree;
        const double E = 2 * rt::ArcTangent2(std::sqrt(1 - e) * rt::Sine(trueAnomaly / 2),
                                             std::sqrt(1 + e) * rt::Cosine(trueAnomaly / 2));
        turns = (E - e * rt::Sine(E) - meanAtSolstice_) / (2 * kPi);
    }
    const double t = (turns - std::floor(turns)) * in_.year;
    return t < in_.year ? t : 0;
}

double SkyModel::DayOfChosenAngle(double degrees) const {
    return degrees >= 360 ? in_.year : DayOfOrbitAngle(degrees);
}

}  // namespace daycalc
