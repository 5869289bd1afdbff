// Named time zones in the browser: each date's offset from the browser's own time zone data
// (Intl), and the name the zone gives that offset from the names made from tzdata at build time
// (make-zone-names), once the page has handed them over; an offset without a name is named as a
// fixed one is ("UTC+02:00").
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "cli/companion.h"
#include "runtime/runtime.h"
#include "time_zone.h"

namespace {

// The seconds the zone is ahead of UTC at a moment (seconds since 1970 UTC); a zone the browser
// does not know is an error, and a very large number here.
// clang-format off
EM_JS(double, ZoneOffsetAt, (const char* name, double seconds), {
  const zone = UTF8ToString(name);
  if (Module.zoneFormats === undefined) Module.zoneFormats = new Map();
  let format = Module.zoneFormats.get(zone);
  if (format === undefined) {
    try {
      format = new Intl.DateTimeFormat("en-US", { timeZone: zone, timeZoneName: "longOffset" });
    } catch (unknown) {
      return 1e9;
    }
    Module.zoneFormats.set(zone, format);
  }
  const part = format.formatToParts(new Date(seconds * 1000)).find(p => p.type === "timeZoneName");
  const text = part ? part.value : "";
  if (text === "GMT") return 0;
  if (!text.startsWith("GMT+") && !text.startsWith("GMT-")) return 1e9;
  const f = text.slice(4).split(":").map(Number);
  if (f.length < 2 || f.some(Number.isNaN)) return 1e9;
  const ahead = f[0] * 3600 + f[1] * 60 + (f[2] || 0);
  return text[3] === "-" ? -ahead : ahead;
});
// clang-format on

constexpr double kNoZone = 1e9;

// By zone, the moments from which an offset has a name.
struct Named {
    double from, offset;
    std::string name;
};
struct Zone {
    std::string name;
    std::vector<Named> named;
};
std::vector<Zone>& Names() {
    static std::vector<Zone> zones;
    return zones;
}

std::string NameOf(const std::string& zone, double offset, double at) {
    const std::string* found = nullptr;
    for (const Zone& z : Names()) {
        if (z.name != zone) continue;
        for (const Named& n : z.named) {
            if (n.offset == offset && n.from <= at) found = &n.name;
        }
    }
    if (found) return *found;
    return daycalc::FixedClock(offset / 3600)(daycalc::CivilDate{2000, 1, 1}).zone;
}

}  // namespace

namespace companion {

bool HasTimeZones() { return true; }

void SetZoneNames(std::string_view text) {
    auto& names = Names();
    names.clear();
    std::vector<Named>* zone = nullptr;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        const std::string line(text.substr(from, end - from));
        from = end + 1;
        if (line.starts_with("z ")) {
            zone = &names.emplace_back(Zone{line.substr(2), {}}).named;
        } else if (zone && !line.empty() && line[0] != '#') {
            const std::size_t a = line.find(' '), b = line.find(' ', a + 1);
            if (a == std::string::npos || b == std::string::npos) continue;
            const auto from = rt::StrictNumber(std::string_view(line).substr(0, a));
            const auto offset = rt::StrictNumber(std::string_view(line).substr(a + 1, b - a - 1));
            if (from && offset) zone->push_back({*from, *offset, line.substr(b + 1)});
        }
    }
}

std::optional<daycalc::ClockOf> ZoneClock(const std::string& name) {
    if (ZoneOffsetAt(name.c_str(), 0) == kNoZone) return std::nullopt;
    return [name](const daycalc::CivilDate& d) {
        // The clock in force at the date's noon: the one before a change where noon is skipped
        // or comes twice.
        // Its noon in seconds since 1970-01-01 (the Julian day 2440587.5).
        const double noon = (daycalc::JulianDayOf(d) - 2440587.5) * 86400 + 43200;
        const double before = ZoneOffsetAt(name.c_str(), noon - 86400 - 43200);
        double offset = before;
        if (ZoneOffsetAt(name.c_str(), noon - before) != before) {
            const double after = ZoneOffsetAt(name.c_str(), noon - before);
            if (ZoneOffsetAt(name.c_str(), noon - after) == after) offset = after;
        }
        return daycalc::Clock{offset / 3600, NameOf(name, offset, noon - offset)};
    };
}

}  // namespace companion
