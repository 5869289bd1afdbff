// The value options that fill the five inputs, the same on every command, and the commands'
// own numbers, read strictly.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "daylight/daylight.h"
#include "daylight/ranges.h"
#include "quoted.h"

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
                return "the value is missing: " + Quoted(value) + " is the next option";
            },
            "");
}

// Whether the text is written as a decimal number, -12.5e3, whether or not a double holds it.
inline bool IsDecimalForm(const std::string& text) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t first = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at - first;
    };
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    std::size_t mantissa = digits();
    if (at < text.size() && text[at] == '.') ++at, mantissa += digits();
    if (mantissa == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
        if (digits() == 0) return false;
    }
    return at == text.size();
}

// Offers an option whose value is a number read strictly (rt::StrictNumber), as every option
// but the five inputs is, into `value`; its starting value is shown as the default.
inline CLI::Option* AddNumberOption(CLI::App& app, const std::string& name, double& value,
                                    const std::string& help) {
    return app
        .add_option_function<std::string>(
            name, [&value](const std::string& text) { value = *rt::StrictNumber(text); }, help)
        ->default_str(rt::TextFromDouble(value))
        ->type_name("NUMBER")
        ->check([](const std::string& text) -> std::string {
            if (rt::StrictNumber(text)) return "";
            if (IsDecimalForm(text)) return Quoted(text) + " is too large a number to read";
            return "not a decimal number: " + Quoted(text);
        });
}

// A number option that must also be within its range, which says why not.
inline CLI::Option* AddNumberWithin(CLI::App& app, const std::string& name, double& value,
                                    const std::string& help, const daycalc::ValueRange& range) {
    return AddNumberOption(app, name, value, help)
        ->check([&range](const std::string& text) -> std::string {
            const std::optional<double> number = rt::StrictNumber(text);
            if (!number || range.Holds(*number)) return "";
            return std::string(range.reason);
        });
}

}  // namespace companion
