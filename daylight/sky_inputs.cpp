// The sky's inputs: the first value out of its range (ranges.h) with values to try that bring
// every value into range, the horizon as people give it, and the days and latitudes of the rows.
#include <string>

#include "daylight/ranges.h"
#include "explain.h"
#include "sky_parts.h"

namespace daycalc {

using namespace inner;

namespace {

// The first value out of its range: its field, what is wrong, and a value within range for it,
// given that the values checked before it are within theirs.
struct OutOfItsRange {
    std::string_view field;
    double SkyInputs::*member;
    std::string reason;
    double within;
};

// The sky's value a range row names, or none.
double SkyInputs::*MemberOf(std::string_view field) {
    const std::pair<std::string_view, double SkyInputs::*> members[] = {
        {"latitude", &SkyInputs::latitude},
        {"solar_day", &SkyInputs::solarDay},
        {"year", &SkyInputs::year},
        {"eccentricity", &SkyInputs::eccentricity},
        {"horizon", &SkyInputs::horizon},
        {"distance", &SkyInputs::distance},
        {"refraction", &SkyInputs::refraction},
        {"declination_term", &SkyInputs::declinationTerm},
        {"longitude", &SkyInputs::longitude},
        {"step", &SkyInputs::step}};
    for (const auto& [name, member] : members) {
        if (name == field) return member;
    }
    return nullptr;
}

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
    for (const ValueRange& range : ValueRanges()) {
        double SkyInputs::*member = MemberOf(range.field);
        if (!member) continue;  // not one of the sky's values
        // The planet's own sunrise horizon is made of the distance and the refraction; a longitude
        // of NaN is any.
        if (in.sunrise && member == &SkyInputs::horizon) continue;
        if (member == &SkyInputs::longitude && std::isnan(in.longitude)) continue;
        const double value = in.*member;
        if (!range.Holds(value)) {
            // A latitude past a pole stands for one over it; a step, a day of an Earth-like year
            // or the whole of a year too short for that.
            const double offered = member == &SkyInputs::latitude ? OverThePole(value)
                                   : member == &SkyInputs::step
                                       ? (in.year / 365.25 > 0 ? in.year / 365.25 : in.year)
                                       : range.Offered(value);
            return OutOfItsRange{range.field, member, std::string(range.reason), offered};
        }
        // So near the sun its disc reaches past the zenith: the nearest distance whose sunrise
        // horizon is within -90 degrees, a little further out so that its own horizon is.
        if (member == &SkyInputs::refraction && in.sunrise &&
            !(SunriseHorizon(in.refraction, in.distance) >= -90)) {
            const double nearest = kHalfDiscAtOneAu / (90 - in.refraction / 60) * (1 + 1e-9);
            return OutOfItsRange{"distance", &SkyInputs::distance,
                                 "the distance must be at least " + rt::TextFromDouble(nearest) +
                                     " AU: nearer, the sun's disc would reach past the zenith",
                                 nearest};
        }
    }
    if (in.year / in.step > kMostSkyRows) {
        const double aDay = in.year / 365.25 > 0 ? in.year / 365.25 : in.year;
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

std::optional<double> RowDay(const SkyInputs& in, double k) {
    if (BeforeTheEnd(k * in.step, in.step, in.year)) return k * in.step;
    if (k == 0 || BeforeTheEnd((k - 1) * in.step, in.step, in.year)) return in.year;
    return std::nullopt;
}

std::vector<double> RowDays(const SkyInputs& in) {
    std::vector<double> days;
    for (double k = 0; const std::optional<double> t = RowDay(in, k); ++k) days.push_back(*t);
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

}  // namespace daycalc
