#include "places.h"

#include <geonames/geonames.h>

#include <algorithm>
#include <string_view>

namespace companion {
namespace {

// The text with its blanks at both ends taken off.
std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

bool HasPlaces() { return true; }

std::vector<Place> FindPlaces(const std::string& query) {
    // The name, and the words after each comma.
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const std::size_t comma = query.find(',', from);
        parts.push_back(Trimmed(std::string_view(query).substr(from, comma - from)));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    std::vector<Place> places;
    if (parts.front().empty()) return places;
    guint count = 0;
    gint* found = geonames_query_cities_sync(parts.front().c_str(), GEONAMES_QUERY_DEFAULT, &count,
                                             nullptr, nullptr);
    for (guint i = 0; found && i < count; ++i) {
        GeonamesCity* city = geonames_get_city(found[i]);
        if (!city) continue;
        Place p{geonames_city_get_name(city),      geonames_city_get_state(city),
                geonames_city_get_country(city),   geonames_city_get_timezone(city),
                geonames_city_get_latitude(city),  geonames_city_get_longitude(city),
                geonames_city_get_population(city)};
        geonames_city_free(city);
        // Each word after a comma begins the region's or the country's words, accents aside.
        const bool kept = std::all_of(parts.begin() + 1, parts.end(), [&](const std::string& w) {
            return w.empty() || g_str_match_string(w.c_str(), p.region.c_str(), TRUE) ||
                   g_str_match_string(w.c_str(), p.country.c_str(), TRUE);
        });
        if (kept) places.push_back(std::move(p));
    }
    g_free(found);
    std::stable_sort(places.begin(), places.end(),
                     [](const Place& a, const Place& b) { return a.population > b.population; });
    return places;
}

std::string PlaceWords(const Place& place) {
    std::string words = place.name;
    for (const std::string* part : {&place.region, &place.country}) {
        if (!part->empty() && *part != place.name) words += ", " + *part;
    }
    return words;
}

}  // namespace companion
