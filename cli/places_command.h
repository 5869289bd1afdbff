// The places command, and --place: a place people live in gives its latitude (and in the sky its
// longitude and, with a date, its time zone).
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>

#include "places/places.h"

namespace companion {

struct PlacesRequest {
    std::string query;
    bool json = false;
};

// Adds "places" to the app.
CLI::App* AddPlacesCommand(CLI::App& app, PlacesRequest& request);

// Lists the places that match, most populous first, as CSV (name,region,country,latitude,
// longitude,time_zone,population) or one JSON object {"query","places"}.
int RunPlaces(const PlacesRequest& request, std::ostream& out, std::ostream& err);

// What to say where no place is named so: the nearest names to try, or how to find them.
std::string NoPlaceNamed(const places::Gazetteer& gazetteer, const std::string& query);

// Offers --place QUERY on a command.
CLI::Option* AddPlaceOption(CLI::App& command, std::string& query);

}  // namespace companion
