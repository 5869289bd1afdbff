// Files replaced whole or not at all, with plain POSIX calls.
#pragma once

#include <string>
#include <string_view>

namespace chart {

// Writes the bytes to a temporary file in the folder of `path`, flushes it to the disk and only
// then moves it over `path`, so that a reader sees the old file or the whole new one. The name
// is used byte for byte. A name that is a folder, a device or another file that is not regular,
// or a link to one, is refused and left as it is, and so is a file its user may not write (as
// the shell's > leaves it); a link to a regular file has that file replaced. Says why nothing was
// written (the system's reason: "No space left on device"), or nothing; on any failure the old file
// is untouched and the temporary one gone.
std::string ReplaceWhole(const std::string& path, std::string_view bytes);

}  // namespace chart
