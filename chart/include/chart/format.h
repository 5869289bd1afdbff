// The chart's file formats, chosen by the ending of the file's name. Needs no Qt, so that the
// companion can refuse a bad name before it computes anything.
#pragma once

#include <optional>
#include <string_view>

namespace chart {

enum class Format { Svg, Png };

// .svg or .png, in any case; or none.
constexpr std::optional<Format> FormatOf(std::string_view path) {
    const auto endsWith = [path](std::string_view ending) {
        if (path.size() < ending.size()) return false;
        const std::string_view tail = path.substr(path.size() - ending.size());
        for (std::size_t i = 0; i < tail.size(); ++i) {
            const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? char(tail[i] - 'A' + 'a') : tail[i];
            if (c != ending[i]) return false;
        }
        return true;
    };
    if (endsWith(".svg")) return Format::Svg;
    if (endsWith(".png")) return Format::Png;
    return std::nullopt;
}

}  // namespace chart
