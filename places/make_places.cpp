// make-places FILE: writes the places file (see places.h) from Debian's libgeonames: every city
// and town it knows, most populous first, with the ASCII forms of the letters their names are
// written in. The file is replaced whole or not at all.
#include <geonames/geonames.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "chart/whole_file.h"
#include "places/places.h"
#include "runtime/runtime.h"

namespace {

struct City {
    std::string name, region, country, zone;
    double latitude, longitude;
    unsigned population;
};

// A field of the file: no tab or line break inside it.
std::string Field(const char* text) {
    std::string field = text ? text : "";
    std::replace_if(
        field.begin(), field.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; },
        ' ');
    return field;
}

// Each letter beyond ASCII in the text, in both cases too.
void AddLetters(const std::string& text, std::set<std::string>& letters) {
    for (const char* at = text.c_str(); *at; at = g_utf8_next_char(at)) {
        if (static_cast<unsigned char>(*at) < 0x80) continue;
        const std::string letter(at, static_cast<const char*>(g_utf8_next_char(at)));
        for (gchar* cased :
             {g_utf8_strdown(letter.c_str(), -1), g_utf8_strup(letter.c_str(), -1)}) {
            // Only single letters beyond ASCII ("SS" is two, "i̇" a letter and a mark).
            if (static_cast<unsigned char>(*cased) >= 0x80 && g_utf8_strlen(cased, -1) == 1) {
                letters.insert(cased);
            }
            g_free(cased);
        }
        letters.insert(letter);
    }
}

// Numbers each name in the order first met.
unsigned NumberOf(const std::string& name, std::map<std::string, unsigned>& numbers,
                  std::vector<std::string>& names) {
    const auto [at, added] = numbers.emplace(name, unsigned(names.size()));
    if (added) names.push_back(name);
    return at->second;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-places FILE\n");
        return 2;
    }
    std::vector<City> cities;
    const gint count = geonames_get_n_cities();
    for (gint i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        if (!city) continue;
        cities.push_back({Field(geonames_city_get_name(city)), Field(geonames_city_get_state(city)),
                          Field(geonames_city_get_country(city)),
                          Field(geonames_city_get_timezone(city)), geonames_city_get_latitude(city),
                          geonames_city_get_longitude(city), geonames_city_get_population(city)});
        geonames_city_free(city);
    }
    std::stable_sort(cities.begin(), cities.end(),
                     [](const City& a, const City& b) { return a.population > b.population; });
    // The letters beyond ASCII, and the ASCII letters each is written as.
    std::set<std::string> letters;
    for (const City& c : cities) {
        for (const std::string* text : {&c.name, &c.region, &c.country}) AddLetters(*text, letters);
    }
    std::map<std::string, std::string> ascii;
    for (const std::string& letter : letters) {
        gchar* written = g_str_to_ascii(letter.c_str(), "C");
        const std::string folded = Field(written);
        g_free(written);
        if (!folded.empty() && folded.find('?') == std::string::npos) ascii[letter] = folded;
    }
    places::Folding folding;
    std::string text =
        "# The places people live in: GeoNames' data (geonames.org, CC BY 4.0), through Debian's\n"
        "# libgeonames. Made by make-places.\n";
    for (const auto& [letter, folded] : ascii) {
        folding.emplace_back(letter, folded);  // in the map's order, the letters' bytes
        text += "f\t" + letter + '\t' + folded + '\n';
    }
    std::map<std::string, unsigned> numbers[3];
    std::vector<std::string> names[3];  // regions, countries, zones
    std::string lines;
    for (const City& c : cities) {
        lines += "p\t" + c.name + '\t' + std::to_string(NumberOf(c.region, numbers[0], names[0])) +
                 '\t' + std::to_string(NumberOf(c.country, numbers[1], names[1])) + '\t' +
                 std::to_string(NumberOf(c.zone, numbers[2], names[2])) + '\t' +
                 rt::ShortestText(c.latitude) + '\t' + rt::ShortestText(c.longitude) + '\t' +
                 std::to_string(c.population);
        // A name beyond ASCII has its words beside it, so that a lookup folds none.
        if (std::any_of(c.name.begin(), c.name.end(),
                        [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; })) {
            std::string words;
            for (const std::string& w : places::Words(c.name, folding)) {
                words += (words.empty() ? "" : " ") + w;
            }
            lines += '\t' + words;
        }
        lines += '\n';
    }
    const char* tags[3] = {"r", "c", "z"};
    for (int kind = 0; kind < 3; ++kind) {
        for (const std::string& name : names[kind])
            text += std::string(tags[kind]) + '\t' + name + '\n';
    }
    text += lines;
    if (const std::string problem = chart::ReplaceWhole(argv[1], text); !problem.empty()) {
        std::fprintf(stderr, "%s: could not write %s: %s\n", "make-places", argv[1],
                     problem.c_str());
        return 1;
    }
    return 0;
}
