// `daylight-cli sky` against references it was not made from (written by scripts/sky-reference):
// the Earth's sky on every date of four years from an ephemeris, two of them near the ends of
// 1900-2100 (where the orbit of the year is furthest from that of 2000), at latitudes from 80 N
// to 80 S; and Mars's sky over a Mars year from the published Mars24 algorithm. Each test prints
// its worst deviations, latitude by latitude.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/companion.h"

namespace {

using Json = nlohmann::json;
using Cells = std::vector<std::string>;

std::vector<Cells> ReadCsv(const std::string& name) {
    std::ifstream in(std::string(DAYLIGHT_REFERENCE_DIR) + "/" + name);
    EXPECT_TRUE(in) << name;
    std::vector<Cells> rows;
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        Cells cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        if (!line.empty() && line.back() == ',') cells.emplace_back();
        rows.push_back(cells);
    }
    return rows;
}

Json Companion(std::vector<std::string> args) {
    std::vector<const char*> argv = {"daylight-cli"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(companion::Run(int(argv.size()), argv.data(), in, out, err), 0) << err.str();
    return Json::parse(out.str());
}

double Number(const Json& text) { return std::stod(text.get<std::string>()); }
double Number(const std::string& text) { return std::stod(text); }

// The worst deviations of one latitude, each over the days on which it is asked for.
struct Worst {
    double daylight = 0, twilight = 0, clock = 0;
    int polarDays = 0, polarNights = 0;  // the rows' counts
    int referenceDays = 0, referenceNights = 0;
};

// Whether the sun passes a limit that day by more than half a degree both ways: closer than
// that, the length of a day hangs on thousandths of a degree of declination.
bool Clear(double highest, double lowest, double limit) {
    return highest > limit + 0.5 && lowest < limit - 0.5;
}

constexpr double kLimb = -50.0 / 60;  // the centre with the upper limb at 34'
constexpr double kDusks[] = {kLimb, -6, -12, -18};

// The Earth on every date of a year at a latitude, dated rows against the ephemeris's.
Worst EarthYear(int year, double latitude, const std::vector<Cells>& reference) {
    std::ostringstream text;
    text << latitude;
    const Json sky = Companion({"sky", "--planet", "earth", "--latitude", text.str(), "--from",
                                std::to_string(year) + "-01-01", "--to",
                                std::to_string(year) + "-12-31", "--json"});
    const Json& rows = sky["rows"];
    Worst w;
    std::size_t i = 0;
    for (const Cells& c : reference) {
        if (Number(c[0]) != latitude) continue;
        const Json& r = rows.at(i++);
        EXPECT_EQ(r["date"], c[1]);
        const double highest = Number(c[10]), lowest = Number(c[11]);
        w.referenceDays += c[9] == "polar-day";
        w.referenceNights += c[9] == "polar-night";
        w.polarDays += r["sun"] == "polar-day";
        w.polarNights += r["sun"] == "polar-night";
        if (Clear(highest, lowest, kLimb)) {
            w.daylight = std::max(w.daylight, std::fabs(Number(r["daylight"]) * 60 - Number(c[5])));
            for (const auto& [column, cell] : {std::pair{"sunrise", 3}, std::pair{"sunset", 4}}) {
                const double off = std::fabs(Number(r[column]) - Number(c[cell])) * 60;
                w.clock = std::max(w.clock, std::min(off, 1440 - off));
            }
        }
        const char* bands[] = {"civil", "nautical", "astronomical"};
        for (int b = 0; b < 3; ++b) {
            if (Clear(highest, lowest, kDusks[b]) && Clear(highest, lowest, kDusks[b + 1])) {
                w.twilight =
                    std::max(w.twilight, std::fabs(Number(r[bands[b]]) * 60 - Number(c[6 + b])));
            }
        }
    }
    EXPECT_EQ(i, rows.size());
    return w;
}

constexpr int kEarthYears[] = {1902, 1961, 2026, 2099};

struct Place {
    int year;
    double latitude;
};

std::ostream& operator<<(std::ostream& os, const Place& p) {
    return os << p.year << (p.latitude < 0 ? " S" : " N") << std::fabs(p.latitude);
}

class EarthOnEveryDate : public testing::TestWithParam<Place> {};

// Daylight within 0.1 min to 60 degrees, 1 min to 72 and 2 min to 80; each twilight band within
// 0.1 min to 45 and 1 min to 60; sunrise and sunset on the clock within a minute to 60; the days
// without sunset and without sunrise counted within one.
TEST_P(EarthOnEveryDate, FollowsTheEphemeris) {
    const Place p = GetParam();
    static std::map<int, std::vector<Cells>> references;
    if (!references.count(p.year)) {
        references[p.year] = ReadCsv("earth-" + std::to_string(p.year) + ".csv");
    }
    const Worst w = EarthYear(p.year, p.latitude, references[p.year]);
    const double l = std::fabs(p.latitude);
    std::cout << p << ": daylight " << w.daylight << " min, twilight " << w.twilight
              << " min, sunrise and sunset " << w.clock << " min, days without sunset "
              << w.polarDays << " (" << w.referenceDays << "), without sunrise " << w.polarNights
              << " (" << w.referenceNights << ")\n";
    EXPECT_LE(w.daylight, l <= 60 ? 0.1 : l <= 72 ? 1 : 2);
    EXPECT_LE(w.twilight, l <= 45 ? 0.1 : l <= 60 ? 1 : 1440);
    EXPECT_LE(w.clock, l <= 60 ? 1 : 1440);
    EXPECT_NEAR(w.polarDays, w.referenceDays, 1);
    EXPECT_NEAR(w.polarNights, w.referenceNights, 1);
}

std::vector<Place> Places() {
    std::vector<Place> places;
    for (const int year : kEarthYears) {
        for (const double latitude : {80.0,  75.0,  72.0,  70.0,  67.0,  66.5,  65.0,  60.0,  52.0,
                                      45.0,  38.0,  20.0,  0.0,   -20.0, -38.0, -45.0, -52.0, -60.0,
                                      -65.0, -66.5, -67.0, -70.0, -72.0, -75.0, -80.0}) {
            places.push_back({year, latitude});
        }
    }
    return places;
}

INSTANTIATE_TEST_SUITE_P(Ephemeris, EarthOnEveryDate, testing::ValuesIn(Places()),
                         [](const auto& info) {
                             const Place p = info.param;
                             std::string name = std::to_string(p.year) +
                                                (p.latitude < 0 ? "_S" : "_N") +
                                                std::to_string(int(std::fabs(p.latitude) * 10));
                             return name;
                         });

// The solstices and equinoxes of the dated rows fall on the ephemeris's dates: the orbit angle
// passes 90, 180 and 270 between the noons either side of each.
TEST(EarthSeasons, TheDatesOfTheSolsticesAndEquinoxes) {
    for (const int year : kEarthYears) {
        const Json sky = Companion({"sky", "--planet", "earth", "--latitude", "0", "--from",
                                    std::to_string(year) + "-01-01", "--to",
                                    std::to_string(year) + "-12-31", "--json"});
        for (const Cells& c : ReadCsv("earth-" + std::to_string(year) + "-seasons.csv")) {
            const double noonHours = 12;  // within minutes at longitude 0
            for (std::size_t i = 1; i < sky["rows"].size(); ++i) {
                const Json& r = sky["rows"][i];
                if (r["date"] != c[1]) continue;
                // The event lies between this date's noon and the next one's, or the one before.
                const double angle = Number(r["orbit_angle"]);
                const double before = Number(sky["rows"][i - 1]["orbit_angle"]);
                const double target = c[0] == "spring equinox"    ? 90
                                      : c[0] == "summer solstice" ? 180
                                      : c[0] == "autumn equinox"  ? 270
                                                                  : 360;
                const bool after = Number(c[2]) > noonHours;
                const double low = after ? angle : before;
                const double high =
                    after ? (i + 1 < sky["rows"].size() ? Number(sky["rows"][i + 1]["orbit_angle"])
                                                        : angle + 1)
                          : angle;
                const auto wrapped = [](double a) { return a < 1 ? a + 360 : a; };
                EXPECT_LE(wrapped(low), target) << year << " " << c[0];
                EXPECT_GE(wrapped(high), target) << year << " " << c[0];
            }
        }
    }
}

// Mars with its own horizon (upper limb, its own half disc, no refraction): daylight within a
// minute to 60 degrees, the polar spans within a sol, the seasons within 0.2 sol. Mars takes the
// declination as Mars24 publishes it, with a planetographic 0.25 sin Ls degrees added to the
// sun's direction; the deviation from the true declination's days is printed too.
TEST(Mars24, DaylightPolarSpansAndSeasons) {
    const std::vector<Cells> reference = ReadCsv("mars.csv");
    std::map<double, std::vector<const Cells*>> byLatitude;
    for (const Cells& c : reference) byLatitude[Number(c[0])].push_back(&c);
    for (const auto& [latitude, sols] : byLatitude) {
        std::ostringstream text;
        text << latitude;
        const Json sky = Companion(
            {"sky", "--planet", "mars", "--latitude", text.str(), "--step", "0.25", "--json"});
        const Json& rows = sky["rows"];
        double worst = 0, worstTrue = 0;
        int referencePolar = 0, polar = 0;
        for (const Cells* c : sols) {
            const double t = Number((*c)[2]);
            const std::size_t i = std::min(std::size_t(t / 0.25), rows.size() - 2);
            const double t0 = Number(rows[i]["day"]), t1 = Number(rows[i + 1]["day"]);
            const double w = (t - t0) / (t1 - t0);
            const double daylight =
                Number(rows[i]["daylight"]) * (1 - w) + Number(rows[i + 1]["daylight"]) * w;
            const double limb = -0.2666 / 1.52;
            if (Clear(Number((*c)[6]), Number((*c)[7]), limb)) {
                worst = std::max(worst, std::fabs(daylight - Number((*c)[3])) * 60);
                worstTrue = std::max(worstTrue, std::fabs(daylight - Number((*c)[4])) * 60);
            }
            referencePolar += (*c)[5] != "rises";
            polar += rows[i + (w > 0.5 ? 1 : 0)]["sun"] != "rises";
        }
        std::cout << "Mars " << latitude << ": daylight within " << worst << " min (" << worstTrue
                  << " min of the true declination's), polar sols " << polar << " ("
                  << referencePolar << ")\n";
        EXPECT_LE(worst, std::fabs(latitude) <= 60 ? 1 : 1440) << latitude;
        EXPECT_NEAR(polar, referencePolar, 1) << latitude;
    }
    // The seasons: from each equinox or solstice to the next, in sols.
    const Json sky = Companion({"sky", "--planet", "mars", "--latitude", "0", "--json"});
    const double marks[] = {Number(sky["spring_equinox"]), Number(sky["summer_solstice"]),
                            Number(sky["autumn_equinox"]), Number(sky["inputs"]["year"]) + 0,
                            Number(sky["inputs"]["year"]) + Number(sky["spring_equinox"])};
    const std::vector<Cells> seasons = ReadCsv("mars-seasons.csv");
    for (std::size_t i = 0; i < 4; ++i) {
        std::cout << seasons[i][0] << ": " << marks[i + 1] - marks[i] << " sols (" << seasons[i][1]
                  << ")\n";
        EXPECT_NEAR(marks[i + 1] - marks[i], Number(seasons[i][1]), 0.2) << seasons[i][0];
    }
}

// The sun's path on Mars: at 45 N at its northern summer solstice the sun's altitude at noon is
// Mars24's highest of that sol, within 0.01 degree (the declination is Mars24's to 0.01).
TEST(Mars24, TheSunAtNoonOfTheNorthernSummerSolstice) {
    const Json sun = Companion({"sun", "--planet", "mars", "--latitude", "45", "--day-at", "180",
                                "--every", "60", "--json"});
    const Json day =
        Companion({"sky", "--planet", "mars", "--latitude", "45", "--day-at", "180", "--json"});
    const double noon = Number(day["rows"][0]["day"]);
    std::vector<const Cells*> sols;
    const std::vector<Cells> reference = ReadCsv("mars.csv");
    for (const Cells& c : reference) {
        if (Number(c[0]) == 45) sols.push_back(&c);
    }
    const auto after = std::find_if(sols.begin(), sols.end(),
                                    [&](const Cells* c) { return Number((*c)[2]) > noon; });
    ASSERT_TRUE(after != sols.begin() && after != sols.end());
    const Cells& a = **(after - 1);
    const Cells& b = **after;
    const double w = (noon - Number(a[2])) / (Number(b[2]) - Number(a[2]));
    const double highest = Number(a[6]) * (1 - w) + Number(b[6]) * w;
    std::cout << "Mars 45 N at the summer solstice: noon at " << sun["noon_altitude"]
              << " degrees, Mars24 " << highest << "\n";
    EXPECT_NEAR(Number(sun["noon_altitude"]), highest, 0.01);
}

}  // namespace
