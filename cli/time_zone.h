// The clocks of named time zones (IANA names: Europe/Oslo), from the system's time zone
// database; none in a build without it.
#pragma once

#include <optional>
#include <string>

#include "daylight/earth_year.h"

namespace companion {

// Whether this build has the time zone database.
bool HasTimeZones();

// The clock of the zone on each date, as it stands at the date's noon: its offset from UTC and
// the zone's abbreviation for it ("CET", "CEST"); none where no zone has that name.
std::optional<daycalc::ClockOf> ZoneClock(const std::string& name);

}  // namespace companion
