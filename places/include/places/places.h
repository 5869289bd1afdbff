// The places people live in, read from the places file (made at build time by make-places from
// Debian's libgeonames, whose data is GeoNames', CC BY 4.0), and found by the beginning of their
// names as people type them: in any case, with or without accents, a word or the first letters of
// one ("sao paulo", "Troms", "Springfield, Illinois").
//
// The file is UTF-8 text, a record a line, its fields after a tag and separated by tabs:
//   f  a letter, and the ASCII letters it is written as without accents ("ø", "o")
//   r  a region's name; c a country's; z a time zone's IANA name (each numbered from 0 by kind)
//   p  name, region, country, zone (their numbers), latitude, longitude (degrees north and east,
//      as the shortest text), population, and where the name is not ASCII alone its words as
//      Words gives them, joined by blanks; most populous first
// Lines that begin with # are comments.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace places {

struct Place {
    std::string name, region, country, timeZone;
    double latitude, longitude;  // degrees, north and east
    unsigned population;
};

// "Tromsø, Troms og Finnmark, Norway": the region and country after the name, where they differ
// from it.
std::string PlaceWords(const Place& place);

// The letters beyond ASCII and the ASCII letters each is written as without accents, in the
// order of the letters' bytes.
using Folding = std::vector<std::pair<std::string_view, std::string_view>>;

// The text's words, in lower case and without accents: "São Paulo" -> "sao", "paulo". Letters,
// digits and letters beyond ASCII make words; anything else parts them.
std::vector<std::string> Words(std::string_view text, const Folding& folding);

// What a query found: the first places, most populous first, and how many match in all.
struct Found {
    std::vector<Place> first;
    std::size_t count = 0;
};

class Gazetteer {
  public:
    // The places of a places file; none where the text is not one.
    static std::optional<Gazetteer> Read(std::string text);

    // The places whose name has words beginning with each of the query's words; words after a
    // comma keep those whose region or country has words beginning with them. At most `most`.
    Found Find(std::string_view query, std::size_t most = std::size_t(-1)) const;

    // Where nothing is found: up to `most` names whose beginning is fewest letters away from
    // the query's name (a letter added, dropped, changed or two swapped; at most a third of its
    // letters, and its first kept or swapped with the second), most populous first; none for a
    // query of more than 32 letters.
    std::vector<std::string> Nearest(std::string_view query, std::size_t most = 3) const;

    std::size_t size() const { return places_.size(); }

  private:
    struct Entry {
        std::string_view name, latitude, longitude;
        unsigned region, country, zone, population;
        std::string_view words;  // of the name, joined by blanks; the name itself where ASCII
    };
    Place PlaceOf(const Entry& e) const;
    bool Kept(const Entry& e, const std::vector<std::vector<std::string>>& parts) const;

    std::shared_ptr<const std::string> text_;  // what the views below look at
    Folding folding_;
    std::vector<std::string_view> regions_, countries_, zones_;
    std::vector<std::string> regionWords_, countryWords_;  // their words, joined by blanks
    std::vector<Entry> places_;
};

}  // namespace places
