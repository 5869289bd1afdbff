// --planet: a planet of the solar system gives the values no option on the command line gives.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "daylight/solar_system.h"
#include "quoted.h"

namespace companion {

inline std::string PlanetNames() {
    std::string names;
    for (const daycalc::PlanetPreset& p : daycalc::kPlanets) {
        names += (names.empty() ? "" : ", ") + std::string(p.name);
    }
    return names;
}

inline CLI::Option* AddPlanetOption(CLI::App& command, std::string& name) {
    return command
        .add_option("--planet", name,
                    "A planet's tilt, solar day (hours), year (its solar days) and orbit;\n"
                    "options given as well take their place. One of\n" +
                        PlanetNames())
        ->type_name("NAME")
        ->check([](const std::string& value) -> std::string {
            if (daycalc::PlanetNamed(value)) return "";
            return "unknown planet " + Quoted(value) + "; known are " + PlanetNames();
        });
}

}  // namespace companion
