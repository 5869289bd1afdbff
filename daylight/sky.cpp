#include "daylight/sky.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <numbers>
#include <span>
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
double CosOf(double sine) { return std::sqrt(std::max(0.0, (1 - sine) * (1 + sine))); }

// The sine of the declination, -sin T · cos λ, kept within [-1, 1] where a rounding takes it past.
double SinDeclination(double sinT, double cosLambda) {
    return std::clamp(-sinT * cosLambda, -1.0, 1.0);
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

// The stretches of the year through which a condition on the day holds, given whether it holds
// at each sample (`at`, every kSpanSample degrees of the orbit). Every stretch that the sky can
// make holds either a solstice or a quarter degree of the orbit, so none is missed.
template <typename Holds>
std::vector<SkySpan> SpansWhere(const SkyModel& model, double year, const std::vector<bool>& at,
                                const Holds& holds) {
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

// Where g is least between a and b, by the golden section: to a millionth of the interval.
template <typename G>
double Extreme(const G& g, double a, double b) {
    constexpr double kGolden = 0.6180339887498949;
    double c = b - kGolden * (b - a), d = a + kGolden * (b - a);
    double gc = g(c), gd = g(d);
    for (int i = 0; i < 30; ++i) {
        if (gc <= gd) {
            b = d, d = c, gd = gc;
            c = b - kGolden * (b - a), gc = g(c);
        } else {
            a = c, c = d, gc = gd;
            d = a + kGolden * (b - a), gd = g(d);
        }
    }
    return gc <= gd ? c : d;
}

// The cosine and sine of an angle.
struct CosSin {
    double cos, sin;
};

// Those of a + b, from those of a and of b.
CosSin Turned(CosSin a, CosSin b) {
    return {a.cos * b.cos - a.sin * b.sin, a.sin * b.cos + a.cos * b.sin};
}

// Those of a small angle x (at most 0.1) by their Taylor series, within 1e-16.
CosSin SmallTurn(double x) {
    const double x2 = x * x;
    return {1 - x2 * (0.5 - x2 * (1.0 / 24 - x2 * (1.0 / 720 - x2 * (1.0 / 40320)))),
            x * (1 - x2 * (1.0 / 6 - x2 * (1.0 / 120 - x2 * (1.0 / 5040 - x2 * (1.0 / 362880)))))};
}

// Those of a slight angle x (at most 0.03) by the series to x^6 and x^7, within 1e-16: the orbit's
// turn in half a solar day, and the small steps of an angle.
CosSin SlightTurn(double x) {
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
Kepler SolveKepler(double m, double e, const KeplerNear* near = nullptr) {
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

double ReducedEccentricAnomaly(double m, double e) { return SolveKepler(m, e).E; }

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
                            {"step", "step", &SkyInputs::step, 1},
                            {"distance", "distance", &SkyInputs::distance, 1},
                            {"refraction", "refraction", &SkyInputs::refraction, kEarthRefraction}};
    for (const Value& v : values) {
        // The planet's own sunrise horizon is made of the distance and the refraction, checked
        // below in their own names.
        if (in.sunrise && v.member == &SkyInputs::horizon) continue;
        if (!std::isfinite(in.*v.member)) {
            return OutOfItsRange{v.field, v.member,
                                 std::string("the ") + v.name + " is not a finite number", v.usual};
        }
    }
    const auto clamped = [](double value, double bound) { return value < 0 ? -bound : bound; };
    if (!(std::fabs(in.latitude) <= 90)) {
        return OutOfItsRange{"latitude", &SkyInputs::latitude, std::string(kLatitudeRange),
                             OverThePole(in.latitude)};
    }
    if (!(in.solarDay > 0)) {
        return OutOfItsRange{"solar_day", &SkyInputs::solarDay, "the solar day must be above 0",
                             24};
    }
    if (!(in.year > 0)) {
        return OutOfItsRange{"year", &SkyInputs::year, "the year must be above 0", 365.25};
    }
    // The sky counts the year in solar days; the orbit's rate a day must stay a number.
    if (!(in.year >= 1e-6)) {
        return OutOfItsRange{"year", &SkyInputs::year,
                             "the year must be at least a millionth of a solar day", 1e-6};
    }
    if (!(in.eccentricity >= 0 && in.eccentricity < 1)) {
        return OutOfItsRange{"eccentricity", &SkyInputs::eccentricity,
                             "the eccentricity must be from 0 up to but not including 1",
                             in.eccentricity < 0 ? 0 : 0.99};
    }
    if (!in.sunrise && !(std::fabs(in.horizon) <= 90)) {
        return OutOfItsRange{"horizon", &SkyInputs::horizon,
                             "the horizon must be from -90 to 90 degrees", clamped(in.horizon, 90)};
    }
    if (!(in.distance > 0)) {
        return OutOfItsRange{"distance", &SkyInputs::distance, "the distance must be above 0 AU",
                             1};
    }
    if (!(in.refraction >= 0 && in.refraction <= 600)) {
        return OutOfItsRange{"refraction", &SkyInputs::refraction,
                             "the refraction must be from 0 to 600 minutes of arc",
                             in.refraction < 0 ? 0 : 600.0};
    }
    // So near the sun its disc reaches past the zenith: the nearest distance whose sunrise
    // horizon is within -90 degrees, a little further out so that its own horizon is.
    if (in.sunrise && !(SunriseHorizon(in.refraction, in.distance) >= -90)) {
        const double nearest = kHalfDiscAtOneAu / (90 - in.refraction / 60) * (1 + 1e-9);
        return OutOfItsRange{"distance", &SkyInputs::distance,
                             "the distance must be at least " + rt::TextFromDouble(nearest) +
                                 " AU: nearer, the sun's disc would reach past the zenith",
                             nearest};
    }
    if (!(std::fabs(in.declinationTerm) <= 5)) {
        return OutOfItsRange{"declination_term", &SkyInputs::declinationTerm,
                             "the declination term must be from -5 to 5 degrees",
                             clamped(in.declinationTerm, 5)};
    }
    if (!std::isnan(in.longitude) && !(std::fabs(in.longitude) <= 180)) {
        return OutOfItsRange{"longitude", &SkyInputs::longitude,
                             "the longitude must be from -180 to 180 degrees",
                             clamped(in.longitude, 180)};
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

std::optional<double> HorizonOf(std::string_view text) {
    if (text == "sunrise") return kSunriseHorizon;
    if (text == "geometric") return kGeometricHorizon;
    return rt::StrictNumber(text);
}

std::optional<Problem> SkyProblem(const SkyInputs& in) {
    const std::optional<OutOfItsRange> first = FirstOutOfRange(in);
    if (!first) return std::nullopt;
    // Each value out of range in turn takes one within it, until none is left; every check
    // takes a value whose own check then passes, so each value is taken at most once.
    SkyInputs within = in;
    std::vector<std::string_view> fields;
    std::vector<Try> tries;
    for (auto bad = first; bad && tries.size() < 12; bad = FirstOutOfRange(within)) {
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

// --- The sun through a day

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

namespace {

constexpr double kTurn = 2 * kPi;
constexpr double kDusks[] = {0, kCivilDusk, kNauticalDusk, kAstronomicalDusk};  // by Limit
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// std::remainder(angle, 2π), the same bits, the quotient found without the library where it is
// small: for |k| below 8, k · 2π is exact (2π has 50 significant bits), and so is the angle less
// it when that lies within ±π, as a remainder always can.
double TurnRemainder(double angle) {
    const double k = std::nearbyint(angle / kTurn);
    const double r = angle - k * kTurn;
    return std::fabs(k) < 8 && std::fabs(r) < kPi ? r : std::remainder(angle, kTurn);
}

// An angle from -3π to 3π taken to -π to π.
double Wrapped(double angle) {
    return angle > kPi ? angle - kTurn : angle < -kPi ? angle + kTurn : angle;
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

// The eccentric anomaly's cosine and sine for a mean anomaly m from -π to π, and the equation of
// the centre: the true anomaly (cos ν and sin ν are cos E − e and √(1 − e²) · sin E, over
// 1 − e · cos E) less the mean one.
struct Anomalies {
    Kepler kepler;
    double centre;
};
Anomalies AnomaliesOf(double m, double e) {
    const Kepler k = SolveKepler(m, e);
    return {k, Wrapped(rt::ArcTangent2(std::sqrt(1 - e * e) * k.sinE, k.cosE - e) - m)};
}

// An hour angle from the table below, with 1 / sin H (infinite at 0 and π).
struct TableHour {
    HourAngle h;
    double cosecant;
};

// The hour angle k π / 1024 nearest acos c, with its cosine and sine: the first guess of a
// crossing, which is then turned on. A rough arc cosine (within 7e-5, Abramowitz and Stegun
// 4.4.45) picks it from the table, made once.
const TableHour& NearestHourAngle(double c) {
    constexpr int kSteps = 1024;
    static const std::array<TableHour, kSteps + 1> kTable = [] {
        std::array<TableHour, kSteps + 1> table;
        for (int k = 0; k <= kSteps; ++k) {
            const HourAngle h = HourAngle::Of(kPi / kSteps * k);
            table[std::size_t(k)] = {h, 1 / h.sin};
        }
        return table;
    }();
    const double a = std::fabs(c);
    const double rough =
        std::sqrt(1 - a) * (1.5707288 + a * (-0.2121144 + a * (0.0742610 - a * 0.0187293)));
    const double hour = c < 0 ? kPi - rough : rough;
    return kTable[std::size_t(std::clamp(int(hour * (kSteps / kPi) + 0.5), 0, kSteps))];
}

// Where the sun is slower than this (radians of orbit or of hour angle in half a solar day), the
// series to the second order follows it through the day within 1e-11 of a radian.
constexpr double kSeriesMotion = 0.02;

// The steps of a day that is followed step by step; a crossing lies between two of them.
constexpr int kSlowSamples = 192;

}  // namespace

// The planet on its orbit: its distance, the true anomaly's and λ's cosines and sines, and the
// sun's declination, its own (which the right ascension goes with) and the almanac's.
struct SkyModel::Orbit {
    double distance;
    double cosNu, sinNu;
    double cosLambda, sinLambda;
    double sinOwn, cosOwn;
    double sinDeclination, cosDeclination;
};

struct SkyModel::Bearing {
    double sinDeclination, cosDeclination;
    double cosRightAscension, sinRightAscension;
    double distance;
};

// The sun at a moment of a slow day: its declination, the hour angle that brings, and its
// distance.
struct SkyModel::Step {
    double sinDeclination;
    double acrossCosHour;  // cos δ · cos H
    double sinHorizon;     // of the horizon's altitude, which the distance moves at sunrise
};

// The orbit at the moment looked at last, from which one near it is solved; at first near none.
struct SkyModel::Near {
    KeplerNear kepler{kNone, {}};
    double turned = kNone;  // Ω · x
    CosSin mean{};          // its cosine and sine
};

struct SkyModel::Path {
    Bearing noon;
    std::array<Step, kSlowSamples + 1> steps;  // at x = -1/2 + j / kSlowSamples
};

struct SkyModel::Paths {
    std::vector<std::pair<double, std::unique_ptr<Path>>> byNoon;  // in the noons' order
};

SkyModel::SkyModel(const SkyInputs& in) : in_(in) {
    sinT_ = rt::Sine(in.tilt * kDegree);
    cosT_ = rt::Cosine(in.tilt * kDegree);
    turn_ = cosT_ < 0 ? -1 : 1;
    cosP_ = rt::Cosine(in.perihelion * kDegree);
    sinP_ = rt::Sine(in.perihelion * kDegree);
    for (const Limit dusk : {Limit::Civil, Limit::Nautical, Limit::Astronomical}) {
        sinDusks_[int(dusk)] = rt::Sine(kDusks[int(dusk)] * kDegree);
    }
    term_ = in.declinationTerm * kDegree;
    sinL_ = rt::Sine(in.latitude * kDegree);
    cosL_ = rt::Cosine(in.latitude * kDegree);
    // At the winter solstice the planet is P before its perihelion: its true anomaly is −P.
    const double e = in.eccentricity;
    const double trueAnomaly = -in.perihelion * kDegree;
    const double E = 2 * rt::ArcTangent2(std::sqrt(1 - e) * rt::Sine(trueAnomaly / 2),
                                         std::sqrt(1 + e) * rt::Cosine(trueAnomaly / 2));
    meanAtSolstice_ = E - e * rt::Sine(E);
    centreAtSolstice_ = AnomaliesOf(std::remainder(meanAtSolstice_, kTurn), e).centre;
    // A solar day that is more than a hundredth of the year moves the sun too far for a series.
    slow_ = in.year < 100;
    omega_ = kTurn + turn_ * kTurn / in.year;
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

SkyModel::Position SkyModel::PositionAt(double t) const {
    const double e = in_.eccentricity, n = kTurn / in_.year;
    const double m = TurnRemainder(meanAtSolstice_ + n * t);
    const Anomalies a = AnomaliesOf(m, e);
    const Orbit o = OrbitOf(a.kepler.cosE, a.kepler.sinE);
    const double root = std::sqrt(1 - e * e), centre = a.centre;
    Position p;
    p.distance = o.distance;
    p.orbitDegrees = t / in_.year * 360 + (centre - centreAtSolstice_) / kDegree;
    p.cosLambda = o.cosLambda;
    p.sinLambda = o.sinLambda;
    // Kepler's second law: dλ/dt = n (1 + e cos ν)² / (1 − e²)^(3/2), and its rate of change.
    const double k = 1 + e * o.cosNu, cube = root * root * root;
    p.rate = n * k * k / cube;
    p.acceleration = -2 * e * n * k * o.sinNu * p.rate / cube;
    p.sinDeclination = o.sinDeclination;
    p.cosDeclination = o.cosDeclination;
    const double cos2 = o.cosOwn * o.cosOwn;
    // The right ascension runs with the orbit (backwards for a tilt past 90); what it leaves of
    // the mean sun's even run is the equation of the centre and the reduction to the equator.
    const double rightAscension = rt::ArcTangent2(-cosT_ * p.cosLambda, p.sinLambda);
    const double lambda = p.orbitDegrees * kDegree;
    const double reduction = TurnRemainder(rightAscension - turn_ * (lambda - kPi / 2));
    p.equationOfTime = -turn_ * centre - reduction;
    p.timeRate = turn_ * n - (cos2 > 0 ? cosT_ * p.rate / cos2 : kNone);
    return p;
}

double SkyModel::SinLimit(Limit limit, double distance) const {
    const double horizon =
        in_.sunrise ? SunriseHorizon(in_.refraction, in_.distance * distance) : in_.horizon;
    if (limit != Limit::Horizon && kDusks[int(limit)] <= horizon) return sinDusks_[int(limit)];
    const double h = horizon * kDegree;
    return std::fabs(h) <= 0.1 ? SmallTurn(h).sin : rt::Sine(h);
}

namespace {

// The sun's height over a day followed by the series: x solar days from noon the orbit has
// turned by rate · x + acceleration · x² / 2 and the hour angle by omega · x.
struct Series {
    double sinL, cosL, sinT;
    double cosLambda, sinLambda, rate, acceleration, omega;
    double term;  // the almanac's term of the declination, radians times sin Ls

    // The sun's height (the sine of its altitude) and its first two derivatives at x, with the
    // hour angle's cosine and sine given.
    struct Value {
        double height, slope, curvature;
    };
    Value At(double x, const HourAngle& h) const {
        const CosSin now =
            Turned({cosLambda, sinLambda}, SlightTurn(rate * x + acceleration * x * x / 2));
        const double cosNow = now.cos, sinNow = now.sin;
        double sinD = SinDeclination(sinT, cosNow), cosD = CosOf(sinD);
        const double orbitRate = rate + acceleration * x;
        double sinDRate = sinT * sinNow * orbitRate;
        // The change of sin δ's rate; that of cos δ's is smaller still, left out of the curvature
        // (which Halley's steps need only roughly).
        const double sinDChange = sinT * (cosNow * orbitRate * orbitRate + sinNow * acceleration);
        // d cos δ / dx = -sin δ · (d sin δ / dx) / cos δ.
        const double secant = cosD > 0 ? 1 / cosD : 0;
        double cosDRate = -sinD * sinDRate * secant;
        if (term != 0) {
            // The almanac's declination, δ − term · cos λ, and its rate of change.
            const CosSin d = Turned({cosD, sinD}, SmallTurn(-term * cosNow));
            const double declinationRate = sinDRate * secant + term * sinNow * orbitRate;
            sinD = d.sin, cosD = d.cos;
            sinDRate = cosD * declinationRate;
            cosDRate = -sinD * declinationRate;
        }
        const double height = sinL * sinD + cosL * cosD * h.cos;
        const double slope = sinL * sinDRate + cosL * (cosDRate * h.cos - cosD * h.sin * omega);
        const double curvature =
            sinL * sinDChange - cosL * omega * (2 * cosDRate * h.sin + cosD * h.cos * omega);
        return {height, slope, curvature};
    }
};

// The series of a day at a place (sin L, cos L, sin T, and the almanac's term).
Series SeriesOf(const SkyModel::Day& day, const std::array<double, 4>& place) {
    return {.sinL = place[0],
            .cosL = place[1],
            .sinT = place[2],
            .cosLambda = day.sun.cosLambda,
            .sinLambda = day.sun.sinLambda,
            .rate = day.sun.rate,
            .acceleration = day.sun.acceleration,
            .omega = day.omega,
            .term = place[3]};
}

}  // namespace

// sin a = sin L · sin δ + cos L · cos δ · cos H.
double SkyModel::HeightOf(const Step& step) const {
    return sinL_ * step.sinDeclination + cosL_ * step.acrossCosHour;
}

SkyModel::Bearing SkyModel::BearingAt(double t, Near* near) const {
    const double m = TurnRemainder(meanAtSolstice_ + kTurn / in_.year * t);
    const Kepler k = SolveKepler(m, in_.eccentricity, near ? &near->kepler : nullptr);
    if (near) near->kepler = {m, k};
    const Orbit o = OrbitOf(k.cosE, k.sinE);
    // The right ascension's direction, (sin λ, −cos T · cos λ) over its length cos δ; at a pole
    // of the sky any direction (the hour angle is nothing there).
    const double along = o.sinLambda, up = -cosT_ * o.cosLambda;
    const bool pole = !(o.cosOwn > 0);
    return {.sinDeclination = o.sinDeclination,
            .cosDeclination = o.cosDeclination,
            .cosRightAscension = pole ? 1 : along / o.cosOwn,
            .sinRightAscension = pole ? 0 : up / o.cosOwn,
            .distance = o.distance};
}

SkyModel::Step SkyModel::StepAt(double noon, const Bearing& atNoon, double x, Near* near) const {
    const Bearing b = BearingAt(noon + x, near);
    // The hour angle x solar days after noon: the mean sun's turn, less the right ascension's
    // change since noon, H = Ω · x − (α − α₀).
    const double cosShift = b.cosRightAscension * atNoon.cosRightAscension +
                            b.sinRightAscension * atNoon.sinRightAscension;
    const double sinShift = b.sinRightAscension * atNoon.cosRightAscension -
                            b.cosRightAscension * atNoon.sinRightAscension;
    const double turned = omega_ * x;
    const CosSin mean = near ? CosSinAt(turned, near->turned, near->mean)
                             : CosSin{rt::Cosine(turned), rt::Sine(turned)};
    if (near) near->turned = turned, near->mean = mean;
    const double cosHour = mean.cos * cosShift + mean.sin * sinShift;
    return {b.sinDeclination, b.cosDeclination * cosHour, SinLimit(Limit::Horizon, b.distance)};
}

const SkyModel::Path* SkyModel::PathAt(double noon, std::unique_ptr<Path>& own) const {
    // Where the path of this noon is kept, or would be.
    const auto kept = [&] {
        return std::lower_bound(paths_->byNoon.begin(), paths_->byNoon.end(), noon,
                                [](const auto& p, double n) { return p.first < n; });
    };
    if (paths_) {
        if (const auto at = kept(); at != paths_->byNoon.end() && at->first == noon) {
            return at->second.get();
        }
    }
    auto path = std::make_unique<Path>();
    path->noon = BearingAt(noon);
    Near near;  // each step solved from the one before
    for (int j = 0; j <= kSlowSamples; ++j) {
        const double x = -0.5 + double(j) / kSlowSamples;
        path->steps[std::size_t(j)] = StepAt(noon, path->noon, x, &near);
    }
    const Path* made = path.get();
    if (paths_ && paths_->byNoon.size() < kKeptPaths) {
        paths_->byNoon.emplace(kept(), noon, std::move(path));
    } else {
        own = std::move(path);
    }
    return made;
}

SkyModel SkyModel::AtLatitude(double latitude) const {
    if (slow_ && !paths_) paths_ = std::make_shared<Paths>();
    SkyModel model = *this;
    model.in_.latitude = latitude;
    model.sinL_ = rt::Sine(latitude * kDegree);
    model.cosL_ = rt::Cosine(latitude * kDegree);
    return model;
}

double SkyModel::SeriesSinAltitudeAt(double noon, double x) const {
    const Day day = DayAt(noon);
    return SeriesOf(day, {sinL_, cosL_, sinT_, term_}).At(x, HourAngle::Of(day.omega * x)).height;
}

double SkyModel::SinAltitudeAt(double noon, double x) const {
    return HeightOf(StepAt(noon, BearingAt(noon), x));
}

SkyModel::Day SkyModel::DayAt(double noon) const {
    Day day{};
    day.noon = noon;
    day.sun = PositionAt(noon);
    day.omega = kTurn + day.sun.timeRate;
    // Half a day from noon the hour angle is π and half what the equation of time has added.
    const double past = day.sun.timeRate / 2;
    const HourAngle midnight =
        HourAngle{kPi, -1, 0}.To(std::isfinite(past) ? kPi + past : day.omega / 2);
    day.midnightCos = midnight.cos;
    day.midnightSin = midnight.sin;
    day.slow = slow_ || !(std::fabs(day.sun.rate) / 2 <= kSeriesMotion &&
                          std::fabs(day.sun.timeRate) / 2 <= kSeriesMotion);
    for (int i = 0; i < 4; ++i) day.sinLimits[i] = SinLimit(Limit(i), day.sun.distance);
    if (day.slow) {
        day.path = PathAt(noon, day.own);
    } else {
        // The sun's height (the sine of its altitude) at noon and at the midnights either side.
        const Series s = SeriesOf(day, {sinL_, cosL_, sinT_, term_});
        day.heights[0] = s.At(-0.5, {-day.omega / 2, day.midnightCos, -day.midnightSin}).height;
        day.heights[1] = sinL_ * day.sun.sinDeclination + cosL_ * day.sun.cosDeclination;
        day.heights[2] = s.At(0.5, {day.omega / 2, day.midnightCos, day.midnightSin}).height;
    }
    return day;
}

namespace {

// A root looked for on one side of noon: where f reaches a limit's sine, between `below`
// (f below it) and `above` (f above it), from a first guess x whose hour angle h is known.
struct Lane {
    double sinLimit;
    double below, above;
    double x;
    HourAngle h;
    bool done;
};

// Each lane's root by Halley's steps kept inside the bracket that each value narrows, halving it
// where a step would leave it; from the first guesses below, one step mostly does. The lanes are
// independent chains of dependent steps, each taking a step in turn, so that the processor works on
// all of them at once.
void Crossings(const Series& s, std::span<Lane> lanes) {
    std::size_t left = lanes.size();
    for (Lane& l : lanes) {
        const bool inside = l.x > std::min(l.below, l.above) && l.x < std::max(l.below, l.above);
        if (!inside) l.x = (l.below + l.above) / 2, l.h = HourAngle::Of(s.omega * l.x);
        l.done = false;
    }
    for (int i = 0; i < 100 && left > 0; ++i) {
        for (Lane& l : lanes) {
            if (l.done) continue;
            const auto [height, slope, curvature] = s.At(l.x, l.h);
            const double f = height - l.sinLimit;
            if (f == 0) {
                l.done = true, --left;
                continue;
            }
            (f < 0 ? l.below : l.above) = l.x;
            // Halley's step, x − 2 f f' / (2 f'² − f f''): Newton's corrected for the curve's
            // bending, unless that would more than halve or double it.
            const double square = slope * slope, bent = 2 * square - f * curvature;
            double next =
                l.x - (bent > square && bent < 4 * square ? 2 * f * slope / bent : f / slope);
            // A step that leaves the bracket halves it instead; one that lands on its end (f has
            // just changed sign there, at its last bits) has found the root.
            if (!(next >= std::min(l.below, l.above) && next <= std::max(l.below, l.above))) {
                next = (l.below + l.above) / 2;
            }
            const double step = std::fabs(next - l.x);
            l.x = next;
            // Halley's error after a step s is about (b² + ω²/6) · s³, b = f'' / 2f': here
            // within 1e-15 of a day, with ω² for a margin.
            if ((curvature * curvature + 4 * square * s.omega * s.omega) * step * step * step <=
                    4e-15 * square ||
                l.below == l.above) {
                l.done = true, --left;
                continue;
            }
            l.h = l.h.To(s.omega * l.x);
        }
    }
}

// The root of f between `below` (f < 0) and `above` (f > 0) by the Illinois method, f exact: to
// the last bit, where no number lies between the two ends.
template <typename F>
double Bracketed(const F& f, double below, double fBelow, double above, double fAbove) {
    double x = below;
    int side = 0;
    bool nudged = false;
    for (int i = 0; i < 100; ++i) {
        x = (below * fAbove - above * fBelow) / (fAbove - fBelow);
        const double middle = (below + above) / 2;
        if (middle == below || middle == above) {
            x = middle;
            break;
        }
        if (!(x > std::min(below, above) && x < std::max(below, above))) {
            // The line lands on an end: one whose value is all but 0 and the root next to it. The
            // number beside that end, once; then halves.
            const double end = std::fabs(x - below) <= std::fabs(x - above) ? below : above;
            x = nudged ? middle : std::nextafter(end, end == below ? above : below);
            nudged = true;
        }
        const double fx = f(x);
        if (fx == 0) break;
        if (fx < 0) {
            below = x, fBelow = fx;
            if (side == -1) fAbove /= 2;
            side = -1;
        } else {
            above = x, fAbove = fx;
            if (side == 1) fBelow /= 2;
            side = 1;
        }
    }
    return x;
}

// The same root from a first guess near it, where f's slope is about `slope`: the bracket first
// narrowed to the guess and to twice Newton's step past it, the root mostly between them.
template <typename F>
double BracketedFrom(const F& f, double below, double fBelow, double above, double fAbove,
                     double guess, double slope) {
    const auto inside = [&](double x) {
        return x > std::min(below, above) && x < std::max(below, above);
    };
    if (inside(guess)) {
        const double fGuess = f(guess);
        if (fGuess == 0) return guess;
        (fGuess < 0 ? below : above) = guess;
        (fGuess < 0 ? fBelow : fAbove) = fGuess;
        const double probe = guess - 2 * fGuess / slope;
        if (inside(probe)) {
            const double fProbe = f(probe);
            if (fProbe == 0) return probe;
            (fProbe < 0 ? below : above) = probe;
            (fProbe < 0 ? fBelow : fAbove) = fProbe;
        }
    }
    return Bracketed(f, below, fBelow, above, fAbove);
}

// Where the cubic through values at u = -1, 0, 1 and 2 crosses 0 between 0 and 1 (where the
// values there differ in sign), by Newton's steps from the straight line's root; and its slope
// there. The cubic is the straight line where a value either side is missing (NaN).
struct CubicRoot {
    double u, slope;
};
CubicRoot RootOfCubic(double v0, double v1, double v2, double v3) {
    const bool line = std::isnan(v0) || std::isnan(v3);
    const double b = line ? v2 - v1 : -v0 / 3 - v1 / 2 + v2 - v3 / 6;
    const double c = line ? 0 : v0 / 2 - v1 + v2 / 2;
    const double d = line ? 0 : (v3 - v0) / 6 + (v1 - v2) / 2;
    double u = v1 / (v1 - v2), slope = v2 - v1;
    for (int i = 0; i < 3; ++i) {
        slope = b + u * (2 * c + u * 3 * d);
        const double value = v1 + u * (b + u * (c + u * d));
        if (!(slope != 0)) break;
        u = std::clamp(u - value / slope, 0.0, 1.0);
    }
    return {u, slope};
}

}  // namespace

Sun SkyModel::SunBySeries(const Day& day, double sinLimit) {
    // Not up at noon: not up that day.
    if (day.heights[1] <= sinLimit) return Sun::PolarNight;
    // Up at noon and at both midnights: up through the whole day.
    if (day.heights[0] > sinLimit && day.heights[2] > sinLimit) return Sun::PolarDay;
    return Sun::Rises;
}

SkyModel::Above SkyModel::SlowAbove(const Day& day, Limit limit) const {
    const double sinLimit = day.sinLimits[int(limit)];
    const Path& path = *day.path;
    Above a{kNone, kNone, 0, Sun::Rises};
    // The altitude less the limit's, from the sun at a moment.
    const auto less = [&](const Step& step) {
        return HeightOf(step) - (limit == Limit::Horizon ? step.sinHorizon : sinLimit);
    };
    // The same at a moment x solar days from noon, the orbit followed from the moment before.
    Near near;
    const auto f = [&](double x) { return less(StepAt(day.noon, path.noon, x, &near)); };
    // The same at the steps, NaN past the day's ends.
    const auto at = [&](int j) {
        return j >= 0 && j <= kSlowSamples ? less(path.steps[std::size_t(j)]) : kNone;
    };
    constexpr double kStep = 1.0 / kSlowSamples;
    double x0 = -0.5, f0 = at(0);
    bool up = f0 > 0, crossed = false;
    double start = up ? x0 : kNone;
    for (int j = 1; j <= kSlowSamples; ++j) {
        const double x1 = -0.5 + double(j) / kSlowSamples;
        const double f1 = at(j);
        if ((f1 > 0) != up) {
            // A first guess from the cubic through the steps around.
            const CubicRoot guess = RootOfCubic(at(j - 2), f0, f1, at(j + 1));
            const double first = x0 + guess.u * kStep, slope = guess.slope / kStep;
            const double x = up ? BracketedFrom(f, x1, f1, x0, f0, first, slope)
                                : BracketedFrom(f, x0, f0, x1, f1, first, slope);
            crossed = true;
            if (up) {
                a.time += x - start;
                a.set = x;
            } else {
                start = x;
                if (std::isnan(a.rise)) a.rise = x;
            }
            up = !up;
        }
        x0 = x1, f0 = f1;
    }
    if (up) a.time += 0.5 - start;
    if (!crossed) a.sun = up ? Sun::PolarDay : Sun::PolarNight;
    return a;
}

std::array<SkyModel::Above, 4> SkyModel::AboveOn(const Day& day,
                                                 std::initializer_list<Limit> limits) const {
    std::array<Above, 4> above{};
    if (day.slow) {
        for (const Limit limit : limits) above[int(limit)] = SlowAbove(day, limit);
        return above;
    }
    const Series s = SeriesOf(day, {sinL_, cosL_, sinT_, term_});
    // dδ/dx at noon, radians a solar day.
    const double declinationRate =
        day.sun.sinLambda * day.sun.rate *
        (day.sun.cosDeclination > 0 ? sinT_ / day.sun.cosDeclination + term_ : term_);
    // 1 / (cos L · cos δ) and 1 / ω, for the first guesses.
    const double across = cosL_ * day.sun.cosDeclination;
    const double beyond = across > 0 ? 1 / across : 0, perTurn = 1 / day.omega;
    // Up to two crossings a limit, looked for together.
    std::array<Lane, 8> lanes;
    std::array<std::pair<Limit, double>, 8> laneOf;  // each lane's limit and side
    std::size_t n = 0;
    for (const Limit limit : limits) {
        const double sinLimit = day.sinLimits[int(limit)];
        Above& a = above[int(limit)];
        a = {kNone, kNone, 0, SunBySeries(day, sinLimit)};
        if (a.sun == Sun::PolarDay) a.time = 1;
        if (a.sun != Sun::Rises) continue;
        // The hour angle at which the sun of noon would cross the limit, from the table, and
        // closer by a Newton step on cos H = c where it is not near 0 or π.
        const double c = across > 0 ? (sinLimit - sinL_ * day.sun.sinDeclination) * beyond : 2;
        const TableHour& first = NearestHourAngle(std::clamp(c, -1.0, 1.0));
        const bool clear = across > 0 && first.h.sin > 0.01;
        const double hour =
            clear ? first.h.angle + (first.h.cos - c) * first.cosecant : first.h.angle;
        // The declination moves on through the day: at the rate δ' it changes f as fast as the
        // hour angle does at q = (∂f/∂δ · δ') / (cos L · cos δ · sin H), which brings the
        // morning's crossing later and the afternoon's earlier (or the other way): the crossing
        // is at H / (ω ∓ q), here to the second order in q / ω.
        const double q =
            clear ? (sinL_ * day.sun.cosDeclination - cosL_ * day.sun.sinDeclination * c) *
                        declinationRate * beyond * first.cosecant
                  : 0;
        for (const double side : {-1.0, 1.0}) {
            if (day.heights[side < 0 ? 0 : 2] > sinLimit) continue;  // up through that half
            const double r = side * q * perTurn;
            const double x = side * hour * perTurn * (1 + r * (1 + r));
            const HourAngle at{side * first.h.angle, first.h.cos, side * first.h.sin};
            lanes[n] = {sinLimit, side / 2, 0, x, at.To(day.omega * x), false};
            laneOf[n++] = {limit, side};
        }
    }
    Crossings(s, std::span(lanes.data(), n));
    for (std::size_t k = 0; k < n; ++k) {
        Above& a = above[int(laneOf[k].first)];
        (laneOf[k].second < 0 ? a.rise : a.set) = lanes[k].x;
    }
    for (const Limit limit : limits) {
        Above& a = above[int(limit)];
        if (a.sun != Sun::Rises) continue;
        a.time = (std::isnan(a.set) ? 0.5 : a.set) - (std::isnan(a.rise) ? -0.5 : a.rise);
        if (std::isnan(a.rise) && std::isnan(a.set)) a.sun = Sun::PolarDay;
    }
    return above;
}

SkyRow SkyModel::RowOfNoon(double noon) const {
    const Day day = DayAt(noon);
    const double rp = in_.solarDay;
    const std::array<Above, 4> above =
        AboveOn(day, {Limit::Horizon, Limit::Civil, Limit::Nautical, Limit::Astronomical});
    // Each limit below the one before: at least as long above it.
    std::array<double, 4> time;
    for (int i = 0; i < 4; ++i) time[i] = std::max(above[i].time * rp, i > 0 ? time[i - 1] : 0.0);
    const double equation = day.sun.equationOfTime / kTurn * rp;
    const double localNoon = rp / 2 - equation;
    const auto clock = [&](double fromNoon) {
        if (std::isnan(fromNoon)) return kNone;
        const double at = localNoon + fromNoon * rp;
        return at - rp * std::floor(at / rp);
    };
    // The orbit angle of a noon before the first solstice or past the next one, within a turn.
    double turns = std::floor(noon / in_.year);
    if (turns > 0 && noon == turns * in_.year) --turns;  // the next solstice itself: 360
    return {
        .day = noon,
        .orbitAngle = day.sun.orbitDegrees - 360 * turns,
        .declination = rt::ArcTangent2(day.sun.sinDeclination, day.sun.cosDeclination) / kDegree,
        .daylight = time[0],
        .civil = time[1] - time[0],
        .nautical = time[2] - time[1],
        .astronomical = time[3] - time[2],
        .night = rp - time[3],
        .sun = above[0].sun,
        .sunrise = clock(above[0].rise),
        .noon = localNoon,
        .sunset = clock(above[0].set),
        .equationOfTime = equation,
        .dawns = {clock(above[1].rise), clock(above[2].rise), clock(above[3].rise)},
        .dusks = {clock(above[1].set), clock(above[2].set), clock(above[3].set)}};
}

double SkyModel::NoonNear(double t, double longitude) const {
    // The mean noons at the meridian fall on whole solar days less its share of a turn; the
    // apparent noon is where the hour angle, the mean one plus the equation of time, is a whole
    // number of turns.
    const double offset = longitude / 360;
    const double k = std::round(t + offset);
    double noon = k - offset;
    for (int i = 0; i < 8; ++i) {
        const Position p = PositionAt(noon);
        const double hour = kTurn * (noon - k + offset) + p.equationOfTime;
        const double rate = kTurn + p.timeRate;
        const double step = hour / (std::isfinite(rate) && rate > 0 ? rate : kTurn);
        noon -= step;
        if (std::fabs(step) <= 1e-12) break;
    }
    return noon;
}

SkyRow SkyModel::RowAt(double t) const {
    return RowOfNoon(std::isnan(in_.longitude) ? t : NoonNear(t, in_.longitude));
}

Sun SkyModel::SunOf(const Day& day, Limit limit) const {
    // A day followed by the series tells without its crossings.
    return day.slow ? SlowAbove(day, limit).sun : SunBySeries(day, day.sinLimits[int(limit)]);
}

Sun SkyModel::SunOn(double t, Limit limit) const { return SunOf(DayAt(t), limit); }

std::array<Sun, 2> SkyModel::SunsOn(double t, Limit a, Limit b) const {
    const Day day = DayAt(t);
    return {SunOf(day, a), SunOf(day, b)};
}

double SkyModel::TimeAbove(double t, Limit limit) const {
    return AboveOn(DayAt(t), {limit})[int(limit)].time * in_.solarDay;
}

double SkyModel::OrbitAngleAt(double t) const { return PositionAt(t).orbitDegrees; }

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

std::vector<double> RowDays(const SkyInputs& in) {
    std::vector<double> days;
    for (double k = 0; BeforeTheEnd(k * in.step, in.step, in.year); ++k) {
        days.push_back(k * in.step);
    }
    days.push_back(in.year);
    return days;
}

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
    for (double k = 0; BeforeTheEnd(-90 + k * step, step, 90); ++k)
        latitudes.push_back(-90 + k * step);
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

SkyOutcome StreamSky(const SkyInputs& in, const std::function<bool(const SkyRow&)>& row,
                     Summary summary) {
    if (std::optional<Problem> problem = SkyProblem(in)) return *std::move(problem);
    const SkyModel model(in);
    SkyView view{.inputs = in};

    // The shortest and longest daylight: the rows', kept as they go, and each candidate's
    // neighbourhood searched.
    for (double k = 0;; ++k) {
        const double t = BeforeTheEnd(k * in.step, in.step, in.year) ? k * in.step : in.year;
        const SkyRow r = model.RowAt(t);
        if (k == 0 || r.daylight < view.shortestDaylight)
            view.shortestDaylight = r.daylight, view.shortestDay = r.day;
        if (k == 0 || r.daylight > view.longestDaylight)
            view.longestDaylight = r.daylight, view.longestDay = r.day;
        // A consumer that wants no more rows wants no summary either.
        if (!row(r)) return view;
        if (t == in.year) break;
    }
    if (summary == Summary::NotWanted) return view;
    const auto daylight = [&model](double t) { return model.TimeAbove(t, Limit::Horizon); };
    const double reach = std::min(in.year / 100, 3.0);
    for (const double angle : DaylightExtremes(in)) {
        const double around = model.DayOfOrbitAngle(angle);
        for (const double sign : {1.0, -1.0}) {
            const double t = Extreme([&](double x) { return sign * daylight(x); }, around - reach,
                                     around + reach);
            const double value = daylight(t);
            const double day = t - in.year * std::floor(t / in.year);
            if (value < view.shortestDaylight)
                view.shortestDaylight = value, view.shortestDay = day;
            if (value > view.longestDaylight) view.longestDaylight = value, view.longestDay = day;
        }
    }
    for (std::size_t i = 0; i < 4; ++i) view.seasons[i] = model.DayOfOrbitAngle(90.0 * double(i));

    // The sun at the horizon and at the astronomical dusk on each sample of the orbit, each day
    // made once for the three kinds of span.
    std::vector<bool> polarDay(kSpanSamples), polarNight(kSpanSamples), dusk(kSpanSamples);
    for (int i = 0; i < kSpanSamples; ++i) {
        const auto [horizon, astronomical] = model.SunsOn(model.DayOfOrbitAngle(i * kSpanSample),
                                                          Limit::Horizon, Limit::Astronomical);
        polarDay[i] = horizon == Sun::PolarDay;
        polarNight[i] = horizon == Sun::PolarNight;
        dusk[i] = horizon == Sun::PolarNight && astronomical != Sun::PolarNight;
    }
    const auto sunIs = [&](Sun sun) {
        return [&model, sun](double angle) {
            return model.SunOn(model.DayOfOrbitAngle(angle), Limit::Horizon) == sun;
        };
    };
    view.polarDays = SpansWhere(model, in.year, polarDay, sunIs(Sun::PolarDay));
    view.polarNights = SpansWhere(model, in.year, polarNight, sunIs(Sun::PolarNight));
    const auto twilightOnly = [&](double angle) {
        const auto [horizon, astronomical] =
            model.SunsOn(model.DayOfOrbitAngle(angle), Limit::Horizon, Limit::Astronomical);
        return horizon == Sun::PolarNight && astronomical != Sun::PolarNight;
    };
    for (const SkySpan& span : SpansWhere(model, in.year, dusk, twilightOnly)) {
        view.longestTwilightOnly = std::max(view.longestTwilightOnly, span.length);
    }
    return view;
}

SkyOutcome ComputeSky(const SkyInputs& in) {
    std::vector<SkyRow> rows;
    SkyOutcome outcome = StreamSky(in, [&rows](const SkyRow& r) {
        rows.push_back(r);
        return true;
    });
    if (auto* view = std::get_if<SkyView>(&outcome)) view->rows = std::move(rows);
    return outcome;
}

}  // namespace daycalc
