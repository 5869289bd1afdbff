// The sun's position seen from the planet: its declination, right ascension, the equation of
// time and its distance at a moment (plain double precision, each within a few units in the last
// place), the horizon at that distance, and the sun's path through a day followed step by step.
#include "sky_parts.h"

namespace daycalc {

using namespace inner;

namespace {

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

// The hour angle x solar days after noon, the bearings at noon and then given: the mean sun's
// turn Ω · x (its cosine and sine), less the right ascension's change since noon,
// H = Ω · x − (α − α₀).
CosSin HourAngleFrom(const SkyModel::Bearing& atNoon, const SkyModel::Bearing& b, CosSin mean) {
    const double cosShift = b.cosRightAscension * atNoon.cosRightAscension +
                            b.sinRightAscension * atNoon.sinRightAscension;
    const double sinShift = b.sinRightAscension * atNoon.cosRightAscension -
                            b.cosRightAscension * atNoon.sinRightAscension;
    return {mean.cos * cosShift + mean.sin * sinShift, mean.sin * cosShift - mean.cos * sinShift};
}

// The sine of an altitude in degrees, by the series where it is small.
double SineOfAltitude(double degrees) {
    const double h = degrees * kDegree;
    return std::fabs(h) <= 0.1 ? SmallTurn(h).sin : rt::Sine(h);
}

}  // namespace

SkyModel::SkyModel(const SkyInputs& in) : in_(in) {
    sinT_ = rt::Sine(in.tilt * kDegree);
    cosT_ = rt::Cosine(in.tilt * kDegree);
    turn_ = cosT_ < 0 ? -1 : 1;
    cosP_ = rt::Cosine(in.perihelion * kDegree);
    sinP_ = rt::Sine(in.perihelion * kDegree);
    for (const Limit dusk : {Limit::Civil, Limit::Nautical, Limit::Astronomical}) {
        sinDusks_[int(dusk)] = rt::Sine(kDusks[int(dusk)] * kDegree);
    }
    sinHorizon_ = SineOfAltitude(in.horizon);
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
    slow_ = in.year < kShortYear;
    omega_ = kTurn + turn_ * kTurn / in.year;
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

SkyModel::OnOrbit SkyModel::OnOrbitOf(const Position& p, double t) const {
    // The orbit angle of a t before the first solstice or past the next one, within a turn.
    double turns = std::floor(t / in_.year);
    if (turns > 0 && t == turns * in_.year) --turns;  // the next solstice itself: 360
    return {.orbitAngle = p.orbitDegrees - 360 * turns,
            .declination = rt::ArcTangent2(p.sinDeclination, p.cosDeclination) / kDegree,
            .sinDeclination = p.sinDeclination,
            .cosDeclination = p.cosDeclination,
            .distance = p.distance};
}

SkyModel::OnOrbit SkyModel::OrbitAt(double t) const { return OnOrbitOf(PositionAt(t), t); }

double SkyModel::SinLimit(Limit limit, double distance) const {
    const double horizon =
        in_.sunrise ? SunriseHorizon(in_.refraction, in_.distance * distance) : in_.horizon;
    if (limit != Limit::Horizon && kDusks[int(limit)] <= horizon) return sinDusks_[int(limit)];
    return in_.sunrise ? SineOfAltitude(horizon) : sinHorizon_;
}

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
    const double turned = omega_ * x;
    const CosSin mean = near ? CosSinAt(turned, near->turned, near->mean)
                             : CosSin{rt::Cosine(turned), rt::Sine(turned)};
    if (near) near->turned = turned, near->mean = mean;
    const double cosHour = HourAngleFrom(atNoon, b, mean).cos;
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

SkyModel::Standing SkyModel::SunAt(double noon, double x) const {
    return SunThroughDay(*this, noon).At(x);
}

SkyModel::SunThroughDay::SunThroughDay(const SkyModel& model, double noon)
    : model_(model), noon_(noon), atNoon_(std::make_unique<const Bearing>(model.BearingAt(noon))) {}

SkyModel::SunThroughDay::~SunThroughDay() = default;

SkyModel::Standing SkyModel::SunThroughDay::At(double x) const {
    const Bearing b = model_.BearingAt(noon_ + x);
    const double turned = model_.omega_ * x;
    const CosSin hour = HourAngleFrom(*atNoon_, b, {rt::Cosine(turned), rt::Sine(turned)});
    // The sun's direction in the horizon's frame: up, north and east.
    const double sinL = model_.sinL_, cosL = model_.cosL_;
    const double up = sinL * b.sinDeclination + cosL * b.cosDeclination * hour.cos;
    const double north = cosL * b.sinDeclination - sinL * b.cosDeclination * hour.cos;
    const double east = -b.cosDeclination * hour.sin;
    const double level = std::sqrt(north * north + east * east);
    const double azimuth = rt::ArcTangent2(east, north) / kDegree;
    return {rt::ArcTangent2(up, level) / kDegree, azimuth < 0 ? azimuth + 360 : azimuth};
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

}  // namespace daycalc
