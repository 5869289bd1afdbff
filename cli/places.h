// The places of the world that people live in, from Debian's libgeonames (some 24,000 cities and
// towns, with region, country, time zone, coordinates and population); none in a build without it.
#pragma once

#include <string>
#include <vector>

namespace companion {

struct Place {
    std::string name, region, country, timeZone;
    double latitude, longitude;  // degrees, north and east
    unsigned population;
};

// Whether this build has the places.
bool HasPlaces();

// The places whose name begins with the query, in any case and with or without accents ("sao
// paulo", "Troms"), most populous first. Words after a comma keep the places whose region or
// country begins with them: "Springfield, Illinois".
std::vector<Place> FindPlaces(const std::string& query);

// "Tromsø, Troms og Finnmark, Norway".
std::string PlaceWords(const Place& place);

}  // namespace companion
