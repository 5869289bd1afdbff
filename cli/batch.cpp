#include "batch.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "daylight/solar_system.h"
#include "json_line.h"
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

    // The next line, without its line feed; a line longer than the cap (a CR before the line feed
    // not counted) is read to its end but not kept. A read error (a folder for an input, say)
    // ends the input with Failed.
    Read Next(std::string& line) {
        line.clear();
        // One byte more than the cap is kept, for the CR of a line of the longest length.
        constexpr std::size_t kKept = kLongestBatchLine + 1;
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
            const std::size_t room = kKept - std::min(line.size(), kKept);
            tooLong = tooLong || length > room;
            line.append(start, std::min(length, room));
            at_ += length + (feed ? 1 : 0);
            if (feed) break;
        }
        const bool endsInCr = !line.empty() && line.back() == '\r';
        tooLong = tooLong || line.size() - (endsInCr ? 1 : 0) > kLongestBatchLine;
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

// Fills the inputs from one line, or says what is wrong with it. A value is a string, or a
// number read from its JSON text as the same text in a string would be.
std::string ReadBatchLine(const std::string& line, DaylightInputs& inputs) {
    if (line.find('\0') != std::string::npos) return "holds a NUL byte";
    static const std::vector<std::string_view> known = [] {
        std::vector<std::string_view> fields = {"planet"};
        for (const daycalc::InputField& f : daycalc::kInputFields) fields.push_back(f.field);
        return fields;
    }();
    // Kept from line to line, so that a line's few members cost no allocation.
    static std::vector<JsonMember> members;
    if (std::string problem = ReadJsonLine(line, known, members); !problem.empty()) return problem;
    // A planet gives its values first, so that the line's own fields take their place.
    for (const JsonMember& m : members) {
        if (m.key != "planet") continue;
        if (m.kind != JsonMember::Kind::String) return "field \"planet\" is not a string";
        const daycalc::PlanetPreset* preset = daycalc::PlanetNamed(m.text);
        if (!preset) return "unknown planet \"" + Echo(m.text) + "\"";
        for (const auto& [member, text] : daycalc::PlanetTexts(*preset)) inputs.*member = text;
    }
    for (const JsonMember& m : members) {
        if (m.key == "planet") continue;
        const daycalc::InputField* field = daycalc::InputFieldNamed(m.key);
        if (m.kind == JsonMember::Kind::Other) {
            return "field \"" + m.key + "\" is not a string or a number";
        }
        inputs.*(field->text) = m.text;
    }
    return "";
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
            WriteOutcome(out, daycalc::ComputeDaylight(inputs), daycalc::ReadingNotes(inputs));
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
