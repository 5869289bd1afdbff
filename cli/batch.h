// The batch: JSON Lines in, one answer line out for every non-blank line, in constant memory.
#pragma once

#include <cstddef>
#include <iosfwd>

namespace companion {

// A line longer than this is answered with an error and skipped to its end without being kept.
constexpr std::size_t kLongestBatchLine = 1 << 20;

// Answers every line of the input; returns the exit status. Stops at the first answer it cannot
// write, and after a read error, each with its message on the errors.
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace companion
