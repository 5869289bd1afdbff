#include "places_command.h"

#include <ostream>

#include "output.h"
#include "places.h"
#include "quoted.h"
#include "status.h"

namespace companion {
namespace {

// A CSV field: quoted where it holds a comma, a quote or a line break, its quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

CLI::App* AddPlacesCommand(CLI::App& app, PlacesRequest& request) {
    CLI::App* places = app.add_subcommand(
        "places",
        "The places people live in whose name begins with QUERY, in any case and with or\n"
        "without accents (\"sao paulo\", \"Troms\"); words after a comma keep those whose region\n"
        "or country begins with them (\"Springfield, Illinois\"). Most populous first. From\n"
        "Debian's libgeonames, whose data is GeoNames' (CC BY 4.0).");
    places->add_option("QUERY", request.query, "The beginning of a place's name")->required();
    places->add_flag("--json", request.json, "One JSON object: the query and the places");
    places->footer(kPlacesStatusesSaid);
    return places;
}

int RunPlaces(const PlacesRequest& request, std::ostream& out, std::ostream& err) {
    const places::Gazetteer* gazetteer = Places();
    if (!gazetteer) {
        err << "daylight-cli: this daylight-cli was built without places\n";
        return kBadInput;
    }
    const std::vector<places::Place> found = gazetteer->Find(request.query).first;
    if (found.empty())
        err << "daylight-cli: note: " << NoPlaceNamed(*gazetteer, request.query) << '\n';
    if (request.json) {
        Json list = Json::array();
        for (const places::Place& p : found) {
            list.push_back({{"name", p.name},
                            {"region", p.region},
                            {"country", p.country},
                            {"latitude", rt::ShortestText(p.latitude)},
                            {"longitude", rt::ShortestText(p.longitude)},
                            {"time_zone", p.timeZone},
                            {"population", p.population}});
        }
        out << Dump(Json{{"query", request.query}, {"places", list}}) << '\n';
    } else {
        out << "name,region,country,latitude,longitude,time_zone,population\n";
        for (const places::Place& p : found) {
            out << CsvField(p.name) << ',' << CsvField(p.region) << ',' << CsvField(p.country)
                << ',' << rt::ShortestText(p.latitude) << ',' << rt::ShortestText(p.longitude)
                << ',' << CsvField(p.timeZone) << ',' << p.population << '\n';
        }
    }
    return out.flush() ? kResults : ReportWriteFailure(err);
}

std::string NoPlaceNamed(const places::Gazetteer& gazetteer, const std::string& query) {
    std::string words = "no place's name begins with " + Quoted(query);
    const std::vector<std::string> nearest = gazetteer.Nearest(query);
    if (nearest.empty())
        return words + ": daylight-cli places lists the names that begin with fewer letters";
    words += ": try ";
    for (std::size_t i = 0; i < nearest.size(); ++i) {
        words += (i == 0 ? "" : i + 1 == nearest.size() ? " or " : ", ") + nearest[i];
    }
    return words;
}

CLI::Option* AddPlaceOption(CLI::App& command, std::string& query) {
    return command
        .add_option("--place", query,
                    "A place people live in, by the beginning of its name (see places): its\n"
                    "latitude, and in the sky its longitude and, with a date, its time zone")
        ->type_name("QUERY");
}

}  // namespace companion
