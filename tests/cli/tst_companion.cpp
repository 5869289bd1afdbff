// The companion: options, faults, exit statuses, errors, planets, the executable and the golden
// file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../../cli/batch.h"
#include "../../cli/chart_program.h"
#include "../../cli/places.h"
#include "chart/charts.h"
#include "cli/companion.h"
#include "companion_test.h"

namespace {

using namespace companion_test;
using testing::ElementsAre;
using testing::HasSubstr;

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
    EXPECT_THAT(run.err, testing::StartsWith("daylight-cli: " + std::string(GetParam().message) +
                                             "\ndaylight-cli: hint: "));
}

TEST_P(Faults, InJsonNameTheirKind) {
    std::vector<std::string> args = GetParam().args;
    args.push_back("--json");
    const Invocation run = Companion(args);
    EXPECT_EQ(run.status, 1);
    Json object = Json::parse(run.out);
    EXPECT_FALSE(object["hint"].get<std::string>().empty());
    EXPECT_TRUE(object["try"].is_object());
    object.erase("hint");  // the core's hints and tries have their own table
    object.erase("try");
    EXPECT_EQ(object, Json({{"fault", GetParam().kind}, {"message", GetParam().message}}));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Faults, testing::ValuesIn(kFaultRuns),
                         [](const auto& info) { return std::string(info.param.name); });

// Help names the kind of each value, not what each option excludes; a mistyped option or command
// gets the nearest name (the expected outputs hold the whole texts).
TEST(Companion, HelpSaysWhatGoesWhereAndSuggestsTheNearestName) {
    for (const std::vector<std::string>& help :
         {std::vector<std::string>{"--help"}, {"year", "--help"}, {"sky", "--help"}}) {
        const Invocation run = Companion(help);
        EXPECT_EQ(run.status, 0);
        EXPECT_THAT(run.out, HasSubstr("--tilt NUMBER (23.5)"));
        EXPECT_THAT(run.out, testing::Not(HasSubstr("Excludes")));
        EXPECT_THAT(run.out, testing::Not(HasSubstr("Needs")));
    }
    const std::pair<std::vector<std::string>, const char*> typos[] = {
        {{"--latitue", "5"}, "did you mean --latitude?"},
        {{"sky", "--horizn", "3"}, "did you mean --horizon?"},
        {{"yaer"}, "did you mean year?"},
        {{"--latitude", "5", "7"}, nullptr},
        {{"--planet", "yeah"}, nullptr},
        {{"--latitude", "5", "places", "Oslo"}, nullptr},
    };
    for (const auto& [args, suggestion] : typos) {
        const Invocation run = Companion(args);
        EXPECT_EQ(run.status, 2);
        if (suggestion) {
            EXPECT_THAT(run.err,
                        testing::EndsWith("daylight-cli: " + std::string(suggestion) + "\n"));
        } else {
            EXPECT_THAT(run.err, testing::Not(HasSubstr("did you mean")));
        }
    }
}

TEST(Companion, UnusableCommandLinesExitTwo) {
    EXPECT_EQ(Companion({"--bogus"}).status, 2);
    EXPECT_EQ(Companion({"--tilt"}).status, 2);
    EXPECT_EQ(Companion({"--batch", "--json"}).status, 2);
    EXPECT_EQ(Companion({"--batch", "--tilt", "10"}).status, 2) << "batch lines carry the values";
    const Invocation forgotten = Companion({"--latitude", "--json"});
    EXPECT_EQ(forgotten.status, 2) << "a value that is the next option";
    EXPECT_THAT(forgotten.err, HasSubstr("--json is the next option"));
    EXPECT_EQ(Companion({"year", "--tilt", "--step", "1"}).status, 2);
    EXPECT_EQ(Companion({"--latitude", ""}).status, 0) << "an empty value reads 0";
}

// What marks or sizes a chart is said to do nothing without one, on the errors and in the JSON's
// notes; the table is as without it.
TEST(Errors, AChartsOptionWithoutAChartIsSaidToDoNothing) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"year", "--mark", "30"},
          {"sky", "--map", "--step", "100", "--latitude-step", "90", "--mark-latitude", "60"},
          {"sky", "--date", "2026-06-01", "--chart-width", "400"}}) {
        const std::string option = args[args.size() - 2];
        std::vector<std::string> without = args;
        without.resize(args.size() - 2);
        const Invocation run = Companion(args);
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.out, Companion(without).out) << option;
        EXPECT_EQ(run.err, "daylight-cli: note: " + option +
                               " is for a chart: without --chart it does nothing\n");
    }
    std::vector<std::string> json = {"year", "--mark", "30", "--json", "--step", "90"};
    EXPECT_EQ(Json::parse(Companion(json).out)["notes"][0],
              "--mark is for a chart: without --chart it does nothing");
}

// What was typed reaches the terminal without its control characters, in our messages (quoted)
// and in the option parser's (written out).
TEST(Errors, NoControlCharacterTypedReachesTheTerminal) {
    const struct {
        std::vector<std::string> args;
        const char* said;
    } cases[] = {
        {{"--planet", "x\n\x1b]0;title\a"},
         R"(unknown planet 'x'$'\n'''$'\033'']0;title'$'\007''')"},
        {{"sky", "--planet", "\x1b[2J"}, R"(unknown planet ''$'\033''[2J')"},
        {{"\x1b]0;title\a"}, R"(not expected: \033]0;title\007)"},
    };
    for (const auto& c : cases) {
        const Invocation run = Companion(c.args);
        EXPECT_EQ(run.status, 2) << c.said;
        EXPECT_THAT(run.err, HasSubstr(c.said));
        EXPECT_EQ(run.err.find_first_of("\x1b\a"), std::string::npos) << run.err;
    }
}

// The golden file: the window replays the same cases. A fault's line adds its hint.
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
    std::vector<std::string> lines;
    for (const std::string& line : run.Lines()) {
        Json object = Json::parse(line);
        if (object.contains("fault") && !object["hint"].get<std::string>().empty()) {
            object.erase("hint");  // hints and tries have their own table
            object.erase("try");
        }
        object.erase("notes");  // so do the notes on values not read whole
        lines.push_back(object.dump());
    }
    EXPECT_EQ(lines, expected);
}

// What a shell command prints on its standard output.
std::string Shell(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(("bash -c '" + command + "'").c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
        pclose(pipe);
    }
    return text;
}

// Every mode checks that its output went out: a full disk is status 3, with the reason.
TEST(Executable, NoModeClaimsOutputThatWasNotWritten) {
    const std::string cli = DAYLIGHT_CLI_PATH;
    for (const char* args :
         {"--latitude 10", "--json", "year", "year --json --step 0.01", "--help", "--batch"}) {
        const std::string errors =
            Shell("echo {} | " + cli + " " + args + " 2>&1 >/dev/full; echo status $?");
        EXPECT_EQ(errors,
                  "daylight-cli: could not write the output: No space left on device\n"
                  "status 3\n")
            << args;
    }
    EXPECT_EQ(Shell(cli + " --batch </tmp 2>&1; echo status $?"),
              "daylight-cli: could not read the input: Is a directory\nstatus 4\n");
}

// A reader that goes away: with SIGPIPE ignored the batch stops at once with status 3; with
// SIGPIPE as it comes, the quiet end by the signal stays.
TEST(Executable, ABatchWhoseReaderHasGoneStops) {
    const std::string cli = DAYLIGHT_CLI_PATH;
    const std::string batch = "yes {} | head -n 2000000 | " + cli + " --batch 2>/dev/null";
    EXPECT_EQ(Shell("trap \"\" PIPE; " + batch + " | head -n 1 >/dev/null; echo ${PIPESTATUS[2]}"),
              "3\n");
    EXPECT_EQ(Shell(batch + " | head -n 1 >/dev/null; echo ${PIPESTATUS[2]}"), "141\n");
}

// A co-process writes a line, waits for its answer, then writes the next.
TEST(Executable, ACoProcessGetsEachAnswerBeforeItsNextLine) {
    const std::string cli = DAYLIGHT_CLI_PATH;
    const std::string answers =
        Shell("coproc C { " + cli +
              " --batch; }; "
              "for lat in 0 70; do echo \"{\\\"latitude\\\":\\\"$lat\\\"}\" >&${C[1]}; "
              "read -t 5 -r line <&${C[0]} && echo \"$line\"; done");
    EXPECT_EQ(answers,
              "{\"min\":\"12\",\"max\":\"12\",\"day\":\"12\",\"night\":\"12\",\"full\":\"\"}\n"
              "{\"min\":\"0\",\"max\":\"24\",\"day\":\"\",\"night\":\"\",\"full\":"
              "\"67.302500920951\"}\n");
}

TEST(Executable, ExitStatusesReachTheShell) {
    const std::string cli = DAYLIGHT_CLI_PATH;
    EXPECT_EQ(std::system((cli + " >/dev/null").c_str()), 0);
    EXPECT_EQ(WEXITSTATUS(std::system((cli + " --latitude 66.5 2>/dev/null").c_str())), 1);
    EXPECT_EQ(WEXITSTATUS(std::system(("echo x | " + cli + " --batch >/dev/null").c_str())), 2);
}

// A planet gives what the options would; an option given as well takes its place.
TEST(Planets, EveryModeTakesThePlanetAndOptionsGivenOverrideIt) {
    const auto mars = [](std::vector<std::string> args, const char* tilt = "25.19") {
        for (const char* value : {"--tilt", tilt, "--solar-day", "24.6597", "--year", "668.6"}) {
            args.push_back(value);
        }
        return args;
    };
    const std::pair<std::vector<std::string>, std::vector<std::string>> same[] = {
        {{"--planet", "mars", "--latitude", "50"}, mars({"--latitude", "50"})},
        {{"--planet", "mars", "--tilt", "10"}, mars({}, "10")},
        {{"year", "--planet", "mars", "--step", "30"}, mars({"year", "--step", "30"})},
        {{"sky", "--planet", "mars", "--step", "50"},
         mars({"sky", "--step", "50", "--eccentricity", "0.0934", "--perihelion", "341",
               "--distance", "1.524", "--refraction", "0", "--declination-term", "0.25"})},
        {{"sky", "--planet", "mars", "--eccentricity", "0", "--refraction", "34", "--step", "50"},
         mars({"sky", "--step", "50", "--perihelion", "341", "--distance", "1.524",
               "--declination-term", "0.25"})},
    };
    for (const auto& [planet, spelled] : same) {
        const Invocation a = Companion(planet), b = Companion(spelled);
        EXPECT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(a.out, b.out) << planet[0];
    }
    const Invocation batch = Companion(
        {"--batch"}, R"({"planet":"mars","latitude":"70"})"
                     "\n"
                     R"({"tilt":"25.19","solar_day":"24.6597","year":"668.6","latitude":"70"})"
                     "\n"
                     R"({"tilt":"10","planet":"mars"})"
                     "\n"
                     R"({"tilt":"10","solar_day":"24.6597","year":"668.6"})"
                     "\n"
                     R"({"planet":"vulcan"})"
                     "\n"
                     R"({"planet":3})"
                     "\n");
    const std::vector<std::string> lines = batch.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_EQ(lines[2], lines[3]);
    EXPECT_EQ(lines[4], R"({"error":"line 5: unknown planet \"vulcan\""})");
    EXPECT_EQ(lines[5], R"({"error":"line 6: field \"planet\" is not a string"})");
    EXPECT_EQ(batch.status, 2);
}

}  // namespace
