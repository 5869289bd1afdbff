// The value options that fill the five inputs, the same on every command.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "daylight/daylight.h"

namespace companion {

// Offers the input's option with its starting text as default. A value that starts with "--" is
// refused: it is the next option, forgotten value before it ("--latitude --json").
inline CLI::Option* AddInputOption(CLI::App& app, const daycalc::InputField& field,
                                   daycalc::DaylightInputs& inputs) {
    return app.add_option(std::string(field.option), inputs.*(field.text), std::string(field.help))
        ->capture_default_str()
        ->check(
            [](const std::string& value) -> std::string {
                if (value.rfind("--", 0) != 0) return "";
                return "the value is missing: " + value + " is the next option";
            },
            "");
}

}  // namespace companion
