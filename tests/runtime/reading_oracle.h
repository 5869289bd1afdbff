// An independent statement of the reading rules for the simplest texts: digits, at most one
// full stop, a leading sign and blanks. Shared by the property tests and the fuzz targets.
#pragma once

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace oracle {

struct Reading {
    bool overflow = false;
    double value = 0;
};

// What such a text must read as: the C library's strtod (in the C locale, which these tests
// never leave) on the text with its blanks removed. Nothing for a text outside the family.
inline std::optional<Reading> ExpectedReading(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    }
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.erase(0, 1);
    int points = 0, digits = 0;
    for (char c : s) {
        if (c == '.') {
            ++points;
        } else if (c >= '0' && c <= '9') {
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (points > 1 || digits == 0) return std::nullopt;
    char* end = nullptr;
    const double magnitude = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size()) return std::nullopt;
    if (std::isinf(magnitude)) return Reading{true, 0};
    return Reading{false, negative ? -magnitude : magnitude};
}

}  // namespace oracle
