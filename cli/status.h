// The companion's exit statuses, and what each command's help says of them (the manual pages
// are made from the help).
#pragma once

namespace companion {

enum ExitStatus {
    kResults = 0,           // every result was printed; a batch may hold faults in its lines
    kFault = 1,             // the calculation stopped at a fault
    kBadInput = 2,          // a command line it cannot use, or a batch with a line it cannot read
    kChartNotWritten = 2,   // the year was printed, but its chart could not be written
    kOutputNotWritten = 3,  // the output could not be written (a full disk, a closed pipe)
    kInputNotRead = 4,      // the batch's input could not be read
};

// The help's words on the statuses, each command's.
inline constexpr const char* kStatusesSaid =
    "Exit status: 0 results, 1 a fault, 2 a bad command line or a batch with an error line,\n"
    "3 output that could not be written, 4 a batch input that could not be read. A batch\n"
    "whose lines are all faults exits 0: each fault is that line's answer.";
inline constexpr const char* kYearStatusesSaid =
    "Exit status: 0 the year, 1 a fault as in the single mode (an overflowing number, no\n"
    "tilt beyond the pole), 2 a bad command line";
inline constexpr const char* kSkyStatusesSaid =
    "Exit status: 0 the sky, 1 a number too large to read, 2 a bad command line or\nvalue";
inline constexpr const char* kSunStatusesSaid =
    "Exit status: 0 the sun's path, 1 a number too large to read, 2 a bad command line or\nvalue";
inline constexpr const char* kInsolationStatusesSaid =
    "Exit status: 0 the sunlight, 1 a number too large to read, 2 a bad command line or\nvalue";
inline constexpr const char* kPlacesStatusesSaid =
    "Exit status: 0 the places (none where none match), 2 a bad command line.";

}  // namespace companion
