#include "daylight/earth_year.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "daylight/solar_system.h"
#include "runtime/trigonometry.h"
#include "sky_parts.h"

namespace daycalc {
namespace {

using inner::kDegree;

// Days from 1970-01-01 of a proleptic Gregorian date, and back (Howard Hinnant's algorithms).
long DaysOf(const CivilDate& d) {
    const long y = d.year - (d.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// 0 to 99 as two digits: "07".
std::string TwoDigits(long n) { return {char('0' + n / 10), char('0' + n % 10)}; }

bool Leap(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && Leap(year) ? 29 : kDays[std::size_t(month - 1)];
}

// The periodic terms of the solstices and equinoxes: amplitude (1e-5 days), phase and rate in
// degrees (rate per Julian century).
struct Term {
    double amplitude, phase, rate;
};
constexpr std::array<Term, 24> kTerms = {{
    {485, 324.96, 1934.136},  {203, 337.23, 32964.467}, {199, 342.08, 20.186},
    {182, 27.85, 445267.112}, {156, 73.14, 45036.886},  {136, 171.52, 22518.443},
    {77, 222.54, 65928.934},  {74, 296.72, 3034.906},   {70, 243.58, 9037.513},
    {58, 119.81, 33718.147},  {52, 297.17, 150.678},    {50, 21.02, 2281.226},
    {45, 247.54, 29929.562},  {44, 325.15, 31555.956},  {29, 60.93, 4443.417},
    {18, 155.12, 67555.328},  {17, 288.79, 4562.452},   {16, 198.04, 62894.029},
    {14, 199.76, 31436.921},  {12, 95.39, 14577.848},   {12, 287.11, 31931.756},
    {12, 320.81, 34777.259},  {9, 227.73, 1222.114},    {8, 15.45, 16859.074},
}};

constexpr double kJ2000 = 2451545.0;

}  // namespace

std::optional<CivilDate> DateOf(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const CivilDate d{number(0, 4), number(5, 2), number(8, 2)};
    if (d.year < 1000 || d.year > 3000 || d.month < 1 || d.month > 12 || d.day < 1 ||
        d.day > DaysInMonth(d.year, d.month)) {
        return std::nullopt;
    }
    return d;
}

std::optional<CivilDate> MonthOf(std::string_view text) {
    if (text.size() != 7) return std::nullopt;
    return DateOf(std::string(text) + "-01");
}

std::optional<double> UtcOffsetOf(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return rt::StrictNumber(text);
    const bool negative = text[0] == '-';
    const std::size_t sign = negative || text[0] == '+' ? 1 : 0;
    const std::string_view hours = text.substr(sign, colon - sign);
    const std::string_view minutes = text.substr(colon + 1);
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (hours.empty() || hours.size() > 2 || minutes.size() != 2 || !digits(hours) ||
        !digits(minutes) || minutes[0] > '5') {
        return std::nullopt;
    }
    const int h = hours.size() == 2 ? (hours[0] - '0') * 10 + (hours[1] - '0') : hours[0] - '0';
    const int m = (minutes[0] - '0') * 10 + (minutes[1] - '0');
    const double offset = h + m / 60.0;
    return negative ? -offset : offset;
}

std::string TextOf(const CivilDate& d) {
    return std::to_string(d.year) + "-" + TwoDigits(d.month) + "-" + TwoDigits(d.day);
}

double JulianDayOf(const CivilDate& date) { return double(DaysOf(date)) + 2440587.5; }

CivilDate NextDate(const CivilDate& d) {
    if (d.day < DaysInMonth(d.year, d.month)) return {d.year, d.month, d.day + 1};
    if (d.month < 12) return {d.year, d.month + 1, 1};
    return {d.year + 1, 1, 1};
}

CivilDate PreviousDate(const CivilDate& d) {
    if (d.day > 1) return {d.year, d.month, d.day - 1};
    if (d.month > 1) return {d.year, d.month - 1, DaysInMonth(d.year, d.month - 1)};
    return {d.year - 1, 12, 31};
}

bool operator<=(const CivilDate& a, const CivilDate& b) { return DaysOf(a) <= DaysOf(b); }

double DecemberSolstice(int year) {
    // The mean solstice, then the periodic terms scaled by the speed of the sun's longitude.
    const double y = (year - 2000) / 1000.0;
    const double mean = 2451900.05952 + 365242.74049 * y - 0.06223 * y * y - 0.00823 * y * y * y +
                        0.00032 * y * y * y * y;
    const double t = (mean - kJ2000) / 36525;
    const double w = (35999.373 * t - 2.47) * kDegree;
    const double speed = 1 + 0.0334 * rt::Cosine(w) + 0.0007 * rt::Cosine(2 * w);
    double sum = 0;
    for (const Term& term : kTerms) {
        sum += term.amplitude * rt::Cosine((term.phase + term.rate * t) * kDegree);
    }
    return mean + 0.00001 * sum / speed;
}

EarthYear EarthYearAt(double julianDay) {
    const double guess = 2000 + (julianDay - kJ2000) / 365.2422;
    int year = int(std::floor(guess));
    while (DecemberSolstice(year) > julianDay) --year;
    while (DecemberSolstice(year + 1) <= julianDay) ++year;
    EarthYear e;
    e.solstice = DecemberSolstice(year);
    e.length = DecemberSolstice(year + 1) - e.solstice;
    // The elements in the middle of that year, in Julian centuries from J2000.
    const double t = (e.solstice + e.length / 2 - kJ2000) / 36525;
    e.eccentricity = 0.016708634 - 0.000042037 * t - 0.0000001267 * t * t;
    // The longitude of the perihelion, less the Earth's longitude at the December solstice (90°).
    e.perihelion = 102.93735 + 1.71946 * t + 0.00046 * t * t - 90;
    // The mean obliquity, and the nutation's main term (9.2", with the Moon's node, 18.6 years).
    const double node = (125.04452 - 1934.136261 * t) * kDegree;
    e.tilt = 23.439291111 - 0.0130041667 * t - 1.6389e-7 * t * t + 5.0361e-7 * t * t * t +
             9.20 / 3600 * rt::Cosine(node);
    return e;
}

namespace {

// The sky of the Earth's year at a place, its meridian 0 turned to Greenwich's.
struct SkyOfYear {
    EarthYear year;
    SkyInputs in;
    SkyModel model;

    SkyOfYear(const EarthYear& y, const SkyInputs& place, double longitude)
        : year(y), in(InputsOf(y, place, longitude)), model(in) {}

    static SkyInputs InputsOf(const EarthYear& y, SkyInputs in, double longitude) {
        in.tilt = y.tilt;
        in.year = y.length;
        in.eccentricity = y.eccentricity;
        in.perihelion = y.perihelion;
        // The model's meridian 0 has its mean noon at the solstice; Greenwich has it at whole
        // Julian days.
        in.longitude = longitude + 360 * (y.solstice - std::floor(y.solstice));
        return in;
    }

    bool Holds(double julianDay) const {
        return julianDay >= year.solstice && julianDay < year.solstice + year.length;
    }
};

}  // namespace

SkyInputs EarthPlace(double latitude, double longitude) {
    const PlanetPreset& earth = *PlanetNamed("earth");
    return {.tilt = 23.5,
            .latitude = latitude,
            .solarDay = 24,
            .year = 365.25,
            .eccentricity = earth.eccentricity,
            .perihelion = earth.perihelion,
            .horizon = SunriseHorizon(earth.refraction, earth.distance),
            .step = 1,
            .distance = earth.distance,
            .refraction = earth.refraction,
            .sunrise = true,
            .declinationTerm = earth.declinationTerm,
            .longitude = longitude};
}

ClockOf FixedClock(double utcOffset) {
    // Its name: UTC, the sign, and hours and minutes.
    const long minutes = std::lround(std::fabs(utcOffset) * 60);
    const std::string zone = std::string("UTC") + (utcOffset < 0 ? "-" : "+") +
                             TwoDigits(minutes / 60) + ":" + TwoDigits(minutes % 60);
    return [utcOffset, zone](const CivilDate&) { return Clock{utcOffset, zone}; };
}

void ForEachDate(const SkyInputs& place, CivilDate from, CivilDate to, const ClockOf& clockOf,
                 const std::function<bool(const DatedRow&)>& row) {
    const double longitude = std::isnan(place.longitude) ? 0 : place.longitude;
    std::optional<SkyOfYear> sky;  // the year of the last noon, kept while the noons stay in it
    // The t of the apparent noon nearest a Julian day, in the year that day falls in.
    const auto noonNear = [&](double julianDay) {
        if (!sky || !sky->Holds(julianDay)) sky.emplace(EarthYearAt(julianDay), place, longitude);
        return sky->model.NoonNear(julianDay - sky->year.solstice, sky->in.longitude);
    };
    // The date before the first is made too, for the first date's change.
    double before = 0;
    for (CivilDate date = PreviousDate(from); date <= to; date = NextDate(date)) {
        const Clock dateClock = clockOf(date);
        const double utcOffset = dateClock.utcOffset;
        // The date's midnight on the clock, as a Julian day, and the clock's hours after it.
        const double midnight = JulianDayOf(date) - utcOffset / 24;
        const auto hoursOf = [&](double t) { return (sky->year.solstice + t - midnight) * 24; };
        // The day whose apparent noon falls on the date: the noon nearest the clock's noon, or
        // where the clock runs so far from the sun's that it falls on the date before or after,
        // its neighbour on this side. (Where noon is drifting across midnight a date may hold no
        // noon at all: it keeps the nearest, seconds outside it.)
        double t = noonNear(midnight + 0.5);
        if (const double hours = hoursOf(t); !(hours >= 0 && hours < 24)) {
            const double neighbour = noonNear(sky->year.solstice + t + (hours < 0 ? 1 : -1));
            const double there = hoursOf(neighbour);
            t = there >= 0 && there < 24 ? neighbour : noonNear(midnight + 0.5);
        }
        DatedRow dated{date, sky->model.RowOfNoon(t),      dateClock, 0, &sky->model,
                       t,    midnight - sky->year.solstice};
        // From local mean time to the clock, in hours after the date's midnight: the offset of the
        // zone from the meridian, and the whole days between the two midnights.
        const double zone = utcOffset - longitude / 15;
        const double days = std::round((hoursOf(t) - (dated.row.noon + zone)) / 24);
        const auto clock = [&](double hours) {
            return hours + utcOffset - longitude / 15 + 24 * days;
        };
        // The sky gives each time within its solar day; a sunrise or dawn is the one before noon
        // and a sunset or dusk the one after it, though either may lie past a midnight.
        SkyRow& r = dated.row;
        const auto beforeNoon = [&](double hours) {
            return clock(hours > r.noon ? hours - 24 : hours);
        };
        const auto afterNoon = [&](double hours) {
            return clock(hours < r.noon ? hours + 24 : hours);
        };
        r.sunrise = beforeNoon(r.sunrise);
        r.sunset = afterNoon(r.sunset);
        for (std::size_t i = 0; i < r.dawns.size(); ++i) {
            r.dawns[i] = beforeNoon(r.dawns[i]);
            r.dusks[i] = afterNoon(r.dusks[i]);
        }
        r.noon = clock(r.noon);
        dated.change = dated.row.daylight - before;
        before = dated.row.daylight;
        if (!(from <= date)) continue;
        if (!row(dated)) return;
    }
}

}  // namespace daycalc
