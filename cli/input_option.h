// The value options that fill the five inputs, the same on every command, and the strict
// reading of the commands' own numbers.
#pragma once

#include <CLI/CLI.hpp>
#include <charconv>
#include <optional>
#include <string>

#include "daylight/daylight.h"

namespace companion {

// Offers the input's option with its starting text as default. A value that starts with "--" is
// refused: it is the next option, forgotten value before it ("--latitude --json").
inline CLI::Option* AddInputOption(CLI::App& app, const daycalc::InputField& field,
                                   daycalc::DaylightInputs& inputs) {
    return app.add_option(std::string(field.option), inputs.*(field.text), std::string(field.help))
        ->capture_default_str()
        ->type_name("NUMBER")
        ->check(
            [](const std::string& value) -> std::string {
                if (value.rfind("--", 0) != 0) return "";
                return "the value is missing: " + value + " is the next option";
            },
            "");
}

// An option's number: the whole text one number as from_chars reads it, or none.
inline std::optional<double> ExactNumber(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto read = std::from_chars(text.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end) return std::nullopt;
    return value;
}

}  // namespace companion
