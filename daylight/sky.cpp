#include "daylight/sky.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <utility>

namespace daycalc {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;

// The orbit angles at which the days are looked at for spans: every quarter degree, the
// solstices and equinoxes among them.
constexpr int kSpanSamples = 1440;
constexpr double kSpanSample = 360.0 / kSpanSamples;

// The cosine of an angle from -90° to 90° from its sine.
double CosOf(double sine) { return std::sqrt((1 - sine) * (1 + sine)); }

// Whether the sun crosses an altitude that day, from the cosine of its hour angle there: at 1
// or beyond it never reaches the altitude, at -1 or beyond it never leaves it.
Sun SunOfCosine(double c) {
    if (c >= 1) return Sun::PolarNight;
    if (c <= -1) return Sun::PolarDay;
    return Sun::Rises;
}

// The edge between an angle where a condition does not hold and one where it does, to the last
// bit: the angle on the side where it holds.
template <typename Holds>
double Edge(double outside, double inside, const Holds& holds) {
    for (int i = 0; i < 64; ++i) {
        const double middle = (outside + inside) / 2;
        if (middle == outside || middle == inside) break;
        (holds(middle) ? inside : outside) = middle;
    }
    return inside;
}

// The stretches of the year through which a condition on the day holds. Every stretch that the
// sky can make holds either a solstice or a quarter degree of the orbit, so none is missed.
template <typename Holds>
std::vector<SkySpan> SpansWhere(const SkyModel& model, double year, const Holds& holds) {
    std::vector<bool> at(kSpanSamples);
    for (int i = 0; i < kSpanSamples; ++i) at[i] = holds(i * kSpanSample);
    const auto first = std::find(at.begin(), at.end(), false);
    if (first == at.end()) return {{0, year, year}};  // the whole year
    std::vector<SkySpan> spans;
    const int from = int(first - at.begin());
    double start = 0;
    for (int k = 1; k <= kSpanSamples; ++k) {
        const int i = (from + k) % kSpanSamples, before = (from + k - 1) % kSpanSamples;
        const double angle = (from + k) * kSpanSample;  // unwrapped, past the first sample out
        if (at[i] && !at[before]) start = Edge(angle - kSpanSample, angle, holds);
        if (!at[i] && at[before]) {
            const double end = Edge(angle, angle - kSpanSample, holds);
            const double startDay = model.DayOfOrbitAngle(start);
            const double endDay = model.DayOfOrbitAngle(end);
            const double length = endDay - startDay;
            spans.push_back({startDay, endDay, length < 0 ? length + year : length});
        }
    }
    return spans;
}

// The orbit angles at which the daylight may be shortest or longest: the solstices, and the
// declination where the derivative of the hour angle's cosine, sin h · sin δ − sin L, vanishes,
// which only a horizon away from 0 and a latitude near the equator give.
std::vector<double> DaylightExtremes(const SkyInputs& in) {
    std::vector<double> angles = {0, 180};
    const double sinT = std::sin(in.tilt * kDegree), sinH = std::sin(in.horizon * kDegree);
    if (sinH == 0 || sinT == 0) return angles;
    const double sinDeclination = std::sin(in.latitude * kDegree) / sinH;
    const double cosAngle = -sinDeclination / sinT;
    if (!(std::fabs(cosAngle) <= 1)) return angles;
    const double angle = std::acos(cosAngle) / kDegree;
    angles.push_back(angle);
    angles.push_back(360 - angle);
    return angles;
}

// Kepler's equation for a mean anomaly from -π to π, where E − e · sin E − M rises.
double ReducedEccentricAnomaly(double m, double e) {
    double low = -kPi, high = kPi;
    // Two terms of the series in e: within e³ of the root, two Newton steps from it at most.
    double E = std::clamp(m + e * std::sin(m) * (1 + e * std::cos(m)), low, high);
    // Newton's error after a step s is about e / (2 (1 − e)) · s²: up to e = 0.99 a step below
    // 1e-9 leaves less than 1e-16; beyond, the steps go on until they stop changing E.
    const double closeEnough = e <= 0.99 ? 1e-9 : 0;
    for (int i = 0; i < 100; ++i) {
        const double f = E - e * std::sin(E) - m;
        if (f == 0) break;
        (f < 0 ? low : high) = E;
        const double newton = E - f / (1 - e * std::cos(E));
        const bool inside = newton > low && newton < high;
        const double next = inside ? newton : (low + high) / 2;  // else halve the bracket
        const double step = std::fabs(next - E);
        E = next;
        if ((inside && step <= closeEnough) || step <= 2 * DBL_EPSILON * std::fabs(E)) break;
    }
    return E;
}

}  // namespace

std::string SkyProblem(const SkyInputs& in) {
    const std::pair<const char*, double> values[] = {{"tilt", in.tilt},
                                                     {"latitude", in.latitude},
                                                     {"solar day", in.solarDay},
                                                     {"year", in.year},
                                                     {"eccentricity", in.eccentricity},
                                                     {"perihelion", in.perihelion},
                                                     {"horizon", in.horizon},
                                                     {"step", in.step}};
    for (const auto& [name, value] : values) {
        if (!std::isfinite(value)) return std::string("the ") + name + " is not a finite number";
    }
    if (!(std::fabs(in.latitude) <= 90)) return "the latitude must be from -90 to 90 degrees";
    if (!(in.solarDay > 0)) return "the solar day must be above 0";
    if (!(in.year > 0)) return "the year must be above 0";
    if (!(in.eccentricity >= 0 && in.eccentricity < 1)) {
        return "the eccentricity must be from 0 up to but not including 1";
    }
    if (!(std::fabs(in.horizon) <= 90)) return "the horizon must be from -90 to 90 degrees";
    if (!(in.step > 0)) return "the step must be above 0";
    if (in.year / in.step > kMostSkyRows) {
        return "the step must be at least a millionth of the year";
    }
    return "";
}

double EccentricAnomaly(double meanAnomaly, double e) {
    // The root for M reduced to [-π, π] lies in the same interval.
    const double m = std::remainder(meanAnomaly, 2 * kPi);
    return ReducedEccentricAnomaly(m, e) + (meanAnomaly - m);
}

SkyModel::SkyModel(const SkyInputs& in) : in_(in) {
    sinT_ = std::sin(in.tilt * kDegree);
    sinL_ = std::sin(in.latitude * kDegree);
    cosL_ = std::cos(in.latitude * kDegree);
    const double limits[] = {in.horizon, kCivilDusk, kNauticalDusk, kAstronomicalDusk};
    for (std::size_t i = 0; i < 4; ++i) {
        sinLimits_[i] = std::sin(std::min(limits[i], in.horizon) * kDegree);
    }
    // At the winter solstice the planet is P before its perihelion: its true anomaly is −P.
    const double e = in.eccentricity;
    const double trueAnomaly = -in.perihelion * kDegree;
    const double E = 2 * std::atan2(std::sqrt(1 - e) * std::sin(trueAnomaly / 2),
                                    std::sqrt(1 + e) * std::cos(trueAnomaly / 2));
    meanAtSolstice_ = E - e * std::sin(E);
    centreAtSolstice_ = EquationOfCentre(meanAtSolstice_);
}

// The true anomaly less the mean one, which the ellipse adds to the even motion.
double SkyModel::EquationOfCentre(double meanAnomaly) const {
    const double e = in_.eccentricity;
    const double m = std::remainder(meanAnomaly, 2 * kPi);
    const double E = ReducedEccentricAnomaly(m, e);
    // The true anomaly's cosine and sine are cos E − e and √(1 − e²) · sin E, over 1 − e · cos E.
    const double trueAnomaly = std::atan2(std::sqrt(1 - e * e) * std::sin(E), std::cos(E) - e);
    const double centre = trueAnomaly - m;
    return centre > kPi ? centre - 2 * kPi : centre < -kPi ? centre + 2 * kPi : centre;
}

double SkyModel::OrbitAngleAt(double t) const {
    // The even motion of a circular orbit: a whole turn in a year.
    const double even = t / in_.year * 360;
    if (in_.eccentricity == 0) return even;
    // The ellipse runs ahead of it or behind it by the equation of the centre.
    const double mean = meanAtSolstice_ + t / in_.year * (2 * kPi);
    return even + (EquationOfCentre(mean) - centreAtSolstice_) / kDegree;
}

double SkyModel::DayOfOrbitAngle(double angle) const {
    const double e = in_.eccentricity;
    const double degrees = angle - 360 * std::floor(angle / 360);  // the same point, 0 to 360
    double turns = degrees / 360;
    if (e != 0) {
        // Back from the true anomaly to the eccentric and the mean one.
        const double trueAnomaly = (degrees - in_.perihelion) * kDegree;
        const double E = 2 * std::atan2(std::sqrt(1 - e) * std::sin(trueAnomaly / 2),
                                        std::sqrt(1 + e) * std::cos(trueAnomaly / 2));
        turns = (E - e * std::sin(E) - meanAtSolstice_) / (2 * kPi);
    }
    const double t = (turns - std::floor(turns)) * in_.year;
    return t < in_.year ? t : 0;
}

// The sun's declination follows from how far the axis leans towards it: sin δ = −sin T · cos λ.
double SkyModel::SinDeclination(double orbitDegrees) const {
    return -sinT_ * std::cos(orbitDegrees * kDegree);
}

// cos H = (sin h − sin L · sin δ) / (cos L · cos δ). With the sun at a pole of the sky its
// altitude does not change through the day: it counts as staying above h, or below it.
double SkyModel::CosHourAngle(double sinDeclination, double sinAltitude) const {
    return CosHourAngle(sinDeclination, CosOf(sinDeclination), sinAltitude);
}

double SkyModel::CosHourAngle(double sinDeclination, double cosDeclination,
                              double sinAltitude) const {
    const double rise = sinAltitude - sinL_ * sinDeclination;
    const double across = cosL_ * cosDeclination;
    if (across == 0) return rise > 0 ? 1 : -1;
    return rise / across;
}

// H / π of the solar day; none where the sun never gets above, all of it where it never gets
// below.
double SkyModel::TimeAboveCosine(double c) const {
    if (c >= 1) return 0;
    if (c <= -1) return in_.solarDay;
    return std::acos(c) / kPi * in_.solarDay;
}

Sun SkyModel::SunOn(double orbitDegrees, double altitude) const {
    return SunOfCosine(CosHourAngle(SinDeclination(orbitDegrees), std::sin(altitude * kDegree)));
}

double SkyModel::TimeAbove(double orbitDegrees, double altitude) const {
    return TimeAboveCosine(
        CosHourAngle(SinDeclination(orbitDegrees), std::sin(altitude * kDegree)));
}

SkyRow SkyModel::RowAt(double t) const {
    const double lambda = OrbitAngleAt(t);
    const double s = SinDeclination(lambda);
    std::array<double, 4> cosines;  // of the hour angles of the horizon and each dusk
    const double cosDeclination = CosOf(s);
    for (std::size_t i = 0; i < 4; ++i) cosines[i] = CosHourAngle(s, cosDeclination, sinLimits_[i]);
    std::array<double, 4> above;  // time above the horizon and each dusk, each at least the last
    for (std::size_t i = 0; i < 4; ++i) above[i] = TimeAboveCosine(cosines[i]);
    return {.day = t,
            .orbitAngle = lambda,
            .declination = std::asin(s) / kDegree,
            .daylight = above[0],
            .civil = above[1] - above[0],
            .nautical = above[2] - above[1],
            .astronomical = above[3] - above[2],
            .night = in_.solarDay - above[3],
            .sun = SunOfCosine(cosines[0])};
}

std::vector<double> RowDays(const SkyInputs& in) {
    std::vector<double> days;
    for (double k = 0; k * in.step < in.year; ++k) days.push_back(k * in.step);
    days.push_back(in.year);
    return days;
}

std::variant<std::vector<double>, SkyError> MapLatitudes(const SkyInputs& in, double step) {
    SkyInputs anyLatitude = in;
    anyLatitude.latitude = 0;
    if (std::string problem = SkyProblem(anyLatitude); !problem.empty()) return SkyError{problem};
    if (!(step > 0 && step <= 180))
        return SkyError{"the latitude step must be above 0 and at most 180"};
    const double rows = (std::ceil(180 / step) + 1) * (std::ceil(in.year / in.step) + 1);
    if (rows > kMostMapRows) {
        return SkyError{"the map would have more than 10000000 rows; take larger steps"};
    }
    std::vector<double> latitudes;
    for (double k = 0; - 90 + k * step < 90; ++k) latitudes.push_back(-90 + k * step);
    latitudes.push_back(90);
    return latitudes;
}

SkyOutcome ComputeSky(const SkyInputs& in) {
    if (std::string problem = SkyProblem(in); !problem.empty()) return SkyError{problem};
    const SkyModel model(in);
    SkyView view{.inputs = in};
    const std::vector<double> days = RowDays(in);
    view.rows.reserve(days.size());
    for (const double t : days) view.rows.push_back(model.RowAt(t));

    // The daylight depends on the declination alone, which turns only at the solstices.
    view.shortestDaylight = view.longestDaylight = model.TimeAbove(0, in.horizon);
    for (const double angle : DaylightExtremes(in)) {
        const double daylight = model.TimeAbove(angle, in.horizon);
        const double day = model.DayOfOrbitAngle(angle);
        if (daylight < view.shortestDaylight)
            view.shortestDaylight = daylight, view.shortestDay = day;
        if (daylight > view.longestDaylight) view.longestDaylight = daylight, view.longestDay = day;
    }
    for (std::size_t i = 0; i < 4; ++i) view.seasons[i] = model.DayOfOrbitAngle(90.0 * double(i));

    const auto sunIs = [&](Sun sun) {
        return [&model, &in, sun](double angle) { return model.SunOn(angle, in.horizon) == sun; };
    };
    view.polarDays = SpansWhere(model, in.year, sunIs(Sun::PolarDay));
    view.polarNights = SpansWhere(model, in.year, sunIs(Sun::PolarNight));
    const auto twilightOnly = [&](double angle) {
        return model.SunOn(angle, in.horizon) == Sun::PolarNight &&
               model.SunOn(angle, std::min(in.horizon, kAstronomicalDusk)) != Sun::PolarNight;
    };
    for (const SkySpan& span : SpansWhere(model, in.year, twilightOnly)) {
        view.longestTwilightOnly = std::max(view.longestTwilightOnly, span.length);
    }
    return view;
}

}  // namespace daycalc
