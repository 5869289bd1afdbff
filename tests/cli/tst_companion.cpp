// The companion: options, output forms, exit statuses and batch behaviour, and the golden file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/companion.h"

namespace {

using Json = nlohmann::ordered_json;
using testing::ElementsAre;
using testing::HasSubstr;

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

Invocation Companion(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), "daylight-cli");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = companion::Run(static_cast<int>(argv.size()), argv.data(), in, out, err);
    return {status, out.str(), err.str()};
}

TEST(Companion, StartValuesPrintFiveCaptionedLines) {
    const Invocation run = Companion({});
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.Lines(), ElementsAre("Min Day: 9.35208417825225", "Max Day: 14.6479158217478",
                                         "Daylight: 9.35208417825225", "Night: 14.6479158217478",
                                         "Full Daylight:"));
    EXPECT_EQ(run.err, "");
}

TEST(Companion, OptionsAreReadAsTheWindowReadsItsBoxes) {
    const Invocation run =
        Companion({"--latitude", " 7 0 ", "--solar-day=24.0abc", "--year", "365.25"});
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.Lines(), ElementsAre("Min Day: 0", "Max Day: 24",
                                         "Daylight:", "Night:", "Full Daylight: 67.302500920951"));
}

TEST(Companion, NegativeValuesNeedNoEqualsSign) {
    const Invocation run =
        Companion({"--latitude", "-38", "--tilt", "23.5", "--from-solstice", "0"});
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.out, HasSubstr("Min Day: 14.6479158217478"));
}

TEST(Companion, JsonPrintsOneObject) {
    const Invocation run = Companion({"--json", "--latitude=0"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, R"({"min":"12","max":"12","day":"12","night":"12","full":""})"
                       "\n");
}

struct FaultRun {
    const char* name;
    std::vector<std::string> args;
    const char* kind;
    const char* message;
};

std::ostream& operator<<(std::ostream& os, const FaultRun& c) { return os << c.name; }

const FaultRun kFaultRuns[] = {
    {"DivisionByZero", {"--latitude", "66.5"}, "division-by-zero", "Division by zero"},
    {"InvalidArgument", {"--latitude=-80"}, "invalid-argument", "Invalid argument"},
    {"Overflow", {"--year", "1e400"}, "overflow", "Overflow"},
    {"InvalidOperation",
     {"--tilt", "90", "--latitude", "0"},
     "invalid-operation",
     "Invalid operation"},
};

class Faults : public testing::TestWithParam<FaultRun> {};

TEST_P(Faults, GoToStandardErrorWithStatusOne) {
    const Invocation run = Companion(GetParam().args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "daylight-cli: " + std::string(GetParam().message) + "\n");
}

TEST_P(Faults, InJsonNameTheirKind) {
    std::vector<std::string> args = GetParam().args;
    args.push_back("--json");
    const Invocation run = Companion(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              Json({{"fault", GetParam().kind}, {"message", GetParam().message}}).dump() + "\n");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Faults, testing::ValuesIn(kFaultRuns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Companion, HelpListsOptionsAndDefaults) {
    const Invocation run = Companion({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* text : {"--tilt", "23.5", "--latitude", "38", "--solar-day", "24",
                             "--from-solstice", "--year", "365.25", "--json", "--batch"}) {
        EXPECT_THAT(run.out, HasSubstr(text));
    }
}

TEST(Companion, UnusableCommandLinesExitTwo) {
    EXPECT_EQ(Companion({"--bogus"}).status, 2);
    EXPECT_EQ(Companion({"--tilt"}).status, 2);
    EXPECT_EQ(Companion({"--batch", "--json"}).status, 2);
    EXPECT_EQ(Companion({"--batch", "--tilt", "10"}).status, 2) << "batch lines carry the values";
}

TEST(Batch, OneOutputLinePerNonBlankInputLineWithErrorsInPlace) {
    const std::string input =
        "{}\n"
        "\n"
        "{\"latitude\": \"66.5\"}\n"
        "not json\n"
        "   \t\r\n"
        "[\"tilt\"]\n"
        "{\"tilt\": 10}\n"
        "{\"colour\": \"red\"}\n"
        "{\"latitude\": \"70\", \"year\": \"1\"}\r\n"
        "{\"tilt\": \"0\"}";
    const Invocation run = Companion({"--batch"}, input);
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(
        run.Lines(),
        ElementsAre(
            R"({"min":"9.35208417825225","max":"14.6479158217478","day":"9.35208417825225","night":"14.6479158217478","full":""})",
            R"({"fault":"division-by-zero","message":"Division by zero"})",
            R"({"error":"line 4: not valid JSON"})", R"({"error":"line 6: not a JSON object"})",
            R"({"error":"line 7: field \"tilt\" is not a string"})",
            R"({"error":"line 8: unknown field \"colour\""})",
            R"({"min":"0","max":"24","day":"","night":"","full":"0.184264205122385"})",
            R"({"min":"12","max":"12","day":"12","night":"12","full":""})"));
}

TEST(Batch, FaultsAloneKeepStatusZero) {
    const Invocation run = Companion({"--batch"}, "{\"latitude\": \"-80\"}\n{}\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.Lines().size(), 2u);
}

TEST(Batch, InvalidBytesNeverBreakTheOutput) {
    const Invocation run = Companion({"--batch"}, "\xff\xfe{\n{\"tilt\": \"\xc3\x28\"}\n\x00\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.Lines().size(), 2u);
    for (const std::string& line : run.Lines()) EXPECT_TRUE(Json::accept(line)) << line;
}

TEST(Batch, EmptyInputGivesNoOutput) {
    const Invocation run = Companion({"--batch"}, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

// The golden file: the window replays the same cases.
TEST(Golden, BatchReplaysTheGoldenFile) {
    std::ifstream golden(DAYLIGHT_GOLDEN_FILE);
    ASSERT_TRUE(golden) << DAYLIGHT_GOLDEN_FILE;
    std::string input;
    std::vector<std::string> expected;
    for (std::string line; std::getline(golden, line);) {
        const Json c = Json::parse(line);
        input += c["input"].dump() + "\n";
        expected.push_back(c["output"].dump());
    }
    ASSERT_GT(expected.size(), 10u);
    const Invocation run = Companion({"--batch"}, input);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.Lines(), expected);
}

TEST(Executable, ExitStatusesReachTheShell) {
    const std::string cli = DAYLIGHT_CLI_PATH;
    EXPECT_EQ(std::system((cli + " >/dev/null").c_str()), 0);
    EXPECT_EQ(WEXITSTATUS(std::system((cli + " --latitude 66.5 2>/dev/null").c_str())), 1);
    EXPECT_EQ(WEXITSTATUS(std::system(("echo x | " + cli + " --batch >/dev/null").c_str())), 2);
}

}  // namespace
