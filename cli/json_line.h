// One batch line as a JSON object of known fields: its members, each a string (unescaped), a
// number (its text as written) or another value. The line is read in one pass, in time linear in
// its length, and stops at the first problem: an unknown field or one given twice ends it at
// once, so that memory stays that of the known fields. A line that is not an object is checked
// whole, nesting deeper than kDeepestNesting refused, to tell invalid JSON from valid.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace companion {

constexpr int kDeepestNesting = 64;

struct JsonMember {
    enum class Kind { String, Number, Other };
    std::string key;
    Kind kind;
    std::string text;  // the string's text, or the number's text as written; empty for others
};

// What is wrong with the line, or nothing, with its members in the order written: "not valid
// JSON", "nested deeper than 64 levels", "not a JSON object", "unknown field \"K\"" or "field
// \"K\" given twice" (K cut after 40 bytes). A field is known when `known` names it.
std::string ReadJsonLine(std::string_view line, const std::vector<std::string_view>& known,
                         std::vector<JsonMember>& members);

// A key as an error line echoes it: at most its first 40 bytes.
std::string Echo(std::string_view key);

}  // namespace companion
