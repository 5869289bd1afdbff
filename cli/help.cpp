#include "help.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace companion {
namespace {

// The least number of letters to insert, delete or change to turn one word into the other.
std::size_t Edits(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Every long option name ("--latitude") and every command name of the app and its commands.
void NamesOf(const CLI::App& app, std::vector<std::string>& options,
             std::vector<std::string>& commands) {
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames()) options.push_back("--" + name);
    }
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        commands.push_back(command->get_name());
        NamesOf(*command, options, commands);
    }
}

// The name within two edits of the word and nearest to it, or none.
std::string Nearest(std::string_view word, const std::vector<std::string>& names) {
    std::string best;
    std::size_t fewest = 3;
    for (const std::string& name : names) {
        const std::size_t edits = Edits(word, name);
        if (edits > 0 && edits < fewest) fewest = edits, best = name;
    }
    return best;
}

}  // namespace

std::string Help::make_option_opts(const CLI::Option* option) const {
    if (option->get_type_size() == 0) return "";
    std::string text = " " + option->get_type_name();
    if (!option->get_default_str().empty()) text += " (" + option->get_default_str() + ")";
    return text;
}

std::string Suggestion(const CLI::App& app, int argc, const char* const* argv) {
    std::vector<std::string> options, commands;
    NamesOf(app, options, commands);
    for (int i = 1; i < argc; ++i) {
        const std::string_view word(argv[i]);
        const bool option = word.rfind("--", 0) == 0;
        const std::string_view name = option ? word.substr(0, word.find('=')) : word;
        const std::vector<std::string>& known = option ? options : commands;
        if (std::find(known.begin(), known.end(), name) != known.end()) continue;
        // A plain word is a value more often than a command: only letters are taken for one.
        if (!option && !std::all_of(name.begin(), name.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            })) {
            continue;
        }
        if (const std::string nearest = Nearest(name, known); !nearest.empty()) {
            return "did you mean " + nearest + "?";
        }
    }
    return "";
}

}  // namespace companion
