// Eight doubles, the sky's inputs in order: either the reason they cannot be used, or a sky whose
// every number is finite and whose every row splits the solar day into parts that add up to it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "daylight/sky.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double v[8] = {};
    std::memcpy(v, data, std::min(size, sizeof v));
    const daycalc::SkyInputs in{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
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
        }
        if (problem->tries.empty() || daycalc::SkyProblem(within)) std::abort();
        return 0;
    }
    if (in.year / in.step > 2000) return 0;  // a long year takes too long
    const daycalc::SkyView sky = std::get<daycalc::SkyView>(daycalc::ComputeSky(in));
    for (const daycalc::SkyRow& r : sky.rows) {
        double share = 0;
        for (const double x : {r.day, r.orbitAngle, r.declination}) {
            if (!std::isfinite(x)) std::abort();
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
