// The sun command: one day's path of the sun, every few minutes, with its sunrise, noon, sunset
// and golden and blue hours, and on request the sun-path chart.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>

#include "daylight/daylight.h"
#include "sky_command.h"

namespace companion {

// Adds "sun" to the app; it fills the same inputs as the app's own, and the sky's request.
CLI::App* AddSunCommand(CLI::App& app, daycalc::DaylightInputs& inputs, SkyRequest& request);

// Prints the day's path and draws its chart; returns the exit status.
int RunSun(const daycalc::DaylightInputs& inputs, const SkyRequest& request, std::ostream& out,
           std::ostream& err);

}  // namespace companion
