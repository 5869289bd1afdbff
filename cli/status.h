// The companion's exit statuses.
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

}  // namespace companion
