// The headless companion: the calculation for scripts and batch work.
#pragma once

#include <iosfwd>

namespace companion {

// Runs daylight-cli with its arguments on the given streams and returns the exit status:
// 0 for results, 1 for a fault, 2 for a batch with a bad line, a command line it can't use or a
// chart it could not write, 3 for output it could not write, 4 for input it could not read.
int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace companion
