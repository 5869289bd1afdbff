// Rows of numbers as the year and the sky print them: a CSV line, or a JSON object whose fields
// are the columns.
#pragma once

#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "output.h"

namespace companion {

template <typename Text, std::size_t N>
void PrintCsvLine(std::ostream& out, const std::array<Text, N>& texts) {
    const char* separator = "";
    for (const Text& text : texts) {
        out << separator << text;
        separator = ",";
    }
    out << '\n';
}

template <std::size_t N>
Json RowJson(const std::array<std::string_view, N>& columns,
             const std::array<std::string, N>& texts) {
    Json row = Json::object();
    for (std::size_t i = 0; i < N; ++i) row[std::string(columns[i])] = texts[i];
    return row;
}

}  // namespace companion
