// The day's crossings: when the sun reaches the horizon and each dusk, and how long it stays above
// them. A day short beside the year is followed by its series and each crossing found by Halley's
// steps (within 1e-13 hours of a 24-hour day); a slow one step by step, each crossing found by the
// Illinois method until no number lies between its two ends.
#include <initializer_list>
#include <span>

#include "daylight/roots.h"
#include "sky_parts.h"

namespace daycalc {

using namespace inner;

namespace {

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

double SkyModel::SeriesSinAltitudeAt(double noon, double x) const {
    const Day day = DayAt(noon);
    return SeriesOf(day, {sinL_, cosL_, sinT_, term_}).At(x, HourAngle::Of(day.omega * x)).height;
}

double SkyModel::SinAltitudeAt(double noon, double x) const {
    return HeightOf(StepAt(noon, BearingAt(noon), x));
}

std::vector<std::array<double, 2>> SkyModel::WhenAt(double noon,
                                                    std::span<const double> degrees) const {
    const Bearing atNoon = BearingAt(noon);
    const auto height = [&](double x) { return HeightOf(StepAt(noon, atNoon, x)); };
    const double atNoonHeight = height(0);
    const std::array<double, 2> atEnds = {height(-0.5), height(0.5)};
    std::vector<std::array<double, 2>> when;
    for (const double altitude : degrees) {
        const double sinLimit = rt::Sine(altitude * kDegree);
        const auto above = [&](double x) { return height(x) - sinLimit; };
        // Above the altitude at noon, and below it half a day before (rising) or after (setting).
        const double fNoon = atNoonHeight - sinLimit;
        std::array<double, 2>& at = when.emplace_back(std::array<double, 2>{kNone, kNone});
        for (const std::size_t side : {0u, 1u}) {
            const double end = side == 0 ? -0.5 : 0.5;
            const double fEnd = atEnds[side] - sinLimit;
            if (fNoon > 0 && fEnd < 0) at[side] = Bracketed(above, end, fEnd, 0.0, fNoon);
        }
    }
    return when;
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
    const OnOrbit orbit = OnOrbitOf(day.sun, noon);
    return {.day = noon,
            .orbitAngle = orbit.orbitAngle,
            .declination = orbit.declination,
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

SkyRow SkyModel::RowAt(double t) const { return RowOfNoon(NoonAt(t)); }

double SkyModel::NoonAt(double t) const {
    return std::isnan(in_.longitude) ? t : NoonNear(t, in_.longitude);
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

}  // namespace daycalc
