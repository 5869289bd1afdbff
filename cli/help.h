// How the companion's help reads, and what it suggests for a mistyped option or command.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace companion {

// Each option with the kind of value it takes (NUMBER, NAME, FILE) and its default, without
// CLI11's lists of the options it needs or excludes: the descriptions say so where it matters.
class Help : public CLI::Formatter {
  public:
    Help() { column_width(34); }
    std::string make_option_opts(const CLI::Option* option) const override;
};

// For the words of a command line that are no option or command of the app: "did you mean
// --latitude?" for the nearest name within two edits, or nothing.
std::string Suggestion(const CLI::App& app, int argc, const char* const* argv);

}  // namespace companion
