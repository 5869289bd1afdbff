// Any bytes as a batch's input: one answer line for every non-blank line, each one of the three
// shapes (results, a problem with its hint and values to try, an error; the first two with notes
// where a value was not read whole), and status 2 exactly when an error line appears.
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/companion.h"

namespace {

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

// Whether every member of an object or array is a string.
bool AllStrings(const nlohmann::ordered_json& json) {
    for (const auto& item : json) {
        if (!item.is_string()) return false;
    }
    return true;
}

// Which of the answer shapes the line has: 'r', 's' or 'e'; or 0.
char ShapeOf(const std::string& line) {
    const auto json = nlohmann::ordered_json::parse(line, nullptr, false);
    if (!json.is_object()) return 0;
    std::string keys;
    for (const auto& item : json.items()) {
        const bool inner = item.key() == "try" || item.key() == "notes";
        const bool fits =
            inner ? (item.key() == "try" ? item.value().is_object() : item.value().is_array()) &&
                        AllStrings(item.value())
                  : item.value().is_string();
        if (!fits) return 0;
        keys += item.key() + ",";
    }
    if (keys == "min,max,day,night,full," || keys == "min,max,day,night,full,notes,") return 'r';
    if (keys == "fault,message,hint,try," || keys == "fault,message,hint,try,notes,") return 's';
    if (keys == "error,") return 'e';
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    std::ostringstream out, err;
    const char* argv[] = {"daylight-cli", "--batch"};
    const int status = companion::Run(2, argv, in, out, err);

    std::istringstream lines(input), answers(out.str());
    std::string line, answer;
    bool errors = false;
    while (std::getline(lines, line)) {
        if (IsBlank(line)) continue;
        if (!std::getline(answers, answer)) std::abort();  // a line without its answer
        const char shape = ShapeOf(answer);
        if (shape == 0) std::abort();
        errors = errors || shape == 'e';
    }
    if (std::getline(answers, answer)) std::abort();  // an answer without its line
    if (status != (errors ? 2 : 0) || !err.str().empty()) std::abort();
    return 0;
}
