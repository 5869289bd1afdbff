// `daylight-cli sky --planet earth` against the Earth's sky in 2026 from an ephemeris (written by
// scripts/sky-reference): every day's daylight and civil twilight at a dozen latitudes, the
// solstices and equinoxes, and the days without sunset or sunrise in the Arctic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/companion.h"

namespace {

using Json = nlohmann::json;

struct Day {
    double noon;             // days since the winter solstice of 2025
    double daylight, civil;  // minutes
    std::string sun;
};

std::vector<std::vector<std::string>> ReadCsv(const std::string& name) {
    std::ifstream in(std::string(DAYLIGHT_REFERENCE_DIR) + "/" + name);
    EXPECT_TRUE(in) << name;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

const std::map<double, std::vector<Day>>& Reference() {
    static const auto days = [] {
        std::map<double, std::vector<Day>> byLatitude;
        for (const auto& c : ReadCsv("earth-2026-days.csv")) {
            byLatitude[std::stod(c[0])].push_back(
                {std::stod(c[2]), std::stod(c[3]), std::stod(c[4]), c[5]});
        }
        return byLatitude;
    }();
    return days;
}

// The companion's sky for the Earth at the latitude, a row every quarter of a day.
Json Sky(double latitude) {
    const std::string latitudeText = std::to_string(latitude);
    const char* argv[] = {"daylight-cli",       "sky",    "--planet", "earth", "--latitude",
                          latitudeText.c_str(), "--step", "0.25",     "--json"};
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(companion::Run(int(std::size(argv)), argv, in, out, err), 0) << err.str();
    return Json::parse(out.str());
}

double Number(const Json& text) { return std::stod(text.get<std::string>()); }

// A column of the rows at t, between the two rows around it; the year repeats.
double At(const Json& rows, double t, const char* column, double year) {
    t = std::fmod(t, year);
    std::size_t i = std::size_t(t / 0.25);
    i = std::min(i, rows.size() - 2);
    const double t0 = Number(rows[i]["day"]), t1 = Number(rows[i + 1]["day"]);
    const double w = (t - t0) / (t1 - t0);
    return Number(rows[i][column]) * (1 - w) + Number(rows[i + 1][column]) * w;
}

// How many of the noons lie within `margin` days of one of the spans, round the year.
int NoonsIn(const std::vector<Day>& days, const Json& spans, double margin, double year) {
    int count = 0;
    for (const Day& d : days) {
        for (const Json& s : spans) {
            const double from = std::fmod(d.noon - Number(s["start"]) + margin + 2 * year, year);
            if (from <= Number(s["length"]) + 2 * margin) {
                ++count;
                break;
            }
        }
    }
    return count;
}

class EveryLatitude : public testing::TestWithParam<double> {};

TEST_P(EveryLatitude, DaylightAndCivilTwilightFollowTheEphemerisEveryDay) {
    const double latitude = GetParam();
    const Json sky = Sky(latitude);
    const double year = Number(sky["inputs"]["year"]);
    double worstDay = 0, worstCivil = 0;
    for (const Day& d : Reference().at(latitude)) {
        if (d.sun != "rises") continue;
        worstDay = std::max(worstDay,
                            std::fabs(At(sky["rows"], d.noon, "daylight", year) * 60 - d.daylight));
        worstCivil =
            std::max(worstCivil, std::fabs(At(sky["rows"], d.noon, "civil", year) * 60 - d.civil));
    }
    RecordProperty("worst_daylight_minutes", std::to_string(worstDay));
    RecordProperty("worst_civil_minutes", std::to_string(worstCivil));
    std::cout << "latitude " << latitude << ": daylight within " << worstDay
              << " min, civil twilight within " << worstCivil << " min\n";
    EXPECT_TRUE(std::fabs(latitude) > 60 || worstDay <= 1) << worstDay;
    EXPECT_TRUE(std::fabs(latitude) > 52 || worstCivil <= 1) << worstCivil;
}

INSTANTIATE_TEST_SUITE_P(Earth2026, EveryLatitude,
                         testing::Values(80, 70, 65, 60, 52, 38, 20, 0, -20, -38, -52, -60),
                         [](const auto& info) {
                             const int l = int(info.param);
                             return (l < 0 ? "S" : "N") + std::to_string(std::abs(l));
                         });

TEST(Earth2026, SolsticesAndEquinoxesWithinAnHour) {
    const Json sky = Sky(0);
    const char* const names[] = {"winter_solstice", "spring_equinox", "summer_solstice",
                                 "autumn_equinox"};
    const auto seasons = ReadCsv("earth-2026-seasons.csv");
    for (std::size_t i = 0; i < std::size(names); ++i) {
        EXPECT_NEAR(Number(sky[names[i]]), std::stod(seasons[i][1]), 0.05) << names[i];
    }
    // The next winter solstice: the year the planet is given.
    EXPECT_NEAR(Number(sky["inputs"]["year"]), std::stod(seasons[4][1]), 0.05);
}

// Whether the sun rises on a date is settled at its noon; whether it sets, at the midnights
// either side, where the ephemeris looks for the rising before noon and the setting after it.
TEST(Earth2026, DaysWithoutSunsetAndWithoutSunriseInTheArctic) {
    for (const double latitude : {70.0, 80.0}) {
        const Json sky = Sky(latitude);
        const double year = Number(sky["inputs"]["year"]);
        const std::vector<Day>& days = Reference().at(latitude);
        const auto count = [&](const char* sun) {
            return double(std::count_if(days.begin(), days.end(),
                                        [&](const Day& d) { return d.sun == sun; }));
        };
        EXPECT_NEAR(NoonsIn(days, sky["polar_day"], 0.5, year), count("polar-day"), 1) << latitude;
        EXPECT_NEAR(NoonsIn(days, sky["polar_night"], 0, year), count("polar-night"), 1)
            << latitude;
    }
}

}  // namespace
