#include "time_zone.h"

#include <date/tz.h>

#include <chrono>
#include <exception>

namespace companion {

bool HasTimeZones() { return true; }

std::optional<daycalc::ClockOf> ZoneClock(const std::string& name) {
    const date::time_zone* zone = nullptr;
    try {
        zone = date::locate_zone(name);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return [zone](const daycalc::CivilDate& d) {
        const date::local_seconds noon =
            date::local_days{date::year{d.year} / unsigned(d.month) / unsigned(d.day)} +
            std::chrono::hours{12};
        // At noon a clock is hardly ever changed; where it is, the clock before the change.
        const date::sys_info info = zone->get_info(noon).first;
        return daycalc::Clock{double(info.offset.count()) / 3600, info.abbrev};
    };
}

}  // namespace companion
