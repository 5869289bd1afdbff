#include <algorithm>
#include <charconv>
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

// The numeral matched at the start of the text, without its sign, ready for std::from_chars,
// and the decimal exponent of its leading non-zero digit, which tells an overflowing numeral
// from an underflowing one.
struct Numeral {
    std::string chars;
    bool negative = false;
    long long leadingExponent = 0;
};

// An exponent's digits stop counting here: far beyond any double (10^±309), so the sign of the
// leading exponent still tells overflow from underflow, and far below where a long long could
// overflow however many digits follow.
constexpr long long kExponentCap = 1'000'000'000;

// Digits with at most one full stop. Returns the count of digits.
long long TakeMantissa(Cursor& cursor, Numeral& numeral) {
    long long digits = 0, digitsBeforePoint = -1, firstNonZero = -1;
    for (;; cursor.Advance()) {
        const char c = cursor.Peek();
        if (IsDigit(c)) {
            if (c != '0' && firstNonZero < 0) firstNonZero = digits;
            ++digits;
        } else if (c == '.' && digitsBeforePoint < 0) {
            digitsBeforePoint = digits;
        } else {
            break;
        }
        numeral.chars += c;
    }
    if (digitsBeforePoint < 0) digitsBeforePoint = digits;
    numeral.leadingExponent = digitsBeforePoint - std::max(firstNonZero, 0LL) - 1;
    return digits;
}

// "E" or "e", an optional sign and at least one digit; without a digit the letter is not part
// of the number, and the cursor stays before it.
void TakeExponent(Cursor& cursor, Numeral& numeral) {
    Cursor probe = cursor;
    if (!probe.Take('e') && !probe.Take('E')) return;
    const bool negative = probe.Take('-');
    if (!negative) probe.Take('+');
    if (!IsDigit(probe.Peek())) return;
    numeral.chars += negative ? "e-" : "e";
    long long exponent = 0;
    for (; IsDigit(probe.Peek()); probe.Advance()) {
        numeral.chars += probe.Peek();
        exponent = std::min(exponent * 10 + (probe.Peek() - '0'), kExponentCap);
    }
    numeral.leadingExponent += negative ? -exponent : exponent;
    cursor = probe;
}

}  // namespace

double ValFromText(std::string_view text) {
    Cursor cursor(text);
    Numeral numeral;
    numeral.negative = cursor.Take('-');
    if (!numeral.negative) cursor.Take('+');
    if (TakeMantissa(cursor, numeral) == 0) return 0;
    TakeExponent(cursor, numeral);

    double magnitude = 0;
    const char* first = numeral.chars.data();
    const auto [end, error] = std::from_chars(first, first + numeral.chars.size(), magnitude);
    if (error == std::errc::result_out_of_range) {
        if (numeral.leadingExponent >= 0) Raise(FaultKind::Overflow);
        magnitude = 0;
    }
    return numeral.negative ? -magnitude : magnitude;
}

}  // namespace rt
