// An independent statement of the reading rules for the simplest texts: digits, at most one
// full stop, a leading sign and blanks. Shared by the property tests and the fuzz targets.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace oracle {

struct Reading {
    bool overflow = false;
    double value = 0;
};

// What such a text must read as: std::from_chars on the text with its blanks removed. Nothing
// for a text outside the family.
inline std::optional<Reading> ExpectedReading(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    }
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.erase(0, 1);
    int points = 0, digits = 0;
    bool nonZeroBeforePoint = false;
    for (char c : s) {
        if (c == '.') {
            ++points;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            nonZeroBeforePoint |= points == 0 && c != '0';
        } else {
            return std::nullopt;
        }
    }
    if (points > 1 || digits == 0) return std::nullopt;
    double magnitude = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), magnitude);
    if (end != s.data() + s.size()) return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        if (nonZeroBeforePoint) return Reading{true, 0};
        magnitude = 0;
    }
    return Reading{false, negative ? -magnitude : magnitude};
}

}  // namespace oracle
