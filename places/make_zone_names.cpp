// make-zone-names FILE: writes, from the system's time zone database (Debian's tzdata, through
// the date library), the names each zone gives its offsets from UTC ("CET" for +1 hour, "CEST"
// for +2 in Europe/Oslo), as C++ for a build that has no database of its own (the page, which
// takes the offsets from the browser). The file is replaced whole or not at all.
//
// After a first line that names the tzdata, a zone's lines: "z NAME", then "FROM OFFSET
// ABBREVIATION" (seconds since 1970 UTC, seconds ahead of UTC) where an offset takes a name from
// that moment on, from 1000 to 2100 (beyond which the rules repeat). A name that is another's
// (Asia/Calcutta) is a zone of the system's own.
#include <date/tz.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "chart/whole_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-zone-names FILE\n");
        return 2;
    }
    using namespace std::chrono;
    const date::sys_seconds first = date::sys_days{date::year{1000} / 1 / 1};
    const date::sys_seconds last = date::sys_days{date::year{2100} / 1 / 1};
    std::string lines;
    const date::tzdb& db = date::get_tzdb();
    for (const date::time_zone& zone : db.zones) {
        lines += "z " + std::string(zone.name()) + '\n';
        std::map<long long, std::string> named;  // by offset, the name it has now
        for (date::sys_seconds at = first; at < last;) {
            const date::sys_info info = zone.get_info(at);
            const long long offset = info.offset.count();
            if (named[offset] != info.abbrev) {
                named[offset] = info.abbrev;
                lines += std::to_string(std::max(info.begin, first).time_since_epoch().count()) +
                         ' ' + std::to_string(offset) + ' ' + info.abbrev + '\n';
            }
            at = info.end;
        }
    }
    const std::string text =
        "# The names of the zones' offsets, from tzdata " + db.version + ".\n" + lines;
    if (const std::string problem = chart::ReplaceWhole(argv[1], text); !problem.empty()) {
        std::fprintf(stderr, "%s: could not write %s: %s\n", "make-zone-names", argv[1],
                     problem.c_str());
        return 1;
    }
    return 0;
}
