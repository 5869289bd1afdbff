#include "daylight/sky.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <utility>

#include "explain.h"
#include "runtime/trigonometry.h"

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
    const double sinT = rt::Sine(in.tilt * kDegree), sinH = rt::Sine(in.horizon * kDegree);
    if (sinH == 0 || sinT == 0) return angles;
    const double sinDeclination = rt::Sine(in.latitude * kDegree) / sinH;
    const double cosAngle = -sinDeclination / sinT;
    if (!(std::fabs(cosAngle) <= 1)) return angles;
    const double angle = rt::ArcCosine(cosAngle) / kDegree;
    angles.push_back(angle);
    angles.push_back(360 - angle);
    return angles;
}

// Kepler's equation for a mean anomaly from -π to π, where E − e · sin E − M rises.
double ReducedEccentricAnomaly(double m, double e) {
    double low = -kPi, high = kPi;
    // Two terms of the series in e: within e³ of the root, two Newton steps from it at most.
    double E = std::clamp(m + e * rt::Sine(m) * (1 + e * rt::Cosine(m)), low, high);
    // Newton's error after a step s is about e / (2 (1 − e)) · s²: up to e = 0.99 a step below
    // 1e-9 leaves less than 1e-16; beyond, the steps go on until they stop changing E.
    const double closeEnough = e <= 0.99 ? 1e-9 : 0;
    for (int i = 0; i < 100; ++i) {
        const double f = E - e * rt::Sine(E) - m;
        if (f == 0) break;
        (f < 0 ? low : high) = E;
        const double newton = E - f / (1 - e * rt::Cosine(E));
        const bool inside = newton > low && newton < high;
        const double next = inside ? newton : (low + high) / 2;  // else halve the bracket
        const double step = std::fabs(next - E);
        E = next;
        if ((inside && step <= closeEnough) || step <= 2 * DBL_EPSILON * std::fabs(E)) break;
    }
    return E;
}

}  // namespace

namespace {

// The first value out of its range: its field, what is wrong, and a value within range for it,
// given that the values checked before it are within theirs.
struct OutOfItsRange {
    std::string_view field;
    double SkyInputs::*member;
    std::string reason;
    double within;
};

std::optional<OutOfItsRange> FirstOutOfRange(const SkyInputs& in) {
    struct Value {
        std::string_view field;
        const char* name;
        double SkyInputs::*member;
        double usual;  // a value within range: the starting one
    };
    const Value values[] = {{"tilt", "tilt", &SkyInputs::tilt, 23.5},
                            {"latitude", "latitude", &SkyInputs::latitude, 38},
                            {"solar_day", "solar day", &SkyInputs::solarDay, 24},
                            {"year", "year", &SkyInputs::year, 365.25},
                            {"eccentricity", "eccentricity", &SkyInputs::eccentricity, 0},
                            {"perihelion", "perihelion", &SkyInputs::perihelion, 0},
                            {"horizon", "horizon", &SkyInputs::horizon, kGeometricHorizon},
                            {"step", "step", &SkyInputs::step, 1}};
    for (const Value& v : values) {
        if (!std::isfinite(in.*v.member)) {
            return OutOfItsRange{v.field, v.member,
                                 std::string("the ") + v.name + " is not a finite number", v.usual};
        }
    }
    const auto clamped = [](double value, double bound) { return value < 0 ? -bound : bound; };
    if (!(std::fabs(in.latitude) <= 90)) {
        return OutOfItsRange{"latitude", &SkyInputs::latitude,
                             "the latitude must be from -90 to 90 degrees",
                             clamped(in.latitude, 90)};
    }
    if (!(in.solarDay > 0)) {
        return OutOfItsRange{"solar_day", &SkyInputs::solarDay, "the solar day must be above 0",
                             24};
    }
    if (!(in.year > 0)) {
        return OutOfItsRange{"year", &SkyInputs::year, "the year must be above 0", 365.25};
    }
    if (!(in.eccentricity >= 0 && in.eccentricity < 1)) {
        return OutOfItsRange{"eccentricity", &SkyInputs::eccentricity,
                             "the eccentricity must be from 0 up to but not including 1",
                             in.eccentricity < 0 ? 0 : 0.99};
    }
    if (!(std::fabs(in.horizon) <= 90)) {
        return OutOfItsRange{"horizon", &SkyInputs::horizon,
                             "the horizon must be from -90 to 90 degrees", clamped(in.horizon, 90)};
    }
    // A day of an Earth-like year, or the whole of a year too short for that.
    const double aDay = in.year / 365.25 > 0 ? in.year / 365.25 : in.year;
    if (!(in.step > 0)) {
        return OutOfItsRange{"step", &SkyInputs::step, "the step must be above 0", aDay};
    }
    if (in.year / in.step > kMostSkyRows) {
        return OutOfItsRange{"step", &SkyInputs::step,
                             "the step must be at least a millionth of the year", aDay};
    }
    return std::nullopt;
}

}  // namespace

std::optional<Problem> SkyProblem(const SkyInputs& in) {
    const std::optional<OutOfItsRange> first = FirstOutOfRange(in);
    if (!first) return std::nullopt;
    // Each value out of range in turn takes one within it, until none is left; every check
    // takes a value whose own check then passes, so each value is taken at most once.
    SkyInputs within = in;
    std::vector<std::string_view> fields;
    std::vector<Try> tries;
    for (auto bad = first; bad && tries.size() < 8; bad = FirstOutOfRange(within)) {
        within.*(bad->member) = bad->within;
        fields.push_back(bad->field);
        tries.push_back({bad->field, rt::TextFromDouble(bad->within)});
    }
    return OutOfRange(first->reason, std::move(fields), std::move(tries));
}

double EccentricAnomaly(double meanAnomaly, double e) {
    // The root for M reduced to [-π, π] lies in the same interval.
    const double m = std::remainder(meanAnomaly, 2 * kPi);
    return ReducedEccentricAnomaly(m, e) + (meanAnomaly - m);
}

SkyModel::SkyModel(const SkyInputs& in) : in_(in) {
    sinT_ = rt::Sine(in.tilt * kDegree);
    sinL_ = rt::Sine(in.latitude * kDegree);
    cosL_ = rt::Cosine(in.latitude * kDegree);
    const double limits[] = {in.horizon, kCivilDusk, kNauticalDusk, kAstronomicalDusk};
    for (std::size_t i = 0; i < 4; ++i) {
        sinLimits_[i] = rt::Sine(std::min(limits[i], in.horizon) * kDegree);
    }
    // At the winter solstice the planet is P before its perihelion: its true anomaly is −P.
    const double e = in.eccentricity;
    const double trueAnomaly = -in.perihelion * kDegree;
    const double E = 2 * rt::ArcTangent2(std::sqrt(1 - e) * rt::Sine(trueAnomaly / 2),
                                         std::sqrt(1 + e) * rt::Cosine(trueAnomaly / 2));
    meanAtSolstice_ = E - e * rt::Sine(E);
    centreAtSolstice_ = EquationOfCentre(meanAtSolstice_);
}

// The true anomaly less the mean one, which the ellipse adds to the even motion.
double SkyModel::EquationOfCentre(double meanAnomaly) const {
    const double e = in_.eccentricity;
    const double m = std::remainder(meanAnomaly, 2 * kPi);
    const double E = ReducedEccentricAnomaly(m, e);
    // The true anomaly's cosine and sine are cos E − e and √(1 − e²) · sin E, over 1 − e · cos E.
    const double trueAnomaly =
        rt::ArcTangent2(std::sqrt(1 - e * e) * rt::Sine(E), rt::Cosine(E) - e);
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
        const double E = 2 * rt::ArcTangent2(std::sqrt(1 - e) * rt::Sine(trueAnomaly / 2),
                                             std::sqrt(1 + e) * rt::Cosine(trueAnomaly / 2));
        turns = (E - e * rt::Sine(E) - meanAtSolstice_) / (2 * kPi);
    }
    const double t = (turns - std::floor(turns)) * in_.year;
    return t < in_.year ? t : 0;
}

// The sun's declination follows from how far the axis leans towards it: sin δ = −sin T · cos λ.
double SkyModel::SinDeclination(double orbitDegrees) const {
    return -sinT_ * rt::Cosine(orbitDegrees * kDegree);
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
    return rt::ArcCosine(c) / kPi * in_.solarDay;
}

Sun SkyModel::SunOn(double orbitDegrees, double altitude) const {
    return SunOfCosine(CosHourAngle(SinDeclination(orbitDegrees), rt::Sine(altitude * kDegree)));
}

double SkyModel::TimeAbove(double orbitDegrees, double altitude) const {
    return TimeAboveCosine(
        CosHourAngle(SinDeclination(orbitDegrees), rt::Sine(altitude * kDegree)));
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
            .declination = rt::ArcSine(s) / kDegree,
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

// The rows of a map by these steps.
double MapRows(const SkyInputs& in, double latitudeStep) {
    return (std::ceil(180 / latitudeStep) + 1) * (std::ceil(in.year / in.step) + 1);
}

std::variant<std::vector<double>, Problem> MapLatitudes(const SkyInputs& in, double step) {
    SkyInputs anyLatitude = in;
    anyLatitude.latitude = 0;
    if (std::optional<Problem> problem = SkyProblem(anyLatitude)) return *std::move(problem);
    // A latitude step that is within range and keeps the map within its rows: the largest
    // at 180 keeps it within 2 · (1e6 + 1) rows.
    const auto within = [&in] {
        for (const double step : {1.0, 5.0, 15.0, 45.0, 90.0, 180.0}) {
            if (MapRows(in, step) <= kMostMapRows) return step;
        }
        return 180.0;
    };
    if (!(step > 0 && step <= 180)) {
        return OutOfRange("the latitude step must be above 0 and at most 180", {"latitude_step"},
                          {{"latitude_step", rt::TextFromDouble(within())}});
    }
    if (MapRows(in, step) > kMostMapRows) {
        return OutOfRange("the map would have more than 10000000 rows; take larger steps",
                          {"latitude_step"}, {{"latitude_step", rt::TextFromDouble(within())}});
    }
    std::vector<double> latitudes;
    for (double k = 0; - 90 + k * step < 90; ++k) latitudes.push_back(-90 + k * step);
    latitudes.push_back(90);
    return latitudes;
}

std::variant<SkyInputs, Problem> ReadSkyInputs(const DaylightInputs& boxes, bool latitude,
                                               SkyInputs rest) {
    try {
        rest.tilt = rt::ValFromText(boxes.tilt);
        rest.latitude = latitude ? rt::ValFromText(boxes.latitude) : 0;
        rest.solarDay = rt::ValFromText(boxes.solarDay);
        rest.year = rt::ValFromText(boxes.year);
        return rest;
    } catch (const rt::Fault& fault) {
        return Explain(boxes, fault.kind(), Stage::Reading, Mode::Year);
    }
}

SkyOutcome ComputeSky(const SkyInputs& in) {
    if (std::optional<Problem> problem = SkyProblem(in)) return *std::move(problem);
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
