#include "json_line.h"

#include <algorithm>
#include <cstdint>

namespace companion {
namespace {

class Reader {
  public:
    Reader(std::string_view text, const std::vector<std::string_view>& known)
        : text_(text), known_(known) {}

    // The line: a value between blanks, nothing else.
    std::string Line(std::vector<JsonMember>& members) {
        Blanks();
        const bool object = Peek() == '{';
        if (object) {
            TopObject(members);
        } else {
            Value(0, nullptr);
        }
        Blanks();
        if (!problem_.empty()) return problem_;
        if (at_ != text_.size()) return "not valid JSON";
        return object ? "" : "not a JSON object";
    }

  private:
    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    bool Failed() const { return !problem_.empty(); }
    void Fail(std::string problem = "not valid JSON") {
        if (problem_.empty()) problem_ = problem;
        at_ = text_.size();  // stop at the first problem
    }
    bool Take(char c) {
        if (Peek() != c || at_ == text_.size()) return false;
        ++at_;
        return true;
    }
    void Expect(char c) {
        if (!Take(c)) Fail();
    }
    void Blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    // The top-level object: its members kept, each a known field given once.
    void TopObject(std::vector<JsonMember>& members) {
        Expect('{');
        Blanks();
        if (Take('}')) return;
        do {
            Blanks();
            JsonMember member{{}, JsonMember::Kind::Other, {}};
            String(&member.key);
            Blanks();
            Expect(':');
            Blanks();
            if (Failed()) return;
            if (std::find(known_.begin(), known_.end(), member.key) == known_.end()) {
                return Fail("unknown field \"" + Echo(member.key) + "\"");
            }
            for (const JsonMember& m : members) {
                if (m.key == member.key) return Fail("field \"" + Echo(m.key) + "\" given twice");
            }
            if (Peek() == '"') {
                member.kind = JsonMember::Kind::String;
                String(&member.text);
            } else if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
                member.kind = JsonMember::Kind::Number;
                const std::size_t start = at_;
                Number();
                member.text = text_.substr(start, at_ - start);
            } else {
                Value(1, nullptr);
            }
            if (Failed()) return;
            members.push_back(std::move(member));
            Blanks();
        } while (Take(','));
        Expect('}');
    }

    // Any value, checked and passed over; a string's text goes to `into` where it is given.
    void Value(int depth, std::string* into) {
        if (depth > kDeepestNesting) return Fail("nested deeper than 64 levels");
        switch (Peek()) {
            case '{':
                ++at_;
                Blanks();
                if (Take('}')) return;
                do {
                    Blanks();
                    String(nullptr);
                    Blanks();
                    Expect(':');
                    Blanks();
                    Value(depth + 1, nullptr);
                    Blanks();
                } while (!Failed() && Take(','));
                return Expect('}');
            case '[':
                ++at_;
                Blanks();
                if (Take(']')) return;
                do {
                    Blanks();
                    Value(depth + 1, nullptr);
                    Blanks();
                } while (!Failed() && Take(','));
                return Expect(']');
            case '"':
                return String(into);
            case 't':
                return Word("true");
            case 'f':
                return Word("false");
            case 'n':
                return Word("null");
            default:
                return Number();
        }
    }

    void Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return Fail();
        at_ += word.size();
    }

    void Digits() {
        if (!(Peek() >= '0' && Peek() <= '9')) return Fail();
        while (Peek() >= '0' && Peek() <= '9') ++at_;
    }

    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    void Number() {
        Take('-');
        if (!Take('0')) Digits();
        if (Take('.')) Digits();
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            Digits();
        }
    }

    void Hex4(std::uint32_t& code) {
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) return Fail();
            code = code * 16 + std::uint32_t(digit);
            ++at_;
        }
    }

    static void Utf8(std::uint32_t code, std::string& out) {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    // \uXXXX, a surrogate pair as one character; a lone surrogate is not valid.
    void Escaped(std::string* into) {
        std::uint32_t code = 0;
        Hex4(code);
        if (code >= 0xDC00 && code <= 0xDFFF) return Fail();
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!Take('\\') || !Take('u')) return Fail();
            Hex4(low);
            if (!(low >= 0xDC00 && low <= 0xDFFF)) return Fail();
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        if (into && !Failed()) Utf8(code, *into);
    }

    // The bytes of one UTF-8 character after its lead byte, which must be well formed.
    bool Continued(unsigned char lead) {
        int more = 0;
        std::uint32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, least = 0x10000;
        } else {
            return false;
        }
        std::uint32_t code = lead & (0x3F >> more);
        for (int i = 0; i < more; ++i) {
            const auto c = static_cast<unsigned char>(Peek());
            if (at_ == text_.size() || (c & 0xC0) != 0x80) return false;
            code = code << 6 | (c & 0x3F);
            ++at_;
        }
        return code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    }

    void String(std::string* into) {
        if (!Take('"')) return Fail();
        for (;;) {
            // The plain bytes up to the next quote, escape, control or non-ASCII byte, at once.
            const std::size_t start = at_;
            while (at_ < text_.size()) {
                const auto c = static_cast<unsigned char>(text_[at_]);
                if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
                ++at_;
            }
            if (into) into->append(text_.data() + start, at_ - start);
            if (at_ == text_.size()) return Fail();
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return;
            if (c < 0x20) return Fail();
            if (c == '\\') {
                Escape(into);
                if (Failed()) return;
                continue;
            }
            // One UTF-8 character, which must be well formed.
            const std::size_t lead = at_ - 1;
            if (!Continued(c)) return Fail();
            if (into) into->append(text_.data() + lead, at_ - lead);
        }
    }

    // The escape after a backslash: one of \" \\ \/ \b \f \n \r \t, or \uXXXX.
    void Escape(std::string* into) {
        if (at_ == text_.size()) return Fail();
        const char e = text_[at_++];
        if (e == 'u') return Escaped(into);
        constexpr std::string_view plain = "\"\\/bfnrt";
        constexpr std::string_view as = "\"\\/\b\f\n\r\t";
        const std::size_t which = plain.find(e);
        if (which == std::string_view::npos) return Fail();
        if (into) *into += as[which];
    }

    std::string_view text_;
    const std::vector<std::string_view>& known_;
    std::size_t at_ = 0;
    std::string problem_;
};

}  // namespace

std::string Echo(std::string_view key) {
    constexpr std::size_t kLongest = 40;
    if (key.size() <= kLongest) return std::string(key);
    return std::string(key.substr(0, kLongest)) + "...";
}

std::string ReadJsonLine(std::string_view line, const std::vector<std::string_view>& known,
                         std::vector<JsonMember>& members) {
    members.clear();
    return Reader(line, known).Line(members);
}

}  // namespace companion
