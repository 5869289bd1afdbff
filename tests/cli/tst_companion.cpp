// The companion: options, output forms, exit statuses and batch behaviour, and the golden file.
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

Invocation Companion(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), "daylight-cli");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = companion::Run(static_cast<int>(argv.size()), argv.data(), in, out, err);
    return {status, out.str(), err.str()};
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

TEST(Batch, OneOutputLinePerNonBlankInputLineWithErrorsInPlace) {
    const std::string input =
        "{}\n"
        "\n"
        "{\"latitude\": \"66.5\"}\n"
        "not json\n"
        "   \t\r\n"
        "[\"tilt\"]\n"
        "{\"tilt\": true}\n"
        "{\"colour\": \"red\"}\n"
        "{\"latitude\": \"70\", \"year\": \"1\"}\r\n"
        "{\"tilt\": \"0\"}";
    const Invocation run = Companion({"--batch"}, input);
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(
        run.Lines(),
        ElementsAre(
            R"({"min":"9.35208417825225","max":"14.6479158217478","day":"9.35208417825225","night":"14.6479158217478","full":""})",
            R"({"fault":"division-by-zero","message":"Division by zero","hint":"Latitude 66.5 lies exactly on the polar circle of a tilt of 23.5, where the calculation has no value. Move the Latitude a little off the circle, or change the Tilt. Try Latitude 66.4.","try":{"latitude":"66.4"}})",
            R"({"error":"line 4: not valid JSON"})", R"({"error":"line 6: not a JSON object"})",
            R"({"error":"line 7: field \"tilt\" is not a string or a number"})",
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

// Lines that look like objects but are not what they seem are error lines, and a line of any
// length is answered without being kept.
TEST(Batch, LinesAreBoundedAndExact) {
    const std::string longKey(100'000, 'k');
    const std::string input = std::string("{\"latitude\":\"70\"}") + '\0' + " anything\n" +
                              "{\"tilt\":\"10\",\"tilt\":\"20\"}\n" + "{\"" + longKey +
                              "\":\"1\"}\n" + std::string(companion::kLongestBatchLine + 1, ' ') +
                              "\n{\"latitude\":\"0\"}\n" + std::string(3 << 20, '[');
    const Invocation run = Companion({"--batch"}, input);
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(
        run.Lines(),
        ElementsAre(R"({"error":"line 1: holds a NUL byte"})",
                    R"({"error":"line 2: field \"tilt\" given twice"})",
                    R"({"error":"line 3: unknown field \")" + longKey.substr(0, 40) + R"(...\""})",
                    R"({"error":"line 4: longer than 1048576 bytes"})",
                    R"({"min":"12","max":"12","day":"12","night":"12","full":""})",
                    R"({"error":"line 6: longer than 1048576 bytes"})"));
}

// A field's value may nest 64 levels below the line's object, and no more: the 64th is read (and
// refused as no number), the 65th is not read at all.
TEST(Batch, NestingStopsAfter64Levels) {
    const auto nested = [](int levels) {
        return "{\"tilt\":" + std::string(levels, '[') + std::string(levels, ']') + "}\n";
    };
    const Invocation run = Companion({"--batch"}, nested(64) + nested(65));
    EXPECT_THAT(run.Lines(),
                ElementsAre(R"({"error":"line 1: field \"tilt\" is not a string or a number"})",
                            R"({"error":"line 2: nested deeper than 64 levels"})"));
}

// The same inputs, whichever way a line is read: the plain objects read without the JSON
// library, and lines with escapes, spaces or other bytes read with it.
// A line of exactly the longest length is answered, also with a CR before its line feed, and one
// byte more is refused.
TEST(Batch, TheLongestLineIsAnsweredAndOneByteMoreIsNot) {
    const auto padded = [](std::size_t length) {
        const std::string object = R"({"latitude":"0"})";
        return object.substr(0, object.size() - 1) + std::string(length - object.size(), ' ') + "}";
    };
    const std::string longest = padded(companion::kLongestBatchLine);
    const Invocation run = Companion(
        {"--batch"}, longest + "\n" + longest + "\r\n" + padded(companion::kLongestBatchLine + 1) +
                         "\n" + padded(companion::kLongestBatchLine + 1) + "\r\n");
    EXPECT_THAT(run.Lines(),
                ElementsAre(R"({"min":"12","max":"12","day":"12","night":"12","full":""})",
                            R"({"min":"12","max":"12","day":"12","night":"12","full":""})",
                            R"({"error":"line 3: longer than 1048576 bytes"})",
                            R"({"error":"line 4: longer than 1048576 bytes"})"));
}

TEST(Batch, EveryWayOfWritingALineGivesTheSameAnswer) {
    const std::string plain = R"({"tilt":"25.19","latitude":"-41.5","from_solstice":"250"})";
    const Invocation run =
        Companion({"--batch"}, plain + "\n" +
                                   R"( { "tilt" : "25.19" , "latitude":"-41.5","from_solstice":)"
                                   R"("250" } )" +
                                   "\n" +
                                   R"({"tilt":"25.19","latitude":"-41.5","from_sol)"
                                   R"(stice":"2\u0035\u0030"})" +
                                   "\n");
    ASSERT_EQ(run.Lines().size(), 3u);
    EXPECT_EQ(run.Lines()[1], run.Lines()[0]);
    EXPECT_EQ(run.Lines()[2], run.Lines()[0]);
}

// A value may be a JSON number, read from its text as the same text in a string is; a value not
// read whole gets a note on its line, and only there.
TEST(Batch, NumbersReadAsTheirTextAndNotesOnlyWhereSomethingWasLeftOver) {
    const std::pair<const char*, const char*> same[] = {
        {R"({"latitude": 38, "tilt": 23.50})", R"({"latitude": "38", "tilt": "23.50"})"},
        {R"({"year": 1e400, "latitude": 70})", R"({"year": "1e400", "latitude": "70"})"},
        {R"({"latitude": -0.5E+2})", R"({"latitude": "-0.5E+2"})"},
        {R"({"planet": "MARS", "latitude": 70})", R"({"planet": "mars", "latitude": "70"})"},
    };
    for (const auto& [number, text] : same) {
        const Invocation a = Companion({"--batch"}, std::string(number) + "\n");
        EXPECT_EQ(a.out, Companion({"--batch"}, std::string(text) + "\n").out) << number;
        EXPECT_THAT(a.out, testing::Not(HasSubstr("error"))) << number;
    }
    const Invocation run = Companion({"--batch"}, R"({"latitude": "38S"})"
                                                  "\n"
                                                  R"({"latitude": "38"})"
                                                  "\n"
                                                  R"({"latitude": 038})"
                                                  "\n");
    EXPECT_THAT(run.Lines(),
                ElementsAre(R"({"min":"9.35208417825225","max":"14.6479158217478","day":)"
                            R"("9.35208417825225","night":"14.6479158217478","full":"",)"
                            R"("notes":["Latitude \"38S\" was read as 38"]})",
                            R"({"min":"9.35208417825225","max":"14.6479158217478","day":)"
                            R"("9.35208417825225","night":"14.6479158217478","full":""})",
                            R"({"error":"line 3: not valid JSON"})"));
}

// A stream buffer that takes so many bytes and then fails, as a full disk does.
class FullAfter : public std::streambuf {
  public:
    explicit FullAfter(std::size_t room) : room_(room) {}

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (written_ == room_) return traits_type::eof();
        ++written_;
        return c;
    }

  private:
    std::size_t room_, written_ = 0;
};

// An input that gives its text and then fails to read, as a folder given for a file does.
class FailsAfter : public std::streambuf {
  public:
    explicit FailsAfter(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

  protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

  private:
    std::string text_;
};

// An input that hands out its text a little at a time, as a pipe does.
class Trickle : public std::streambuf {
  public:
    explicit Trickle(std::string text) : text_(std::move(text)) {}
    std::size_t handed = 0;

  protected:
    int_type underflow() override {
        if (handed == text_.size()) return traits_type::eof();
        const std::size_t piece = std::min<std::size_t>(300, text_.size() - handed);
        char* start = text_.data() + handed;
        setg(start, start, start + piece);
        handed += piece;
        return traits_type::to_int_type(*start);
    }

  private:
    std::string text_;
};

TEST(Batch, StopsAtTheFirstAnswerItCannotWrite) {
    std::string lines;
    for (int i = 0; i < 10'000; ++i) lines += "{}\n";
    Trickle pipe(lines);
    std::istream in(&pipe);
    FullAfter disk(1000);
    std::ostream out(&disk);
    std::ostringstream err;
    const char* argv[] = {"daylight-cli", "--batch"};
    EXPECT_EQ(companion::Run(2, argv, in, out, err), 3);
    EXPECT_THAT(err.str(), testing::StartsWith("daylight-cli: could not write the output"));
    EXPECT_LT(pipe.handed, lines.size() / 2) << "it went on answering";
}

TEST(Batch, AReadErrorIsReportedAfterTheLinesAlreadyAnswered) {
    FailsAfter folder("{}\n{\"latitude\":\"0\"}\n");
    std::istream in(&folder);
    std::ostringstream out, err;
    const char* argv[] = {"daylight-cli", "--batch"};
    EXPECT_EQ(companion::Run(2, argv, in, out, err), 4);
    const std::string answers = out.str();
    EXPECT_EQ(std::count(answers.begin(), answers.end(), '\n'), 2);
    EXPECT_THAT(err.str(), testing::StartsWith("daylight-cli: could not read the input"));
}

TEST(Batch, EmptyInputGivesNoOutput) {
    const Invocation run = Companion({"--batch"}, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST(Year, UnusableCommandLinesExitTwo) {
    const std::vector<std::vector<std::string>> lines = {{"year", "--step", "0"},
                                                         {"year", "--step", "400"},
                                                         {"year", "--step", "abc"},
                                                         {"year", "--step", "nan"},
                                                         {"year", "--csv", "--json"},
                                                         {"year", "--from-solstice", "90"},
                                                         {"--from-solstice", "90", "year"},
                                                         {"--batch", "year"},
                                                         {"--json", "year"},
                                                         {"year", "--chart", "year.txt"},
                                                         {"year", "extra"},
                                                         {"year", "sky", "--json"},
                                                         {"sky", "--step", "100", "year"},
                                                         {"sky", "--step", "100", "sky"},
                                                         {"year", "year"}};
    for (const auto& line : lines) {
        const Invocation run = Companion(line);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(line);
        EXPECT_EQ(run.out, "") << testing::PrintToString(line);
    }
}

TEST(Year, HelpNamesTheOptions) {
    const Invocation run = Companion({"year", "--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* text : {"--tilt", "--latitude", "--solar-day", "--year", "--step", "--csv",
                             "--json", "--chart", "polar-day"}) {
        EXPECT_THAT(run.out, HasSubstr(text));
    }
    EXPECT_THAT(run.out, testing::Not(HasSubstr("--from-solstice")));
    EXPECT_EQ(run.out.find("FILE.png") != std::string::npos, DAYLIGHT_WITH_CHART)
        << "--chart takes .png exactly where PNG charts are built";
}

// The chart is drawn by a program of its own, found beside the companion's executable.
TEST(Year, ChartsAreWrittenOrTheReasonGiven) {
    const std::string cli = DAYLIGHT_CLI_PATH;
    const Scratch folder;
    for (const char* ending : {".svg", ".png"}) {
        if (std::string(ending) == ".png" && !DAYLIGHT_WITH_CHART) continue;
        const std::string path = folder / (std::string("daylight-chart") + ending);
        for (const char* command : {"year --latitude 70", "sky --planet mars --latitude 70",
                                    "sky --map --latitude-step 5 --step 10"}) {
            std::remove(path.c_str());
            const std::string line = cli + " " + command + " --chart " + path + " >/dev/null";
            EXPECT_EQ(std::system(line.c_str()), 0) << command;
            std::ifstream file(path, std::ios::binary);
            char signature[8] = {};
            file.read(signature, sizeof signature);
            EXPECT_EQ(std::string(signature, 8), ending == std::string(".svg")
                                                     ? std::string("<svg xml")
                                                     : std::string("\x89PNG\r\n\x1a\n", 8))
                << command;
        }
    }
    const std::string errors = folder / "daylight-year.err";
    const std::string bad = cli + " year --chart /nonexistent/dir/year.svg >/dev/null 2>" + errors;
    EXPECT_EQ(WEXITSTATUS(std::system(bad.c_str())), 2);
    std::ifstream reason(errors);
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(reason), {}),
                HasSubstr("daylight-cli: cannot write /nonexistent/dir/year.svg: "));
}

// A chart is drawn from the very rows the command prints: the year's is the figure the kit draws
// from the core's own table, and the sky's bands and the map's cells are there.
TEST(Charts, AreDrawnFromTheRowsPrinted) {
    const auto chartOf = [](std::vector<std::string> args) {
        args.insert(args.begin(), "daylight-cli");
        std::vector<const char*> argv;
        for (const auto& a : args) argv.push_back(a.c_str());
        std::istringstream in;
        std::ostringstream out, err;
        std::string svg;
        EXPECT_EQ(companion::Run(int(argv.size()), argv.data(), in, out, err,
                                 [&svg](const std::string&, const std::string& chart) {
                                     svg = chart;
                                     return std::string();
                                 }),
                  0);
        return svg;
    };
    const auto count = [](const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    };
    const daycalc::DaylightInputs seventy{.latitude = "70"};
    chart::YearChart year(std::get<daycalc::YearView>(daycalc::YearAsRead(seventy)));
    daycalc::ProduceYear(seventy, 1, year);
    EXPECT_EQ(chartOf({"year", "--latitude", "70", "--chart", "year.svg"}), year.Svg());
    EXPECT_EQ(count(chartOf({"sky", "--planet", "mars", "--chart", "sky.svg"}), "<polygon"), 4u);
    EXPECT_GT(count(chartOf({"sky", "--map", "--step", "10", "--chart", "map.svg"}), "crispEdges"),
              100u);
}

// A file name is quoted as the shell would read it back: a line feed or an escape in it neither
// splits the message nor reaches the terminal.
TEST(Year, AChartsNameIsQuotedInItsMessage) {
    const Scratch folder;
    const std::string cli = DAYLIGHT_CLI_PATH, errors = folder / "daylight-name.err";
    setenv("DAYLIGHT_CHART_NAME", "/nonexistent/a\nb\x1b[31m.svg", 1);
    const std::string line = cli + " year --chart \"$DAYLIGHT_CHART_NAME\" >/dev/null 2>" + errors;
    EXPECT_EQ(WEXITSTATUS(std::system(line.c_str())), 2);
    std::ifstream reason(errors);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reason), {}),
              "daylight-cli: cannot write '/nonexistent/a'$'\\n''b'$'\\033''[31m.svg': No such "
              "file or directory\n");
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

// A chart written over another keeps its owner and group where the process may set them, as the
// shell's > does; a link that names nothing is said to be one.
TEST(Year, AReplacedChartKeepsItsOwnerAndADanglingLinkIsNamed) {
    const Scratch folder;
    const std::string cli = DAYLIGHT_CLI_PATH;
    const std::string chart = folder / "daylight-owned.svg",
                      link = folder / "daylight-dangling.svg";
    std::remove(chart.c_str());
    std::ofstream(chart) << "old";
    if (geteuid() == 0) {
        ASSERT_EQ(chown(chart.c_str(), 65534, 65534), 0);
        EXPECT_EQ(std::system((cli + " year --step 90 --chart " + chart + " >/dev/null").c_str()),
                  0);
        struct stat seen {};
        ASSERT_EQ(stat(chart.c_str(), &seen), 0);
        EXPECT_EQ(seen.st_uid, 65534u);
        EXPECT_EQ(seen.st_gid, 65534u);
    }
    std::remove(link.c_str());
    ASSERT_EQ(symlink((folder / "daylight-nowhere/year.svg").c_str(), link.c_str()), 0);
    const std::string errors = folder / "daylight-dangling.err";
    EXPECT_EQ(WEXITSTATUS(std::system(
                  (cli + " year --step 90 --chart " + link + " >/dev/null 2>" + errors).c_str())),
              2);
    std::ifstream reason(errors);
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(reason), {}),
                HasSubstr("it is a dangling link: what it names does not exist"));
    std::remove(link.c_str());
    std::remove(chart.c_str());
}

#if DAYLIGHT_WITH_CHART
// Of a chart program that writes without end, the companion keeps the last kilobytes.
TEST(Year, OfTheChartProgramsErrorsTheLastKilobytesAreKept) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::thread writer([fd = fds[1]] {
        const std::string chunk(1 << 16, 'x');
        for (int i = 0; i < 800; ++i) {  // 50 MiB
            if (write(fd, chunk.data(), chunk.size()) < 0) break;
        }
        const std::string last = "\nthe reason\n";
        EXPECT_EQ(write(fd, last.data(), last.size()), ssize_t(last.size()));
        close(fd);
    });
    const std::string tail = companion::TailOf(fds[0]);
    close(fds[0]);
    writer.join();
    EXPECT_EQ(tail.size(), 3 + companion::kTailKept - 1);
    EXPECT_THAT(tail, testing::StartsWith("...xxx"));
    EXPECT_THAT(tail, testing::EndsWith("x\nthe reason"));
}

// A PNG is rendered from an SVG in the temporary folder: a missing one is named.
TEST(Year, AMissingTemporaryFolderIsNamed) {
    const Scratch folder;
    const std::string cli = DAYLIGHT_CLI_PATH, errors = folder / "daylight-tmp.err";
    const std::string line = "TMPDIR=/nonexistent/tmp " + cli + " year --chart " +
                             (folder / "t.png") + " >/dev/null 2>" + errors;
    EXPECT_EQ(WEXITSTATUS(std::system(line.c_str())), 2);
    std::ifstream reason(errors);
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(reason), {}),
                HasSubstr("no temporary file for the renderer in /nonexistent/tmp (TMPDIR): No "
                          "such file or directory"));
}
#endif

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

// Each value is refused with its reason, before anything is written.
// A range of dates is each date on its own: across solstices and years, the same line as
// --date gives it alone, on that date's own year.
TEST(Sky, ARangeOfDatesGivesEachDateItsOwnYear) {
    const Invocation range =
        Companion({"sky", "--latitude", "60", "--from", "2026-12-20", "--to", "2031-12-23"});
    ASSERT_EQ(range.status, 0) << range.err;
    const std::vector<std::string> lines = range.Lines();
    for (const std::string date : {"2026-12-20", "2026-12-22", "2031-06-21", "2031-12-23"}) {
        const Invocation alone = Companion({"sky", "--latitude", "60", "--date", date});
        ASSERT_EQ(alone.Lines().size(), 2u) << alone.err;
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.rfind(date + ",", 0) == 0;
        });
        ASSERT_NE(line, lines.end()) << date;
        EXPECT_EQ(*line, alone.Lines()[1]);
    }
}

// The ends of the calendar's range and of the clock's, and offsets as people write them: each is
// taken, with the offset in hours; a date before the Gregorian calendar began gets its note.
TEST(Sky, DatesAndOffsetsAreTakenToTheEndsOfTheirRanges) {
    const struct {
        const char* date;
        const char* offset;
        const char* hours;
        bool note;
    } cases[] = {{"2000-02-29", "0", "0", false},        {"2024-02-29", "14", "14", false},
                 {"3000-12-31", "-14", "-14", false},    {"1000-01-01", "5:30", "5.5", true},
                 {"1582-10-14", "+05:45", "5.75", true}, {"1582-10-15", "-03:30", "-3.5", false},
                 {"2026-06-21", "-0:30", "-0.5", false}, {"2026-06-21", "+14:00", "14", false}};
    for (const auto& c : cases) {
        const Invocation run =
            Companion({"sky", "--date", c.date, "--utc-offset", c.offset, "--json"});
        ASSERT_EQ(run.status, 0) << c.date << " " << c.offset << ": " << run.err;
        const Json sky = Json::parse(run.out);
        EXPECT_EQ(sky["inputs"]["utc_offset"], c.hours) << c.offset;
        EXPECT_EQ(sky["rows"][0]["date"], c.date);
        EXPECT_EQ(sky.contains("notes"), c.note) << c.date;
        EXPECT_EQ(run.err.find("note: " + std::string(c.date) + " is before 1582-10-15") !=
                      std::string::npos,
                  c.note)
            << c.date;
    }
}

// Places as people type them, without accents, a prefix, with the region after a comma: the first
// of each is the place meant, with its time zone.
TEST(Places, AreFoundAsPeopleTypeThem) {
    if (!companion::Places()) GTEST_SKIP() << "built without places";
    const std::array<std::array<const char*, 3>, 20> typed = {{
        {"Oslo", "Oslo", "Europe/Oslo"},
        {"sao paulo", "São Paulo", "America/Sao_Paulo"},
        {"Troms", "Tromsø", "Europe/Oslo"},
        {"tromso", "Tromsø", "Europe/Oslo"},
        {"Springfield, Illinois", "Springfield", "America/Chicago"},
        {"Springfield, Mass", "Springfield", "America/New_York"},
        {"Paris, Texas", "Paris", "America/Chicago"},
        {"paris", "Paris", "Europe/Paris"},
        {"zurich", "Zurich", "Europe/Zurich"},
        {"Reykjav", "Reykjavik", "Atlantic/Reykjavik"},
        {"Montreal", "Montreal", "America/Toronto"},
        {"Malmo", "Malmo", "Europe/Stockholm"},
        {"Wellington", "Wellington", "Pacific/Auckland"},
        {"Cape Town", "Cape Town", "Africa/Johannesburg"},
        {"Delhi", "Delhi", "Asia/Kolkata"},
        {"Tokyo", "Tokyo", "Asia/Tokyo"},
        {"Sydney", "Sydney", "Australia/Sydney"},
        {"bogota", "Bogotá", "America/Bogota"},
        {"Cordoba, Argentina", "Córdoba", "America/Argentina/Cordoba"},
        {"Brasilia", "Brasília", "America/Sao_Paulo"},
    }};
    for (const auto& [query, name, zone] : typed) {
        const Json found = Json::parse(Companion({"places", query, "--json"}).out)["places"];
        ASSERT_FALSE(found.empty()) << query;
        EXPECT_EQ(found[0]["name"], name) << query;
        EXPECT_EQ(found[0]["time_zone"], zone) << query;
        // Most populous first.
        for (std::size_t i = 1; i < found.size(); ++i) {
            EXPECT_GE(found[i - 1]["population"], found[i]["population"]) << query;
        }
    }
}

// A place gives the calculation its latitude, and the sky of a date its longitude and time zone,
// naming the place taken and how many others matched; no place is a bad value.
TEST(Places, APlaceGivesItsLatitudeLongitudeAndZone) {
    if (!companion::Places()) GTEST_SKIP() << "built without places";
    const Json tromso = Json::parse(Companion({"places", "Tromsø", "--json"}).out)["places"][0];
    const Invocation single = Companion({"--place", "tromso"});
    EXPECT_EQ(single.out, Companion({"--latitude", tromso["latitude"].get<std::string>()}).out);
    EXPECT_EQ(single.err, "daylight-cli: note: Tromsø, Troms og Finnmark, Norway\n");
    EXPECT_EQ(Json::parse(Companion({"--place", "tromso", "--json"}).out)["notes"][0],
              "Tromsø, Troms og Finnmark, Norway");
    EXPECT_EQ(Json::parse(Companion({"year", "--place", "tromso", "--json"}).out)["notes"][0],
              "Tromsø, Troms og Finnmark, Norway");
    const Invocation dated = Companion({"sky", "--place", "Oslo", "--date", "2026-06-21"});
    const Invocation byHand = Companion({"sky", "--latitude", "59.91273", "--longitude", "10.74609",
                                         "--time-zone", "Europe/Oslo", "--date", "2026-06-21"});
    EXPECT_EQ(dated.out, byHand.out);
    EXPECT_THAT(Companion({"--place", "Springfield"}).err, HasSubstr("; 10 others match"));
    const Invocation none = Companion({"--place", "xyzzy"});
    EXPECT_EQ(none.status, 2);
    EXPECT_THAT(none.err, HasSubstr("no place's name begins with xyzzy: daylight-cli places"));
    // A name typed a letter wrong has the names to try.
    const Invocation misspelt = Companion({"sky", "--place", "Olso", "--date", "2026-06-21"});
    EXPECT_EQ(misspelt.status, 2);
    EXPECT_THAT(misspelt.err, HasSubstr("begins with Olso: try Oslo, "));
    EXPECT_THAT(Companion({"places", "Tromos"}).err, HasSubstr("try Tromsø"));
}

// One day by its orbit angle is that day's row of the whole year, on an eccentric orbit too; the
// last, at 360, is the year's last.
TEST(Sky, TheDayAtAnOrbitAngleIsThatRowOfTheYear) {
    const std::vector<std::string> planet = {"sky", "--planet", "mars", "--latitude", "40"};
    const std::vector<std::string> year = Companion(planet).Lines();
    for (const std::size_t row : {std::size_t(1), std::size_t(200), year.size() - 10}) {
        const std::string line = year[row];
        const std::size_t from = line.find(',') + 1;
        const std::string angle = line.substr(from, line.find(',', from) - from);
        std::vector<std::string> args = planet;
        args.insert(args.end(), {"--day-at", angle});
        const Invocation day = Companion(args);
        ASSERT_EQ(day.Lines().size(), 2u) << day.err;
        // The same day, to the last digits the orbit angle's round trip leaves: the day,
        // the angle, the declination and the sky's four lengths and the night.
        std::istringstream got(day.Lines()[1]), want(line);
        for (int column = 0; column < 8; ++column) {
            std::string a, b;
            std::getline(got, a, ',');
            std::getline(want, b, ',');
            EXPECT_NEAR(std::stod(a), std::stod(b), 1e-9 * std::max(1.0, std::fabs(std::stod(b))))
                << angle << " column " << column;
        }
    }
    std::vector<std::string> json = planet;
    json.insert(json.end(), {"--day-at", "360", "--json"});
    const Json whole = Json::parse(Companion(json).out);
    EXPECT_EQ(whole["rows"].size(), 1u);
    EXPECT_EQ(whole["rows"][0]["orbit_angle"], "360");
    // One day needs no step, whatever the year: none is too small for it.
    EXPECT_EQ(Companion({"sky", "--year", "2e6", "--day-at", "90"}).status, 0);
}

TEST(Sky, BadValuesAreErrorsAndNothingIsWritten) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"sky", "--eccentricity", "1"}, "eccentricity must be from 0 up to but not including 1"},
        {{"sky", "--eccentricity", "-0.5"}, "eccentricity must be from 0"},
        {{"sky", "--eccentricity", "e"}, "--eccentricity"},
        {{"sky", "--eccentricity", ""}, "--eccentricity: not a decimal number: ''"},
        {{"sky", "--eccentricity", "0x1p-2"}, "not a decimal number: 0x1p-2"},
        {{"sky", "--perihelion", " 5"}, "--perihelion: not a decimal number: ' 5'"},
        {{"sky", "--horizon", "0x10"}, "the horizon must be sunrise, geometric or a number"},
        {{"year", "--step", " 1"}, "--step: not a decimal number: ' 1'"},
        {{"sky", "--horizon", "dusk"}, "the horizon must be sunrise, geometric or a number"},
        {{"sky", "--horizon", "-6 "}, "the horizon must be sunrise, geometric or a number"},
        {{"sky", "--horizon", "100"}, "the horizon must be from -90 to 90 degrees"},
        {{"sky", "--step", "0"}, "the step must be above 0"},
        {{"sky", "--latitude", "91"}, "the latitude must be from -90 to 90 degrees"},
        {{"sky", "--solar-day", "-24"}, "the solar day must be above 0"},
        {{"sky", "--planet", "vulcan"}, "unknown planet vulcan; known are mercury, venus, earth"},
        {{"--planet", "vulcan"}, "unknown planet vulcan"},
        {{"sky", "--map", "--latitude", "10"}, "--latitude excludes --map"},
        {{"sky", "--latitude-step", "2"}, "requires --map"},
        {{"sky", "--map", "--latitude-step", "0"}, "the latitude step must be"},
        {{"--batch", "--planet", "mars"}, "excludes --planet"},
        {{"sky", "--day-at", "361"}, "the day must be from 0 to 360 degrees"},
        {{"sky", "--day-at", "3", "--chart", "day.svg"}, "one day has no chart"},
        {{"sky", "--rows", "0"}, "the rows must be a whole number from 1 to 1000000"},
        {{"sky", "--mark", "-1"}, "the mark must be from 0 to 360 degrees"},
        {{"sky", "--map", "--mark-latitude", "91"}, "the marked latitude must be from -90"},
        {{"sky", "--mark-latitude", "10"}, "requires --map"},
        {{"year", "--chart-width", "299"}, "the chart's width must be from 300 to 800"},
        {{"--latitude", "100"}, "the latitude must be from -90 to 90 degrees"},
        {{"year", "--latitude", "-90.5"}, "the latitude must be from -90 to 90 degrees"},
        {{"sky", "--date", "3001-01-01"}, "not a date from 1000-01-01 to 3000-12-31"},
        {{"sky", "--date", "0999-12-31"}, "not a date from 1000-01-01 to 3000-12-31"},
        {{"sky", "--date", "1900-02-29"}, "not a date from 1000-01-01 to 3000-12-31"},
        {{"sky", "--date", "2026-06-21", "--utc-offset", "14.01"}, "must be from -14 to 14 hours"},
        {{"sky", "--date", "2026-06-21", "--utc-offset=-14:01"}, "must be from -14 to 14 hours"},
        {{"sky", "--date", "2026-06-21", "--utc-offset", "5:60"}, "not a UTC offset"},
        {{"sky", "--date", "2026-06-21", "--utc-offset", "+5:3"}, "not a UTC offset"},
        {{"sky", "--date", "2026-06-21", "--utc-offset", "5:30:00"}, "not a UTC offset"},
        {{"sky", "--date", "2026-06-21", "--utc-offset", "100:00"}, "not a UTC offset"},
        {{"sky", "--month", "2026-13"}, "not a month from 1000-01 to 3000-12"},
        {{"sky", "--month", "2026-6"}, "not a month from 1000-01 to 3000-12"},
        {{"sky", "--month", "3001-01"}, "not a month from 1000-01 to 3000-12"},
        {{"sky", "--month", "2026-06", "--date", "2026-06-01"}, "--date excludes --month"},
        {{"sky", "--month", "2026-06", "--step", "2"}, "--step excludes --month"},
        {{"sky", "--month", "2026-06", "--planet", "mars"}, "dates are the Earth's"},
        {{"--tilt", "40", "sky", "--date", "2026-06-01"}, "--tilt excludes --date"},
        {{"sky", "--distance", "0"}, "the distance must be above 0 AU"},
        {{"sky", "--utc-offset", "2"}, "a UTC offset goes with a date"},
        {{"sky", "--rows", "1.5"}, "the rows must be a whole number from 1 to 1000000"},
        {{"sky", "--distance", "1e-5"}, "the distance must be at least 0.00298173686470369 AU"},
        {{"sky", "--refraction", "1e308"}, "the refraction must be from 0 to 600 minutes of arc"},
        {{"sky", "--eccentricity", "1e999"}, "1e999 is too large a number to read"},
        {{"sky", "--eccentricity", "1e"}, "not a decimal number: 1e"},
        {{"--year", "300", "sky", "--month", "2026-06"}, "--year excludes --month"},
        {{"--solar-day", "12", "sky", "--from", "2026-01-01", "--to", "2026-01-02"},
         "--solar-day excludes --from"},
    };
    for (const auto& [args, reason] : cases) {
        const Invocation run = Companion(args);
        EXPECT_EQ(run.status, 2) << reason;
        EXPECT_EQ(run.out, "") << reason;
        EXPECT_THAT(run.err, HasSubstr(reason));
    }
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
