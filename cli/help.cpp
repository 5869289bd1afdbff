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

struct Names {
    std::vector<std::string> options;   // every long option name: "--latitude"
    std::vector<std::string> valued;    // those that take a value
    std::vector<std::string> commands;  // "year", "sky"
};

// The names of the app and its commands.
void NamesOf(const CLI::App& app, Names& names) {
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames()) {
            names.options.push_back("--" + name);
            if (option->get_type_size() != 0) names.valued.push_back("--" + name);
        }
    }
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        names.commands.push_back(command->get_name());
        NamesOf(*command, names);
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
    Names names;
    NamesOf(app, names);
    const auto among = [](std::string_view name, const std::vector<std::string>& list) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view word(argv[i]);
        const bool option = word.rfind("--", 0) == 0;
        const std::string_view name = option ? word.substr(0, word.find('=')) : word;
        const std::vector<std::string>& known = option ? names.options : names.commands;
        if (among(name, known)) continue;
        // A plain word after an option that takes a value is that value; otherwise only a word
        // of letters is taken for a mistyped command.
        if (!option &&
            (among(argv[i - 1], names.valued) || !std::all_of(name.begin(), name.end(), [](char c) {
                 return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
             }))) {
            continue;
        }
        if (const std::string nearest = Nearest(name, known); !nearest.empty()) {
            return "did you mean " + nearest + "?";
        }
    }
    return "";
}

}  // namespace companion
