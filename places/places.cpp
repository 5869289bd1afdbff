#include "places/places.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "runtime/runtime.h"

namespace places {
namespace {

// The text's tab-separated fields.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab - from));
        if (tab == std::string_view::npos) return fields;
        from = tab + 1;
    }
}

// A number of the file: decimal digits only, below the limit; none otherwise.
std::optional<unsigned> Count(std::string_view text, std::size_t limit) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    unsigned n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + unsigned(c - '0');
    }
    if (n >= limit) return std::nullopt;
    return n;
}

// The bytes of the UTF-8 letter that begins at `at` (a byte alone where it is not one).
std::size_t LetterLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(n, text.size() - at);
}

// Letters and digits make words: ASCII ones, and any byte beyond ASCII (a letter with no ASCII
// form is a letter of the word as it is).
bool InWord(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           static_cast<unsigned char>(c) >= 0x80;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Whether a word of the text (words in lower case, or ASCII words in any case) begins with the
// word (in lower case).
bool Begins(std::string_view text, std::string_view word) {
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        if (!InWord(text[at]) || (at > 0 && InWord(text[at - 1]))) continue;
        std::size_t i = 0;
        while (i < word.size() && Lower(text[at + i]) == word[i]) ++i;
        if (i == word.size()) return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& w : words) joined += (joined.empty() ? "" : " ") + w;
    return joined;
}

// The query's parts between commas, each as its words.
std::vector<std::vector<std::string>> PartsOf(std::string_view query, const Folding& folding) {
    std::vector<std::vector<std::string>> parts;
    for (std::size_t from = 0;;) {
        const std::size_t comma = query.find(',', from);
        parts.push_back(Words(query.substr(from, comma - from), folding));
        if (comma == std::string_view::npos) return parts;
        from = comma + 1;
    }
}

// The file's degrees: -?d+(.d+)?(e-?d+)?, as the shortest text writes them.
bool IsDegrees(std::string_view text) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t first = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at > first;
    };
    if (at < text.size() && text[at] == '-') ++at;
    if (!digits()) return false;
    if (at < text.size() && text[at] == '.' && (++at, !digits())) return false;
    if (at < text.size() && text[at] == 'e') {
        ++at;
        if (at < text.size() && text[at] == '-') ++at;
        if (!digits()) return false;
    }
    return at == text.size();
}

// Letters added, dropped, changed or two side by side swapped, to make `a` of `b` (the optimal
// string alignment distance); anything beyond `farthest` is farthest + 1, found as soon as a row
// has no cell within it.
std::size_t Distance(std::string_view a, std::string_view b, std::size_t farthest) {
    std::vector<std::size_t> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) last[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        std::size_t least = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t changed = last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, changed});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                row[j] = std::min(row[j], before[j - 2] + 1);
            }
            least = std::min(least, row[j]);
        }
        if (least > farthest) return farthest + 1;
        before.swap(last);
        last.swap(row);
    }
    return std::min(last[b.size()], farthest + 1);
}

// The first letter of a name's words, in lower case (0 where it has none).
char FirstLetter(std::string_view words) {
    for (const char c : words) {
        if (InWord(c)) return Lower(c);
    }
    return 0;
}

}  // namespace

std::vector<std::string> Words(std::string_view text, const Folding& folding) {
    std::vector<std::string> words;
    std::string word;
    const auto take = [&](char c) {
        if (InWord(c)) {
            word += Lower(c);
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    };
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = LetterLength(text, at);
        const std::string_view letter = text.substr(at, n);
        at += n;
        if (n == 1) {
            take(letter[0]);
            continue;
        }
        const auto folded =
            std::lower_bound(folding.begin(), folding.end(), std::pair(letter, std::string_view()));
        if (folded != folding.end() && folded->first == letter) {
            for (const char c : folded->second) take(c);
        } else {
            word += letter;
        }
    }
    take(' ');
    return words;
}

std::string PlaceWords(const Place& place) {
    std::string words = place.name;
    for (const std::string* part : {&place.region, &place.country}) {
        if (!part->empty() && *part != place.name) words += ", " + *part;
    }
    return words;
}

std::optional<Gazetteer> Gazetteer::Read(std::string text) {
    Gazetteer g;
    g.text_ = std::make_shared<const std::string>(std::move(text));
    const std::string_view all = *g.text_;
    for (std::size_t from = 0; from < all.size();) {
        std::size_t end = all.find('\n', from);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = all.substr(from, end - from);
        from = end + 1;
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string_view> f = Fields(line);
        if (f[0] == "f" && f.size() == 3) {
            g.folding_.emplace_back(f[1], f[2]);
        } else if (f[0] == "r" && f.size() == 2) {
            g.regions_.push_back(f[1]);
        } else if (f[0] == "c" && f.size() == 2) {
            g.countries_.push_back(f[1]);
        } else if (f[0] == "z" && f.size() == 2) {
            g.zones_.push_back(f[1]);
        } else if (f[0] == "p" && (f.size() == 8 || f.size() == 9)) {
            const auto region = Count(f[2], g.regions_.size());
            const auto country = Count(f[3], g.countries_.size());
            const auto zone = Count(f[4], g.zones_.size());
            const auto population = Count(f[7], std::size_t(-1));
            if (!region || !country || !zone || !population || !IsDegrees(f[5]) ||
                !IsDegrees(f[6])) {
                return std::nullopt;
            }
            g.places_.push_back({f[1], f[5], f[6], *region, *country, *zone, *population,
                                 f.size() == 9 ? f[8] : f[1]});
        } else {
            return std::nullopt;
        }
    }
    if (g.places_.empty()) return std::nullopt;
    std::sort(g.folding_.begin(), g.folding_.end());
    for (const std::string_view r : g.regions_)
        g.regionWords_.push_back(Joined(Words(r, g.folding_)));
    for (const std::string_view c : g.countries_) {
        g.countryWords_.push_back(Joined(Words(c, g.folding_)));
    }
    return g;
}

Place Gazetteer::PlaceOf(const Entry& e) const {
    return {std::string(e.name),
            std::string(regions_[e.region]),
            std::string(countries_[e.country]),
            std::string(zones_[e.zone]),
            rt::StrictNumber(e.latitude).value(),  // the file's degrees are numbers (IsDegrees)
            rt::StrictNumber(e.longitude).value(),
            e.population};
}

bool Gazetteer::Kept(const Entry& e, const std::vector<std::vector<std::string>>& parts) const {
    return std::all_of(parts.begin() + 1, parts.end(), [&](const std::vector<std::string>& part) {
        return std::all_of(part.begin(), part.end(), [&](const std::string& w) {
            return Begins(regionWords_[e.region], w) || Begins(countryWords_[e.country], w);
        });
    });
}

Found Gazetteer::Find(std::string_view query, std::size_t most) const {
    Found found;
    const std::vector<std::vector<std::string>> parts = PartsOf(query, folding_);
    if (parts.front().empty()) return found;
    for (const Entry& e : places_) {
        const bool named = std::all_of(parts.front().begin(), parts.front().end(),
                                       [&](const std::string& w) { return Begins(e.words, w); });
        if (!named || !Kept(e, parts)) continue;
        if (found.first.size() < most) found.first.push_back(PlaceOf(e));
        ++found.count;
    }
    return found;
}

std::vector<std::string> Gazetteer::Nearest(std::string_view query, std::size_t most) const {
    // Typing goes wrong by a letter or two, and seldom in the first: a query longer than a name
    // is not a misspelt one, and the names looked at begin with its first letter or, swapped,
    // its second.
    constexpr std::size_t kLongest = 32;
    const std::string typed = Joined(PartsOf(query, folding_).front());
    std::vector<std::string> nearest;
    if (typed.empty() || typed.size() > kLongest) return nearest;
    const std::size_t farthest = std::max<std::size_t>(1, typed.size() / 3);
    // The names at each distance, most populous first (the order of the file).
    std::vector<std::vector<std::string_view>> at(farthest + 1);
    for (const Entry& e : places_) {
        const char first = FirstLetter(e.words);
        if (first != typed[0] && (typed.size() < 2 || first != typed[1])) continue;
        const std::string name = Joined(Words(e.words, folding_));
        const std::size_t d =
            Distance(typed, std::string_view(name).substr(0, typed.size()), farthest);
        if (d <= farthest && at[d].size() < most) at[d].push_back(e.name);
    }
    for (const auto& names : at) {
        for (const std::string_view name : names) {
            if (nearest.size() < most &&
                std::find(nearest.begin(), nearest.end(), name) == nearest.end()) {
                nearest.emplace_back(name);
            }
        }
    }
    return nearest;
}

}  // namespace places
