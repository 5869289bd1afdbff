#include <fast_float/fast_float.h>

#include <cmath>
#include <string>

#include "runtime/runtime.h"

namespace rt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks the text as if every blank, tab and line feed were not there.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) { SkipBlanks(); }
    bool AtEnd() const { return pos_ == text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Advance() {
        ++pos_;
        SkipBlanks();
    }
    bool Take(char c) {
        if (AtEnd() || Peek() != c) return false;
        Advance();
        return true;
    }

  private:
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The numeral matched at the start of the text, without its sign and blanks, ready for
// from_chars.
struct Numeral {
    std::string chars;
    bool negative = false;
};

// Digits with at most one full stop, into the numeral where one is given. Returns the count of
// digits.
long long TakeMantissa(Cursor& cursor, Numeral* numeral) {
    long long digits = 0;
    bool point = false;
    for (;; cursor.Advance()) {
        const char c = cursor.Peek();
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        if (numeral) numeral->chars += c;
    }
    return digits;
}

// "E" or "e", an optional sign and at least one digit; without a digit the letter is not part
// of the number, and the cursor stays before it.
void TakeExponent(Cursor& cursor, Numeral* numeral) {
    Cursor probe = cursor;
    if (!probe.Take('e') && !probe.Take('E')) return;
    const bool negative = probe.Take('-');
    if (!negative) probe.Take('+');
    if (!IsDigit(probe.Peek())) return;
    if (numeral) numeral->chars += negative ? "e-" : "e";
    for (; IsDigit(probe.Peek()); probe.Advance()) {
        if (numeral) numeral->chars += probe.Peek();
    }
    cursor = probe;
}

// The numeral at the start of the text, and whether nothing but blanks follows it.
struct Taken {
    Numeral numeral;
    bool digits = false;
    bool whole = false;
};

// The numeral is built only where `build` asks for it; whether the text is read whole needs none.
Taken Take(std::string_view text, bool build = true) {
    Cursor cursor(text);
    Taken taken;
    Numeral* numeral = build ? &taken.numeral : nullptr;
    taken.numeral.negative = cursor.Take('-');
    if (!taken.numeral.negative) cursor.Take('+');
    taken.digits = TakeMantissa(cursor, numeral) > 0;
    if (taken.digits) TakeExponent(cursor, numeral);
    taken.whole = taken.digits && cursor.AtEnd();
    return taken;
}

// The same reading where no blank stands where a numeral could go on: the numeral is then a
// piece of the text itself, and fast_float reads it where it stands. None where the walk stops at
// a blank (the reading walks over blanks, so the numeral may go on after it).
std::optional<double> ReadWithoutBlanks(std::string_view text) {
    const char* const end = text.data() + text.size();
    const char* first = text.data();
    const bool negative = first != end && *first == '-';
    if (first != end && (*first == '-' || *first == '+')) ++first;
    // fast_float reads the numeral where it stands, or none where no digit opens it (it would take
    // "inf" and "nan", which are no numerals here).
    if (first == end || !(IsDigit(*first) || *first == '.')) {
        return first != end && IsBlank(*first) ? std::nullopt : std::optional<double>(0.0);
    }
    double magnitude = 0;
    const char* stop = fast_float::from_chars(first, end, magnitude).ptr;
    if (stop == first) return std::nullopt;  // a full stop and no digit yet: digits may follow
    // Where the walk stops at a blank, or at an exponent whose sign or digits a blank interrupts,
    // the numeral may go on after it.
    const auto blankAt = [end](const char* p) { return p < end && IsBlank(*p); };
    if (blankAt(stop)) return std::nullopt;
    if (stop != end && (*stop == 'e' || *stop == 'E')) {
        const char* next = stop + 1;
        if (next != end && (*next == '-' || *next == '+')) ++next;
        if (blankAt(next)) return std::nullopt;
    }
    if (std::isinf(magnitude)) Raise(FaultKind::Overflow);
    return negative ? -magnitude : magnitude;
}

}  // namespace

double ValFromText(std::string_view text) {
    if (const std::optional<double> value = ReadWithoutBlanks(text)) return *value;
    const Taken taken = Take(text);
    if (!taken.digits) return 0;
    const Numeral& numeral = taken.numeral;

    // Rounded correctly, to an infinity beyond the largest double and to 0 or a subnormal below
    // the smallest, by fast_float, the same on every compiler and C++ library.
    double magnitude = 0;
    const char* first = numeral.chars.data();
    fast_float::from_chars(first, first + numeral.chars.size(), magnitude);
    if (std::isinf(magnitude)) Raise(FaultKind::Overflow);
    return numeral.negative ? -magnitude : magnitude;
}

bool ReadWhole(std::string_view text) { return Take(text, false).whole; }

std::optional<double> StrictNumber(std::string_view text) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t from = at;
        while (at < text.size() && IsDigit(text[at])) ++at;
        return at - from;
    };
    const bool negative =
        at < text.size() && (text[at] == '-' || text[at] == '+') && text[at++] == '-';
    const std::size_t start = at;
    std::size_t count = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        count += digits();
    }
    if (count == 0) return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
        if (digits() == 0) return std::nullopt;
    }
    if (at != text.size()) return std::nullopt;
    double magnitude = 0;
    const char* first = text.data() + start;
    fast_float::from_chars(first, text.data() + text.size(), magnitude);
    if (std::isinf(magnitude)) return std::nullopt;
    return negative ? -magnitude : magnitude;
}

}  // namespace rt
