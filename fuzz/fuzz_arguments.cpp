// Any bytes as a command line, its arguments split at NUL bytes: a status of 0, 1 or 2, a reason
// on the errors for every status but 0, and never a status of 0 where two commands were given,
// one of which cannot have been done.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/companion.h"

namespace {

// How many words of the command line are commands: "year" or "sky" where they are not the
// value of the option before them.
int Commands(const std::vector<std::string>& args) {
    const auto takesValue = [](const std::string& a) {
        for (const char* flag : {"--json", "--batch", "--csv", "--map", "--help", "--version"}) {
            if (a == flag) return false;
        }
        return a.rfind("--", 0) == 0 && a.find('=') == std::string::npos;
    };
    int commands = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if ((args[i] == "year" || args[i] == "sky") && !takesValue(args[i - 1])) ++commands;
    }
    return commands;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args = {"daylight-cli"};
    std::string arg;
    for (std::size_t i = 0; i < size && args.size() < 16; ++i) {
        if (data[i] == 0) {
            args.push_back(arg);
            arg.clear();
        } else {
            arg.push_back(char(data[i]));
        }
    }
    if (!arg.empty()) args.push_back(arg);
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream in("{}\n");
    std::ostringstream out, err;
    const int status = companion::Run(int(argv.size()), argv.data(), in, out, err);
    if (status < 0 || status > 2) std::abort();
    // A command silently not done; help or the version asked for anywhere is what is done.
    const bool help = out.str().find("Usage: daylight-cli") != std::string::npos ||
                      out.str().rfind("daylight-cli ", 0) == 0;
    if (status == 0 && !help && Commands(args) > 1) std::abort();
    if (status != 0 && err.str().empty() && out.str().find("fault") == std::string::npos) {
        std::abort();  // a failure without its reason (a JSON fault says it on the output)
    }
    return 0;
}
