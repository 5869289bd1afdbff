#include "time_zone.h"

namespace companion {

bool HasTimeZones() { return false; }

std::optional<daycalc::ClockOf> ZoneClock(const std::string&) { return std::nullopt; }

}  // namespace companion
