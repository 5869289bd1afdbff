// The insolation command: the daily mean sunlight at the top of the air through the year at one
// latitude, as a map of every latitude, as the year's mean by latitude, or on the Earth's orbit
// through the last million years; with a chart of each.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>

#include "daylight/daylight.h"
#include "sky_command.h"

namespace companion {

// Adds "insolation" to the app; it fills the same inputs as the app's own, and the sky's request.
CLI::App* AddInsolationCommand(CLI::App& app, daycalc::DaylightInputs& inputs, SkyRequest& request);

// Prints the sunlight asked for and draws its chart; returns the exit status.
int RunInsolation(const daycalc::DaylightInputs& inputs, const SkyRequest& request,
                  std::ostream& out, std::ostream& err);

}  // namespace companion
