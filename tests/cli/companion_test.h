// What the companion's tests share: a run of the companion in the test's own process, and a
// folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/companion.h"

namespace companion_test {

using Json = nlohmann::ordered_json;

struct Invocation {
    int status;
    std::string out;
    std::string err;

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream stream(out);
        for (std::string line; std::getline(stream, line);) lines.push_back(line);
        return lines;
    }
};

// A folder of the test's own under the temporary one, removed with all it holds at the end.
class Scratch {
  public:
    Scratch() {
        std::string name = testing::TempDir() + "daylight-test-XXXXXX";
        path_ = mkdtemp(name.data()) ? name + "/" : "";
    }
    ~Scratch() {
        if (!path_.empty()) std::filesystem::remove_all(path_);
    }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

inline Invocation Companion(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), "daylight-cli");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = companion::Run(static_cast<int>(argv.size()), argv.data(), in, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace companion_test
