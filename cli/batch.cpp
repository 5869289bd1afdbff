#include "batch.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <istream>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include "daylight/planets.h"
#include "output.h"

namespace companion {
namespace {

using daycalc::DaylightInputs;

enum class Read { Line, TooLong, End, Failed };

// Lines from a stream buffer, a chunk at a time: what the buffer holds is taken whole and
// searched for line feeds, and more is asked for only when it is used up, so that a co-process
// that waits for an answer is never waited for in turn.
class LineReader {
  public:
    explicit LineReader(std::streambuf& in) : in_(in) {}

    // The next line, without its line feed; a line longer than the cap is read to its end but not
    // kept. A read error (a folder for an input, say) ends the input with Failed.
    Read Next(std::string& line) {
        line.clear();
        bool tooLong = false, any = false;
        for (;;) {
            if (at_ == chunk_.size() && !Fill()) {
                if (failed_) return Read::Failed;
                if (!any) return Read::End;
                break;
            }
            any = true;
            const char* start = chunk_.data() + at_;
            const std::size_t left = chunk_.size() - at_;
            const char* feed = static_cast<const char*>(std::memchr(start, '\n', left));
            const std::size_t length = feed ? std::size_t(feed - start) : left;
            const std::size_t room = kLongestBatchLine - std::min(line.size(), kLongestBatchLine);
            tooLong = tooLong || length > room;
            line.append(start, std::min(length, room));
            at_ += length + (feed ? 1 : 0);
            if (feed) break;
        }
        return tooLong ? Read::TooLong : Read::Line;
    }

    // Whether more input is at hand without waiting for it.
    bool Waiting() const { return at_ < chunk_.size() || in_.in_avail() > 0; }

  private:
    bool Fill() {
        constexpr std::streamsize kChunk = 1 << 16;
        try {
            if (std::char_traits<char>::eq_int_type(in_.sgetc(), std::char_traits<char>::eof())) {
                return false;
            }
            chunk_.resize(std::size_t(std::clamp(in_.in_avail(), std::streamsize(1), kChunk)));
            chunk_.resize(std::size_t(in_.sgetn(chunk_.data(), std::streamsize(chunk_.size()))));
        } catch (const std::ios_base::failure&) {
            failed_ = true;
            return false;
        }
        at_ = 0;
        return !chunk_.empty();
    }

    std::streambuf& in_;
    std::string chunk_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

// A key as an error line echoes it: at most its first 40 bytes.
std::string Echo(std::string_view key) {
    constexpr std::size_t kLongest = 40;
    if (key.size() <= kLongest) return std::string(key);
    return std::string(key.substr(0, kLongest)) + "...";
}

const daycalc::InputField* FieldNamed(std::string_view key) {
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        if (f.field == key) return &f;
    }
    return nullptr;
}

// The common line, an object of plain strings with the inputs' keys, read without building JSON:
// printable ASCII without escapes. Anything else returns false and goes to the JSON library,
// which gives the same inputs where this accepts a line, and every error where it does not.
class FlatObject {
  public:
    explicit FlatObject(std::string_view line) : text_(line) {}

    bool Read(DaylightInputs& inputs) {
        unsigned given = 0;  // one bit a field, so that a field given twice goes to the library
        SkipBlanks();
        if (!Take('{')) return false;
        SkipBlanks();
        if (!Take('}')) {
            for (;;) {
                std::string_view key, value;
                if (!String(key)) return false;
                SkipBlanks();
                if (!Take(':')) return false;
                SkipBlanks();
                if (!String(value)) return false;
                const daycalc::InputField* field = FieldNamed(key);
                if (!field) return false;
                const unsigned bit = 1u << (field - daycalc::kInputFields.data());
                if (given & bit) return false;
                given |= bit;
                inputs.*(field->text) = value;
                SkipBlanks();
                if (Take('}')) break;
                if (!Take(',')) return false;
                SkipBlanks();
            }
        }
        SkipBlanks();
        return at_ == text_.size();
    }

  private:
    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n')) {
            ++at_;
        }
    }
    bool Take(char c) {
        if (at_ == text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool String(std::string_view& s) {
        if (!Take('"')) return false;
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_];
            if (c < 0x20 || c > 0x7e || c == '\\') return false;
            ++at_;
        }
        s = text_.substr(start, at_ - start);
        return Take('"');
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Fills the inputs from one line through the JSON library, or says what is wrong with it.
std::string ReadWithLibrary(const std::string& line, DaylightInputs& inputs) {
    std::string twice;
    std::set<std::string> seen;
    const auto duplicates = [&](int depth, Json::parse_event_t event, Json& parsed) {
        if (depth == 1 && event == Json::parse_event_t::key && twice.empty() &&
            !seen.insert(parsed.get<std::string>()).second) {
            twice = parsed.get<std::string>();
        }
        return true;
    };
    const Json json = Json::parse(line, duplicates, false);
    if (json.is_discarded()) return "not valid JSON";
    if (!json.is_object()) return "not a JSON object";
    if (!twice.empty()) return "field \"" + Echo(twice) + "\" given twice";
    // A planet gives its values first, so that the line's own fields take their place.
    if (const auto planet = json.find("planet"); planet != json.end()) {
        if (!planet->is_string()) return "field \"planet\" is not a string";
        const daycalc::PlanetPreset* preset = daycalc::PlanetNamed(planet->get<std::string>());
        if (!preset) return "unknown planet \"" + Echo(planet->get<std::string>()) + "\"";
        for (const auto& [member, text] : daycalc::PlanetTexts(*preset)) inputs.*member = text;
    }
    for (const auto& item : json.items()) {
        if (item.key() == "planet") continue;
        const daycalc::InputField* field = FieldNamed(item.key());
        if (!field) return "unknown field \"" + Echo(item.key()) + "\"";
        if (!item.value().is_string()) return "field \"" + item.key() + "\" is not a string";
        inputs.*(field->text) = item.value().get<std::string>();
    }
    return "";
}

// What is wrong with a line, or nothing, with the inputs it fills.
std::string ReadBatchLine(const std::string& line, DaylightInputs& inputs) {
    if (line.find('\0') != std::string::npos) return "holds a NUL byte";
    if (FlatObject(line).Read(inputs)) return "";
    inputs = DaylightInputs();
    return ReadWithLibrary(line, inputs);
}

}  // namespace

int RunBatch(std::istream& in, std::ostream& out, std::ostream& err) {
    int status = kResults;
    std::string line;
    LineReader input(*in.rdbuf());
    for (long long number = 1;; ++number) {
        const Read read = input.Next(line);
        if (read == Read::End) break;
        if (read == Read::Failed) return ReportReadFailure(err);
        if (read == Read::Line && IsBlankLine(line)) continue;
        DaylightInputs inputs;
        const std::string problem =
            read == Read::TooLong ? "longer than " + std::to_string(kLongestBatchLine) + " bytes"
                                  : ReadBatchLine(line, inputs);
        if (problem.empty()) {
            WriteOutcome(out, daycalc::ComputeDaylight(inputs));
        } else {
            out << Dump({{"error", "line " + std::to_string(number) + ": " + problem}}) << '\n';
            status = kBadInput;
        }
        // A co-process gets each answer before it sends its next line; a file, large writes.
        if (!input.Waiting()) out.flush();
        if (!out) return ReportWriteFailure(err);
    }
    return status;
}

}  // namespace companion
