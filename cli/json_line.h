// One batch line as a JSON object: its top-level members, each a string (unescaped), a number
// (its text as written) or another value. The whole line is checked in one pass, in time and
// memory linear in its length, and nesting deeper than kDeepestNesting is refused.
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
// JSON", "nested deeper than 64 levels", "not a JSON object", or "field \"K\" given twice" (K
// cut after 40 bytes).
std::string ReadJsonLine(std::string_view line, std::vector<JsonMember>& members);

// A key as an error line echoes it: at most its first 40 bytes.
std::string Echo(std::string_view key);

}  // namespace companion
