// Any bytes as a place's query on the real places file, or, after a first line break, as a query
// and a places file of their own: nothing crashes or stalls, a lookup counts at least the places
// it gives, and the nearest names are few.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "places/places.h"

namespace {

const places::Gazetteer& RealPlaces() {
    static const places::Gazetteer real = [] {
        std::ifstream file(DAYLIGHT_PLACES_FILE, std::ios::binary);
        auto read = places::Gazetteer::Read(std::string(std::istreambuf_iterator<char>(file), {}));
        if (!read) std::abort();
        return *read;
    }();
    return real;
}

void Look(const places::Gazetteer& gazetteer, std::string_view query) {
    const places::Found found = gazetteer.Find(query, 5);
    if (found.count < found.first.size() || found.first.size() > 5) std::abort();
    if (gazetteer.Nearest(query).size() > 3) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t line = input.find('\n');
    if (line == std::string::npos) {
        Look(RealPlaces(), input);
        return 0;
    }
    if (const auto own = places::Gazetteer::Read(input.substr(line + 1))) {
        Look(*own, std::string_view(input).substr(0, line));
    }
    return 0;
}
