// Thirteen doubles, the sky's inputs in order (the eleventh above 0 for the planet's own sunrise):
// either the reason they cannot be used, or a sky whose every number is finite (sunrise and
// sunset but where the sun does not cross) and whose every row splits the solar day into parts
// that add up to it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "daylight/sky.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double v[13] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 34, 0, 0, daycalc::kAnyLongitude};
    std::memcpy(v, data, std::min(size, sizeof v));
    const daycalc::SkyInputs in{v[0], v[1], v[2], v[3],      v[4],  v[5], v[6],
                                v[7], v[8], v[9], v[10] > 0, v[11], v[12]};
    if (const auto problem = daycalc::SkyProblem(in)) {
        // Its values to try are within range.
        daycalc::SkyInputs within = in;
        for (const daycalc::Try& t : problem->tries) {
            const double v = rt::ValFromText(t.text);
            if (t.field == "tilt") within.tilt = v;
            if (t.field == "latitude") within.latitude = v;
            if (t.field == "solar_day") within.solarDay = v;
            if (t.field == "year") within.year = v;
            if (t.field == "eccentricity") within.eccentricity = v;
            if (t.field == "perihelion") within.perihelion = v;
            if (t.field == "horizon") within.horizon = v;
            if (t.field == "step") within.step = v;
            if (t.field == "distance") within.distance = v;
            if (t.field == "refraction") within.refraction = v;
            if (t.field == "declination_term") within.declinationTerm = v;
            if (t.field == "longitude") within.longitude = v;
        }
        if (problem->tries.empty() || daycalc::SkyProblem(within)) std::abort();
        return 0;
    }
    // A long year takes too long, and so do many days of a slow rotator, followed step by step.
    if (in.year / in.step > (in.year < 100 ? 20 : 2000)) return 0;
    const daycalc::SkyView sky = std::get<daycalc::SkyView>(daycalc::ComputeSky(in));
    for (const daycalc::SkyRow& r : sky.rows) {
        double share = 0;
        for (const double x : {r.day, r.orbitAngle, r.declination, r.noon, r.equationOfTime}) {
            if (!std::isfinite(x)) std::abort();
        }
        for (const double x : {r.sunrise, r.sunset}) {
            if (!std::isnan(x) && !(x >= 0 && x < in.solarDay)) std::abort();
        }
        for (const double part : {r.daylight, r.civil, r.nautical, r.astronomical, r.night}) {
            if (!(part >= 0 && part <= in.solarDay)) std::abort();
            share += part / in.solarDay;
        }
        if (std::fabs(share - 1) > 1e-12) std::abort();
    }
    for (const double x : {sky.shortestDaylight, sky.longestDaylight, sky.shortestDay,
                           sky.longestDay, sky.longestTwilightOnly}) {
        if (!std::isfinite(x)) std::abort();
    }
    return 0;
}
