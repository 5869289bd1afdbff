// The planets of the solar system, for trying the calculation on a real world.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "daylight/daylight.h"

namespace daycalc {

// The values of a planet: the three texts it gives the inputs, and its orbit. The solar day is in
// hours, the year (solstice to solstice) in the planet's own solar days.
struct PlanetPreset {
    std::string_view name;
    std::string_view tilt;
    std::string_view solarDay;
    std::string_view year;
    double eccentricity;
    double perihelion;  // the orbit angle of the perihelion, degrees past the winter solstice
    double distance;    // the mean distance from the sun (the semi-major axis), AU
    double refraction;  // of the air at the horizon, minutes of arc
    // Degrees the planet's almanac adds to the sun's declination, times the sine of its orbit
    // angle from the spring equinox.
    double declinationTerm;
};

// Sources: the NASA planetary fact sheets (obliquity to orbit, length of day, orbital period and
// eccentricity), the year being the orbital period in the planet's solar days. The perihelion's
// angle past the northern winter solstice is worked out by scripts/planet-angles from the fact
// sheets' orbits and the IAU's poles of rotation; for the Earth and Mars it gives the published
// 12.95 and 341. Venus, Uranus and Pluto turn backwards: their tilts are above 90. The mean
// distance is the fact sheets' semi-major axis. Only the Earth's air bends the sunlight at the
// horizon by a measured amount (34'); Mercury and Pluto have no air to speak of and Mars's is too
// thin to matter; Venus and the giants show no horizon at all (clouds, or no surface), so their
// sunrise is taken at the level with no refraction. Mars's almanac (Mars24, Allison and McEwen
// 2000) gives the sun's declination for its planetographic latitudes with 0.25° · sin Ls added to
// the direction of the sun; Mars follows it, so that its days are the almanac's.
inline constexpr std::array<PlanetPreset, 9> kPlanets{{
    {"mercury", "0.034", "4222.6", "0.5", 0.2056, 139.29, 0.387, 0, 0},
    {"venus", "177.36", "2802", "1.9246", 0.0068, 163.73, 0.723, 0, 0},
    {"earth", "23.4393", "24", "365.2422", 0.0167, 12.95, 1, 34, 0},
    {"mars", "25.19", "24.6597", "668.6", 0.0934, 341, 1.524, 0, 0.25},
    {"jupiter", "3.13", "9.9259", "10475.84", 0.0489, 147.09, 5.203, 0, 0},
    {"saturn", "26.73", "10.656", "24232.48", 0.0565, 9.47, 9.537, 0, 0},
    {"uranus", "97.77", "17.24", "42717.49", 0.0457, 95.46, 19.191, 0, 0},
    {"neptune", "28.32", "16.11", "89667.04", 0.0113, 92.21, 30.069, 0, 0},
    {"pluto", "122.53", "153.282", "14179.36", 0.2488, 94.55, 39.482, 0, 0},
}};

// The planet of that name, in any case ("mars", "Mars", "MARS"), or none.
inline const PlanetPreset* PlanetNamed(std::string_view name) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (const PlanetPreset& p : kPlanets) {
        if (p.name.size() != name.size()) continue;
        if (std::equal(name.begin(), name.end(), p.name.begin(),
                       [&](char a, char b) { return lower(a) == b; })) {
            return &p;
        }
    }
    return nullptr;
}

// The inputs a planet fills, each with its text.
inline std::array<std::pair<std::string DaylightInputs::*, std::string_view>, 3> PlanetTexts(
    const PlanetPreset& p) {
    return {{{&DaylightInputs::tilt, p.tilt},
             {&DaylightInputs::solarDay, p.solarDay},
             {&DaylightInputs::year, p.year}}};
}

}  // namespace daycalc
