// The sun's path through a day (sun.h): a row every few minutes from the model's place of the sun
// (SkyModel::SunAt), the air's lift and the shadow at each, and the day's limits
// (SkyModel::WhenAt).
#include <cmath>

#include "daylight/ranges.h"
#include "daylight/sun.h"
#include "explain.h"
#include "sky_parts.h"

namespace daycalc {

using namespace inner;

namespace {

constexpr std::array<std::string_view, 5> kSunColumns = {"time", "altitude", "apparent_altitude",
                                                         "azimuth", "shadow"};

// A day of the sun as a table gives it: the model, the t of its apparent noon, the time of that
// noon on the table's clock, the clock's units in a solar day and its last time.
struct SunDay {
    const SkyModel& model;
    double noon;
    double noonTime;
    double unitsPerDay;
    double end;
    double refraction;  // of the planet's air at its horizon, minutes of arc

    // Solar days from noon at a time of the table's clock, and back.
    double FromNoon(double time) const { return (time - noonTime) / unitsPerDay; }
    double TimeOf(double fromNoon) const { return noonTime + fromNoon * unitsPerDay; }
};

// The sun seen through the air, and the shadow of a stick 1 m high (none while it is down).
struct Seen {
    double altitude;
    double shadow;
};
Seen SeenThroughAir(double altitude, double refraction) {
    const double apparent = altitude + Refraction(altitude, refraction);
    return {apparent, apparent > 0 ? 1 / rt::Tangent(apparent * kDegree) : kNone};
}

// The rows from the day's first time to its last every `minutes` (each time one rounding of
// k · minutes / 60), then the summary; sunrise and sunset as the sky gives them.
void Produce(const SunDay& d, double minutes, double sunrise, double sunset, TableConsumer& to) {
    to.Columns(kSunColumns);
    const auto count = static_cast<long long>(std::floor(d.end * 60 / minutes));
    const SkyModel::SunThroughDay sun(d.model, d.noon);
    for (long long k = 0; k <= count; ++k) {
        const double time = double(k) * minutes / 60;
        const SkyModel::Standing s = sun.At(d.FromNoon(time));
        // The air lifts the sun it shows; a stick's shadow is that of the sun seen.
        const Seen seen = SeenThroughAir(s.altitude, d.refraction);
        const std::array<Cell, 5> cells = {
            {{time}, {s.altitude}, {seen.altitude}, {s.azimuth}, {seen.shadow}}};
        if (!to.Row(cells)) return;
    }
    const auto azimuthAt = [&](double time) {
        return std::isnan(time) ? kNone : sun.At(d.FromNoon(time)).azimuth;
    };
    const SkyModel::Standing noon = sun.At(0);
    std::vector<Named> summary = {
        {"sunrise", "sunrise", sunrise},
        {"sunrise_azimuth", "azimuth at sunrise", azimuthAt(sunrise)},
        {"noon", "noon", d.noonTime},
        {"noon_altitude", "altitude at noon", noon.altitude},
        {"noon_azimuth", "azimuth at noon", noon.azimuth},
        {"noon_shadow", "shadow at noon", SeenThroughAir(noon.altitude, d.refraction).shadow},
        {"sunset", "sunset", sunset},
        {"sunset_azimuth", "azimuth at sunset", azimuthAt(sunset)}};
    const std::array<double, 8> hours = GoldenAndBlue(d.model, d.noon);
    const std::array<std::string_view, 8> labels = {
        "golden hour, morning, from", "golden hour, morning, to", "golden hour, evening, from",
        "golden hour, evening, to",   "blue hour, morning, from", "blue hour, morning, to",
        "blue hour, evening, from",   "blue hour, evening, to"};
    for (std::size_t i = 0; i < hours.size(); ++i) {
        summary.push_back(
            {kGoldenAndBlue[i], labels[i], std::isnan(hours[i]) ? kNone : d.TimeOf(hours[i])});
    }
    to.Summary(summary);
}

// The sun's places through the day of the noon at t = noon, from half a day before it to half a
// day after, a point every `step` solar days.
std::vector<SunPoint> PathThrough(const SkyModel& model, double noon, double step) {
    std::vector<SunPoint> path;
    if (!(step * kMostSkyRows >= 1)) return path;  // a step that is no step, or none at all
    const SkyModel::SunThroughDay sun(model, noon);
    const auto count = static_cast<long long>(std::floor(1 / step));
    for (long long k = 0; k <= count; ++k) {
        const double x = -0.5 + double(k) * step;
        const SkyModel::Standing s = sun.At(x);
        path.push_back({x, s.altitude, s.azimuth});
    }
    return path;
}

SeasonPaths SeasonsOf(const SkyModel& model, double step) {
    SeasonPaths paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        paths[i] = PathThrough(model, model.NoonAt(model.DayOfOrbitAngle(90.0 * double(i))), step);
    }
    return paths;
}

// Each date's sky at a place; a date ends the run.
void OnDate(const SkyInputs& place, CivilDate date, const ClockOf& clockOf,
            const std::function<void(const DatedRow&)>& use) {
    ForEachDate(place, date, date, clockOf, [&](const DatedRow& d) {
        use(d);
        return false;
    });
}

// A step out of its range, or a day of more rows than the sky takes for a year's: the step that
// keeps within them, where one does, to try.
std::optional<Problem> TooManyRows(double solarDay, double minutes) {
    if (!RangeOf("every").Holds(minutes)) {
        return OutOfRange(std::string(RangeOf("every").reason), {"every"}, {{"every", "10"}});
    }
    if (!(solarDay * 60 / minutes > kMostSkyRows)) return std::nullopt;
    const double fewest = std::ceil(solarDay * 60 / kMostSkyRows);
    if (!RangeOf("every").Holds(fewest)) {
        return OutOfRange("a solar day this long has more than a million rows even an hour apart",
                          {"solar_day"}, {});
    }
    return OutOfRange("a day of this solar day has more than a million rows at this step",
                      {"every"}, {{"every", rt::TextFromDouble(fewest)}});
}

}  // namespace

double Refraction(double altitude, double refractionAtHorizon) {
    if (!(altitude >= -1)) return kNone;
    const double minutes = 1.02 / rt::Tangent((altitude + 10.3 / (altitude + 5.11)) * kDegree);
    return minutes / 60 * (refractionAtHorizon / kEarthRefraction);
}

std::array<double, 8> GoldenAndBlue(const SkyModel& model, double noon) {
    const std::array<double, 3> limits = {kGoldenLow, kGoldenHigh, kBlueLow};
    const std::vector<std::array<double, 2>> when = model.WhenAt(noon, limits);
    const std::array<double, 2>& goldenLow = when[0];
    const std::array<double, 2>& goldenHigh = when[1];
    const std::array<double, 2>& blueLow = when[2];
    return {goldenLow[0], goldenHigh[0], goldenHigh[1], goldenLow[1],
            blueLow[0],   goldenLow[0],  goldenLow[1],  blueLow[1]};
}

std::optional<Problem> ProduceSunOnDate(const SkyInputs& place, CivilDate date,
                                        const ClockOf& clockOf, double minutes, TableConsumer& to) {
    if (std::optional<Problem> problem = TooManyRows(24, minutes)) return problem;
    OnDate(place, date, clockOf, [&](const DatedRow& d) {
        const SunDay day{*d.model, d.noonDay, 24 * (d.noonDay - d.midnightDay),
                         24,       24,        place.refraction};
        Produce(day, minutes, d.row.sunrise, d.row.sunset, to);
    });
    return std::nullopt;
}

std::optional<Problem> ProduceSunOnDay(const SkyInputs& in, double degrees, double minutes,
                                       TableConsumer& to) {
    if (std::optional<Problem> problem = SkyProblem(in)) return problem;
    if (std::optional<Problem> problem = TooManyRows(in.solarDay, minutes)) return problem;
    const SkyModel model(in);
    const double noon = model.NoonAt(model.DayOfChosenAngle(degrees));
    const SkyRow row = model.RowOfNoon(noon);
    const SunDay day{model, noon, row.noon, in.solarDay, in.solarDay, in.refraction};
    Produce(day, minutes, row.sunrise, row.sunset, to);
    return std::nullopt;
}

SeasonPaths SeasonPathsOnDate(const SkyInputs& place, CivilDate date, const ClockOf& clockOf,
                              double minutes) {
    SeasonPaths paths;
    OnDate(place, date, clockOf,
           [&](const DatedRow& d) { paths = SeasonsOf(*d.model, minutes / 60 / 24); });
    return paths;
}

SeasonPaths SeasonPathsOnDay(const SkyInputs& in, double minutes) {
    return SeasonsOf(SkyModel(in), minutes / 60 / in.solarDay);
}

}  // namespace daycalc
