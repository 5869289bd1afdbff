// A text from the command line as a message shows it: as is where it is plain, otherwise quoted
// as the shell would read it back, the way ls and cp show file names, so that a line feed or an
// escape sequence in a name can neither split a message nor reach the terminal.
#pragma once

#include <string>
#include <string_view>

namespace companion {

//   year.svg → year.svg        my chart.svg → 'my chart.svg'       it's → 'it'\''s'
//   "a\nb" → 'a'$'\n''b'       "\x1b[31m" → ''$'\033''[31m'        "" → ''
inline std::string Quoted(std::string_view text) {
    const auto plain = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("%+,-./:=@_").find(c) != std::string_view::npos;
    };
    const auto control = [](char c) { return (c >= 0 && c < 0x20) || c == 0x7f; };
    bool allPlain = !text.empty();
    for (const char c : text) allPlain = allPlain && plain(c);
    if (allPlain) return std::string(text);
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else if (control(c)) {
            quoted += "'$'\\";
            if (c == '\n') {
                quoted += 'n';
            } else if (c == '\t') {
                quoted += 't';
            } else if (c == '\r') {
                quoted += 'r';
            } else {
                const auto byte = static_cast<unsigned char>(c);
                quoted += char('0' + (byte >> 6));
                quoted += char('0' + ((byte >> 3) & 7));
                quoted += char('0' + (byte & 7));
            }
            quoted += "''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// A message made elsewhere (the option parser's), which may hold a text from the command line as
// it was typed: every control character but its line breaks written out ("\033"), so that none
// reaches the terminal.
inline std::string Printable(std::string_view message) {
    std::string shown;
    for (const char c : message) {
        if ((c >= 0 && c < 0x20 && c != '\n') || c == 0x7f) {
            const auto byte = static_cast<unsigned char>(c);
            shown += '\\';
            shown += char('0' + (byte >> 6));
            shown += char('0' + ((byte >> 3) & 7));
            shown += char('0' + (byte & 7));
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace companion
