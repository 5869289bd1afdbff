// Sunlight at the top of the air: the daily and the year's mean flux on a level surface, and the
// Earth's orbit through time. The method and its bounds are in insolation.h.
#include "daylight/insolation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "daylight/ranges.h"
#include "explain.h"
#include "sky_parts.h"

namespace daycalc {

using namespace inner;

namespace {

constexpr std::size_t kMostAnnualLatitudes = 18001;  // from -90 to 90 by 0.01

constexpr std::array<std::string_view, 6> kInsolationColumns = {
    "day", "orbit_angle", "declination", "distance", "insolation", "noon_flux"};
constexpr std::array<std::string_view, 3> kMapColumns = {"latitude", "day", "insolation"};
constexpr std::array<std::string_view, 2> kAnnualColumns = {"latitude", "insolation"};
constexpr std::array<std::string_view, 5> kHistoryColumns = {"kyr", "eccentricity", "obliquity",
                                                             "perihelion", "insolation"};

// The bracket of the daily mean, H₀ sin φ sin δ + cos φ cos δ sin H₀, from a = sin φ sin δ and
// b = cos φ cos δ (b ≥ 0): π times the day's mean of max(0, sin a).
double Bracket(double a, double b) {
    if (a <= -b) return 0;       // polar night: the sun never rises
    if (a >= b) return kPi * a;  // polar day: it never sets
    // H₀ = arccos(−a / b). The bracket is stationary in H₀ there (its slope, a + b cos H₀, is 0),
    // so that H₀'s own error, which grows as 1 / H₀ where the night nears, is felt only squared,
    // as long as its sine is of the same H₀: not √(b² − a²), which is of the exact one.
    const double sunset = rt::ArcCosine(-a / b);
    return a * sunset + b * rt::Sine(sunset);
}

// The sun's declination at an orbit angle, as the sky's model gives it: its own direction,
// sin δ = −sin T · cos λ, turned by an almanac's term (radians) times sin Ls = −cos λ. A term
// that turns it past the pole leaves it at 180° less that, whose day is the same.
CosSin DeclinationAt(double sinTilt, double term, double cosLambda) {
    const double sinOwn = SinDeclination(sinTilt, cosLambda);
    const CosSin own = {CosOf(sinOwn), sinOwn};
    if (term == 0) return own;
    const CosSin turned = Turned(own, SmallTurn(-term * cosLambda));
    return {std::fabs(turned.cos), turned.sin};
}

// Gauss-Legendre's rule with 32 points on [0, 1]: the nodes and weights, found once by Newton's
// steps on the Legendre polynomial from the usual first guesses.
struct Rule {
    std::array<double, 32> nodes, weights;
};
const Rule& GaussLegendre() {
    static const Rule rule = [] {
        constexpr int n = 32;
        Rule r{};
        for (int i = 0; i < n / 2; ++i) {
            double x = rt::Cosine(kPi * (i + 0.75) / (n + 0.5)), derivative = 0;
            for (int step = 0; step < 100; ++step) {
                double p0 = 1, p1 = x;  // P₀ and P₁, carried up to Pₙ
                for (int k = 2; k <= n; ++k) {
                    const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                    p0 = p1, p1 = p2;
                }
                derivative = n * (x * p1 - p0) / (x * x - 1);
                const double next = x - p1 / derivative;
                const bool still = std::fabs(next - x) > 1e-16;
                x = next;
                if (!still) break;
            }
            const double w = 1 / ((1 - x * x) * derivative * derivative);  // on [-1, 1], halved
            r.nodes[i] = (1 - x) / 2, r.nodes[n - 1 - i] = (1 + x) / 2;
            r.weights[i] = r.weights[n - 1 - i] = w;
        }
        return r;
    }();
    return rule;
}

// The integral of f from `from` to `to`, stretched by x = from + (to − from)(3s² − 2s³), whose
// slope vanishes at both ends: a square root's edge there becomes smooth.
template <typename F>
double Stretched(double from, double to, const F& f) {
    const Rule& rule = GaussLegendre();
    const double width = to - from;
    double sum = 0;
    for (std::size_t i = 0; i < rule.nodes.size(); ++i) {
        const double s = rule.nodes[i];
        sum += rule.weights[i] * f(from + width * s * s * (3 - 2 * s)) * 6 * s * (1 - s);
    }
    return sum * width;
}

// Where g changes sign between `low` and `high` (it does), by halving.
template <typename G>
double RootBetween(double low, double high, const G& g) {
    const bool lowNegative = g(low) < 0;
    for (int i = 0; i < 200; ++i) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) break;
        ((g(middle) < 0) == lowNegative ? low : high) = middle;
    }
    return low + (high - low) / 2;
}

// The year's mean of the bracket at a latitude: the integral over λ from 0 to π (δ depends on
// cos λ alone), split where the polar day or night begins or ends, over π.
double MeanBracket(double sinL, double cosL, double sinTilt, double term) {
    const auto sides = [&](double lambda) {
        const CosSin d = DeclinationAt(sinTilt, term, rt::Cosine(lambda));
        return std::array<double, 2>{sinL * d.sin + cosL * d.cos, sinL * d.sin - cosL * d.cos};
    };
    // Where a + b (the polar night's edge) or a − b (the polar day's) changes sign between
    // samples; each changes once on a half orbit whose declination runs one way.
    constexpr int kSamples = 64;
    // The pieces narrow towards the solstices, where a tilt near 90° bends the declination's
    // cosine sharply (|sin λ| at 90°).
    std::vector<double> ends = {0};
    for (const double at : {1.0 / 1024, 1.0 / 256, 1.0 / 64, 1.0 / 16, 1.0 / 4, 0.5, 3.0 / 4,
                            15.0 / 16, 63.0 / 64, 255.0 / 256, 1023.0 / 1024}) {
        ends.push_back(kPi * at);
    }
    std::array<double, 2> before = sides(0);
    for (int i = 1; i <= kSamples; ++i) {
        const double low = kPi * (i - 1) / kSamples, high = kPi * i / kSamples;
        const std::array<double, 2> now = sides(high);
        for (int k = 0; k < 2; ++k) {
            if ((before[k] < 0) == (now[k] < 0)) continue;
            ends.push_back(RootBetween(low, high, [&](double x) { return sides(x)[k]; }));
        }
        before = now;
    }
    ends.push_back(kPi);
    std::sort(ends.begin(), ends.end());
    const auto bracket = [&](double lambda) {
        const CosSin d = DeclinationAt(sinTilt, term, rt::Cosine(lambda));
        return Bracket(sinL * d.sin, cosL * d.cos);
    };
    double sum = 0;
    for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
        if (ends[i + 1] > ends[i]) sum += Stretched(ends[i], ends[i + 1], bracket);
    }
    return sum / kPi;
}

// The latitude's sine and cosine, exact at the poles and the equator.
CosSin LatitudeOf(double degrees) {
    if (std::fabs(degrees) == 90) return {0, degrees > 0 ? 1.0 : -1.0};
    return {rt::Cosine(degrees * kDegree), rt::Sine(degrees * kDegree)};
}

// The problem of a value outside its range (the table's row of that name, or the field's own),
// offering the value given where the row offers none.
std::optional<Problem> OutOfItsRange(std::string_view field, double value, double offered,
                                     std::string_view row = {}) {
    const ValueRange& range = RangeOf(row.empty() ? field : row);
    if (range.Holds(value)) return std::nullopt;
    return OutOfRange(
        std::string(range.reason), {field},
        {{field,
          rt::TextFromDouble(std::isnan(range.Offered(value)) ? offered : range.Offered(value))}});
}

// The problem of a solar constant out of its range, offering the planet's at its distance.
std::optional<Problem> SolarConstantProblem(const SkyInputs& in, double solarConstant) {
    return OutOfItsRange("solar_constant", solarConstant, SolarConstantAt(in.distance));
}

// The problem of inputs through the year: the sky's, then the solar constant's.
std::optional<Problem> InsolationProblem(const SkyInputs& in, double solarConstant) {
    if (std::optional<Problem> problem = SkyProblem(in)) return problem;
    return SolarConstantProblem(in, solarConstant);
}

// The rows of the days at `days` at the inputs' latitude; the year's mean after them where they
// are the whole year's, more than one.
std::optional<Problem> ProduceInsolationDays(const SkyInputs& in, double solarConstant,
                                             const std::vector<double>& days, TableConsumer& to);

}  // namespace

double DailyMeanFlux(double solarConstant, double latitude, double sinDeclination,
                     double cosDeclination, double distance) {
    const CosSin l = LatitudeOf(latitude);
    const double a = l.sin * sinDeclination, b = l.cos * cosDeclination;
    return solarConstant / (kPi * distance * distance) * Bracket(a, b);
}

double NoonFlux(double solarConstant, double latitude, double sinDeclination, double cosDeclination,
                double distance) {
    const CosSin l = LatitudeOf(latitude);
    // The sine of the sun's altitude at noon, cos(φ − δ).
    const double sinAltitude = l.cos * cosDeclination + l.sin * sinDeclination;
    return solarConstant / (distance * distance) * std::max(0.0, sinAltitude);
}

double DailyMeanAtOrbitAngle(double solarConstant, double latitude, double tilt,
                             double eccentricity, double perihelion, double orbitAngle) {
    const double sinD = SinDeclination(rt::Sine(tilt * kDegree), rt::Cosine(orbitAngle * kDegree));
    // The distance from the true anomaly, ν = λ − P.
    const double e = eccentricity;
    const double rho = (1 - e * e) / (1 + e * rt::Cosine((orbitAngle - perihelion) * kDegree));
    return DailyMeanFlux(solarConstant, latitude, sinD, CosOf(sinD), rho);
}

double AnnualMeanFlux(const SkyInputs& in, double solarConstant) {
    const CosSin l = LatitudeOf(in.latitude);
    const double e = in.eccentricity;
    const double mean =
        MeanBracket(l.sin, l.cos, rt::Sine(in.tilt * kDegree), in.declinationTerm * kDegree);
    return solarConstant / (kPi * std::sqrt((1 - e) * (1 + e))) * mean;
}

double GlobalMeanFlux(const SkyInputs& in, double solarConstant) {
    // Half the integral over the latitude of the year's mean times cos φ, split at the polar
    // circles, where the year's mean bends: at 90° less the sun's farthest declination (the tilt
    // folded to 90° at most, and the term). Over φ, not sin φ, whose slope at the poles would make
    // the year's mean there a square root's.
    const double sinT = rt::Sine(in.tilt * kDegree), cosT = rt::Cosine(in.tilt * kDegree);
    const double farthest = rt::ArcTangent2(sinT, std::fabs(cosT)) + in.declinationTerm * kDegree;
    const double circle = std::min(kPi / 2, std::fabs(kPi / 2 - std::fabs(farthest)));
    const std::array<double, 4> ends = {-kPi / 2, -circle, circle, kPi / 2};
    const auto at = [&](double latitude) {
        SkyInputs there = in;
        there.latitude = latitude / kDegree;
        return AnnualMeanFlux(there, solarConstant) * rt::Cosine(latitude);
    };
    double sum = 0;
    for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
        if (ends[i + 1] > ends[i]) sum += Stretched(ends[i], ends[i + 1], at);
    }
    return sum / 2;
}

std::optional<Problem> ProduceInsolation(const SkyInputs& in, double solarConstant,
                                         TableConsumer& to) {
    return ProduceInsolationDays(in, solarConstant, RowDays(in), to);
}

std::optional<Problem> ProduceInsolationDay(const SkyInputs& in, double solarConstant,
                                            double degrees, TableConsumer& to) {
    return ProduceInsolationDays(in, solarConstant, {SkyModel(in).DayOfChosenAngle(degrees)}, to);
}

namespace {

std::optional<Problem> ProduceInsolationDays(const SkyInputs& in, double solarConstant,
                                             const std::vector<double>& days, TableConsumer& to) {
    if (auto problem = InsolationProblem(in, solarConstant)) return problem;
    const SkyModel model(in);
    to.Columns(kInsolationColumns);
    for (const double t : days) {
        const SkyModel::OnOrbit o = model.OrbitAt(t);
        const double s = o.sinDeclination, c = o.cosDeclination, rho = o.distance;
        const std::array<Cell, 6> cells = {{{t},
                                            {o.orbitAngle},
                                            {o.declination},
                                            {rho},
                                            {DailyMeanFlux(solarConstant, in.latitude, s, c, rho)},
                                            {NoonFlux(solarConstant, in.latitude, s, c, rho)}}};
        if (!to.Row(cells)) return std::nullopt;
    }
    if (days.size() == 1) {
        to.Summary({});
        return std::nullopt;
    }
    const std::array<Named, 1> summary = {
        {{"annual_mean", "annual mean (W/m²)", AnnualMeanFlux(in, solarConstant)}}};
    to.Summary(summary);
    return std::nullopt;
}

}  // namespace

std::optional<Problem> ProduceInsolationMap(const SkyInputs& in, double solarConstant,
                                            double latitudeStep, TableConsumer& to) {
    const auto latitudes = MapLatitudes(in, latitudeStep);
    if (const auto* problem = std::get_if<Problem>(&latitudes)) return *problem;
    if (auto problem = SolarConstantProblem(in, solarConstant)) return problem;
    // The orbit of each day once, for every latitude.
    SkyInputs anyLatitude = in;
    anyLatitude.latitude = 0;
    const SkyModel model(anyLatitude);
    const std::vector<double> days = RowDays(in);
    std::vector<SkyModel::OnOrbit> orbit;
    orbit.reserve(days.size());
    for (const double t : days) orbit.push_back(model.OrbitAt(t));
    to.Columns(kMapColumns);
    for (const double latitude : std::get<std::vector<double>>(latitudes)) {
        for (std::size_t i = 0; i < days.size(); ++i) {
            const SkyModel::OnOrbit& o = orbit[i];
            const std::array<Cell, 3> cells = {
                {{latitude},
                 {days[i]},
                 {DailyMeanFlux(solarConstant, latitude, o.sinDeclination, o.cosDeclination,
                                o.distance)}}};
            if (!to.Row(cells)) return std::nullopt;
        }
    }
    to.Summary({});
    return std::nullopt;
}

std::optional<Problem> ProduceAnnualInsolation(const SkyInputs& in, double solarConstant,
                                               double latitudeStep, TableConsumer& to) {
    SkyInputs oneRow = in;
    oneRow.step = in.year;  // the year's mean takes no step: a map of one day a latitude
    const auto latitudes = MapLatitudes(oneRow, latitudeStep);
    if (const auto* problem = std::get_if<Problem>(&latitudes)) return *problem;
    // Each latitude's mean is a sum over the year of some hundreds of days: more than a
    // hundredth of a degree apart would take seconds for nothing a figure or a table shows.
    if (std::get<std::vector<double>>(latitudes).size() > kMostAnnualLatitudes) {
        return OutOfRange(
            "the year's mean would have more than 18001 latitudes; take a latitude "
            "step of at least 0.01",
            {"latitude_step"}, {{"latitude_step", "1"}});
    }
    if (auto problem = SolarConstantProblem(in, solarConstant)) return problem;
    to.Columns(kAnnualColumns);
    for (const double latitude : std::get<std::vector<double>>(latitudes)) {
        SkyInputs at = in;
        at.latitude = latitude;
        const std::array<Cell, 2> cells = {{{latitude}, {AnnualMeanFlux(at, solarConstant)}}};
        if (!to.Row(cells)) return std::nullopt;
    }
    const std::array<Named, 1> summary = {
        {{"global_mean", "global mean (W/m²)", GlobalMeanFlux(in, solarConstant)}}};
    to.Summary(summary);
    return std::nullopt;
}

std::optional<Problem> ProduceInsolationHistory(const History& h, TableConsumer& to) {
    const std::pair<std::string_view, double> checked[] = {{"latitude", h.latitude},
                                                           {"orbit_angle", h.orbitAngle},
                                                           {"from_kyr", h.fromKyr},
                                                           {"to_kyr", h.toKyr},
                                                           {"kyr_step", h.stepKyr}};
    for (const auto& [field, value] : checked) {
        const bool time = field == "from_kyr" || field == "to_kyr";
        if (auto problem =
                OutOfItsRange(field, value, field == "kyr_step" ? 1 : 0, time ? "kyr" : field)) {
            return problem;
        }
    }
    if (auto problem = OutOfItsRange("solar_constant", h.solarConstant, kEarthSolarConstant)) {
        return problem;
    }
    if (h.toKyr < h.fromKyr) {
        return OutOfRange("the last time must not be before the first", {"to_kyr"},
                          {{"to_kyr", rt::TextFromDouble(h.fromKyr)}});
    }
    if ((h.toKyr - h.fromKyr) / h.stepKyr >= kMostSkyRows) {
        return OutOfRange("the times would be more than 1000000 rows; take a larger step",
                          {"kyr_step"}, {{"kyr_step", "1"}});
    }
    to.Columns(kHistoryColumns);
    const auto row = [&](double kyr) {
        const EarthOrbit o = EarthOrbitAt(kyr);
        const std::array<Cell, 5> cells = {
            {{kyr},
             {o.eccentricity},
             {o.obliquity},
             {o.perihelion},
             {DailyMeanAtOrbitAngle(h.solarConstant, h.latitude, o.obliquity, o.eccentricity,
                                    o.perihelion, h.orbitAngle)}}};
        return to.Row(cells);
    };
    for (double k = 0; BeforeTheEnd(h.fromKyr + k * h.stepKyr, h.stepKyr, h.toKyr); ++k) {
        if (!row(h.fromKyr + k * h.stepKyr)) return std::nullopt;
    }
    if (row(h.toKyr)) to.Summary({});
    return std::nullopt;
}

}  // namespace daycalc
