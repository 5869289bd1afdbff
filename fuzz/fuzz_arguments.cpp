// Any bytes as a command line, its arguments split at NUL bytes: a status of 0, 1 or 2, and a
// reason on the errors for every status but 0.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/companion.h"

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
    if (status != 0 && err.str().empty() && out.str().find("fault") == std::string::npos) {
        std::abort();  // a failure without its reason (a JSON fault says it on the output)
    }
    return 0;
}
