#include "places.h"

#include <optional>

// The places file, made at build time, inside the program: a lookup reads no file.
asm(".section .rodata\n"
    ".globl daylight_places_file\n"
    "daylight_places_file:\n"
    ".incbin \"" DAYLIGHT_PLACES_FILE
    "\"\n"
    ".globl daylight_places_file_end\n"
    "daylight_places_file_end:\n"
    ".previous\n");
extern "C" const char daylight_places_file[];
extern "C" const char daylight_places_file_end[];

namespace companion {

const places::Gazetteer* Places() {
    static const std::optional<places::Gazetteer> read =
        places::Gazetteer::Read(std::string(daylight_places_file, daylight_places_file_end));
    return read ? &*read : nullptr;
}

}  // namespace companion
