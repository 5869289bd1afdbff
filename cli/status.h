// The companion's exit statuses.
#pragma once

namespace companion {

enum ExitStatus {
    kResults = 0,          // every result was printed; a batch may hold faults in its lines
    kFault = 1,            // the calculation stopped at a fault
    kBadInput = 2,         // a command line it cannot use, or a batch with a line it cannot read
    kChartNotWritten = 2,  // the year was printed, but its chart could not be written
};

}  // namespace companion
