// The batch: a line of output for each line of input, bounded lines, failures of reading and
// writing.
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

}  // namespace
