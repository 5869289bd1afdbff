// The commands: the year and its charts, the sky with its dates, days and bad values, and the
// places.
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

// Sunlight's tables are made of the sky's days: through the year its days, orbit angles and
// declinations are the sky's own, and the map's row at a latitude and day is that latitude's
// row of the year.
TEST(Insolation, ItsRowsAreTheSkysDays) {
    const std::vector<std::string> planet = {"--planet", "mars", "--rows", "24"};
    std::vector<std::string> sky = {"sky", "--latitude", "-45"},
                             year = {"insolation", "--latitude", "-45"};
    sky.insert(sky.end(), planet.begin(), planet.end());
    year.insert(year.end(), planet.begin(), planet.end());
    const std::vector<std::string> skyRows = Companion(sky).Lines(),
                                   yearRows = Companion(year).Lines();
    const auto first = [](const std::string& line, int columns) {
        std::size_t at = 0;
        for (int i = 0; i < columns; ++i) at = line.find(',', at) + 1;
        return line.substr(0, at);
    };
    ASSERT_EQ(yearRows.size(), 27u);  // a header, 25 days and the year's mean
    for (std::size_t row = 1; row < 26; ++row) {
        EXPECT_EQ(first(yearRows[row], 3), first(skyRows[row], 3)) << row;
    }
    std::vector<std::string> map = {"insolation", "--map", "--latitude-step", "45"};
    map.insert(map.end(), planet.begin(), planet.end());
    const std::vector<std::string> mapRows = Companion(map).Lines();
    for (std::size_t row = 1; row < 26; ++row) {
        const std::string& cells = mapRows[25 + row];  // the second latitude, -45
        const std::string& day = yearRows[row];
        EXPECT_EQ(cells.substr(cells.rfind(',') + 1),
                  day.substr(first(day, 4).size(), day.rfind(',') - first(day, 4).size()))
            << row;
    }
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
        {{"sky", "--date", "2026-06-21", "--perihelion", "5"}, "--perihelion excludes --date"},
        {{"sky", "--longitude", "400"}, "the longitude must be from -180 to 180 degrees"},
        {{"sun", "--latitude", "50"}, "give the day: --date (the Earth) or --day-at"},
        {{"sun", "--day-at", "10", "--every", "61"}, "the step must be from 1 to 60 minutes"},
        {{"sun", "--date", "2026-06-21", "--eccentricity", "0.1"}, "--eccentricity excludes"},
        {{"insolation", "--solar-constant", "0"}, "the solar constant must be above 0 W/m²"},
        {{"insolation", "--kyr", "-1001"}, "the time must be from -1000 to 100 thousand"},
        {{"insolation", "--kyr", "5", "--tilt", "20"}, "--tilt excludes --kyr"},
        {{"insolation", "--planet", "mars", "--kyr", "0"}, "the orbit through time is the Earth's"},
        {{"insolation", "--from-kyr", "0", "--to-kyr", "1"}, "requires --orbit-angle"},
        {{"insolation", "--orbit-angle", "361", "--from-kyr", "0", "--to-kyr", "1"},
         "the orbit angle must be from 0 to 360"},
        {{"insolation", "--orbit-angle", "9", "--from-kyr", "0", "--to-kyr", "-1"},
         "the last time must not be before the first"},
        {{"insolation", "--orbit-angle", "9", "--from-kyr", "-1000", "--to-kyr", "0", "--kyr-step",
          "1e-4"},
         "more than 1000000 rows"},
        {{"insolation", "--annual", "--rows", "2"}, "--rows excludes --annual"},
        {{"insolation", "--map", "--horizon", "0"}, "--horizon"},
        {{"insolation", "--day-at", "5", "--chart", "day.svg"}, "one day has no chart"},
        {{"insolation", "--latitude-step", "5"}, "--latitude-step goes with --map or --annual"},
        {{"insolation", "--annual", "--mark", "5"}, "--annual excludes --mark"},
        {{"insolation", "--annual", "--latitude-step", "0.001"}, "more than 18001 latitudes"},
    };
    for (const auto& [args, reason] : cases) {
        const Invocation run = Companion(args);
        EXPECT_EQ(run.status, 2) << reason;
        EXPECT_EQ(run.out, "") << reason;
        EXPECT_THAT(run.err, HasSubstr(reason));
    }
    // A date's place may be given before the command: only the orbit is the date's own.
    for (const char* command : {"sky", "sun"}) {
        const Invocation run = Companion({"--latitude", "60", command, "--date", "2026-06-21"});
        EXPECT_EQ(run.status, 0) << command << run.err;
    }
}

}  // namespace
