// The services the calculator stands on: reading numbers from text, writing them back, and
// arithmetic that stops at the first fault instead of carrying an infinity or a NaN forward.
#pragma once

#include <cmath>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/trigonometry.h"

namespace rt {

enum class FaultKind {
    InvalidArgument,   // the square root of a negative number: an arc cosine beyond ±1
    DivisionByZero,    // a finite non-zero number over 0: an arc cosine of exactly ±1, no tilt
    Overflow,          // a finite step that ends beyond the largest double, or such a numeral
    InvalidOperation,  // a step with no defined result, such as 0 · ∞ or ∞ − ∞
};

// A fault stops a computation; it carries its kind, a message for people ("Division by zero")
// and a stable name for programs ("division-by-zero").
class Fault : public std::exception {
  public:
    explicit Fault(FaultKind kind) : kind_(kind) {}
    FaultKind kind() const noexcept { return kind_; }
    std::string_view message() const noexcept;
    std::string_view kindName() const noexcept;
    const char* what() const noexcept override { return message().data(); }

  private:
    FaultKind kind_;
};

// The one place a fault is raised.
[[noreturn]] void Raise(FaultKind kind);

// The lenient reading: the number at the start of the text, blanks, tabs and line feeds
// ignored wherever they stand; no number reads as 0. A number is an optional sign, digits with
// at most one full stop (the only decimal point, whatever the locale), and an optional exponent
// "e" or "E" with an optional sign and at least one digit. It is rounded correctly to a double;
// one too small for a double reads as 0 with its sign, one beyond the double range is an
// overflow fault.
//   "23.5" → 23.5        " 2 3 . 5 deg" → 23.5    "23,5" → 23       "-1e3" → -1000
//   "2e" → 2             "abc" → 0                "" → 0            "0x10" → 0
//   "1e-400" → 0         "1e400" → overflow
double ValFromText(std::string_view text);

// The strict reading, for values that are not typed into a box: the whole text one decimal
// number, an optional sign, digits with at most one full stop, and an optional exponent, and
// nothing else (no blanks, no hexadecimal, no infinity or NaN); correctly rounded, or none where
// the text is not such a number or is beyond the double range.
//   "0.0934" → 0.0934      "-5" → -5      "+1e-3" → 0.001      ".5" → 0.5
//   "" → none      " 5" → none      "0x1p-2" → none      "inf" → none      "1e400" → none
std::optional<double> StrictNumber(std::string_view text);

// Whether the lenient reading takes the whole text: a number, with nothing but blanks before,
// within and after it. "38" and " 3 8 " are read whole; "38S", "23,5", "abc" and "" are not.
bool ReadWhole(std::string_view text);

// The default text form: the double rounded correctly to 15 significant digits, no trailing
// zeros, no point for a whole number. Plain where the first digit's decimal exponent is -4 to 14,
// otherwise a mantissa and "E" with a sign and at least two digits. Always a full stop.
//   12 → "12"                      9.352084178252251 → "9.35208417825225"
//   0.0001 → "0.0001"              0.00001 → "1E-05"
//   1e15 → "1E+15"                 -3.898177945687441e-321 → "-3.89817794568744E-321"
//   1.7976931348623157e308 → "1.79769313486232E+308", which reads back as an overflow
std::string TextFromDouble(double x);

// The shortest text that reads back as exactly x, for values handed from program to program:
//   0.1 → "0.1"      -3.5 → "-3.5"      1e22 → "1e+22"      0.1 + 0.2 → "0.30000000000000004"
std::string ShortestText(double x);

// Hours as people read them, rounded to the nearest second from the exact number of seconds (a
// half second up). A clock time after a midnight: "05:41:07", one on the next date "00:00:36 +1",
// on the one before "23:59:24 -1". A length of time: "9:21:07", "-0:00:07", "2802:00:00". Beyond
// a trillion hours, or not a number, the 15-digit text.
std::string ClockText(double hours);
std::string DurationText(double hours);
// The same to the nearest minute, for a page: a clock time "05:41" ("00:04 +1"), a length
// "14 h 25 min" ("25 min", "3 h", "0 min", "-2 min").
std::string ClockMinutesText(double hours);
std::string LengthWords(double hours);

// x rounded correctly to `digits` significant decimal digits (1 to 17), a half to even: what a
// label shows. 123.456 to 4 → 123.5; 0.000123456 to 2 → 0.00012.
double RoundToDigits(double x, int digits);

// A double whose every operation is checked: a result that is not a number is an invalid
// operation, a finite non-zero divided by zero a division by zero, and a finite computation
// that ends in an infinity an overflow. Inline, so that checked formulas cost what plain ones do.
class Number {
  public:
    Number(double value) : value_(value) {}  // NOLINT: literals take part in formulas
    double value() const noexcept { return value_; }

    // Every operand is finite (a fault stops anything else), so a NaN result is an invalid
    // operation and an infinite one an overflow.
    static Number Checked(double result) {
        if (result - result != 0) {  // not finite: one test for both, the common case
            Raise(std::isnan(result) ? FaultKind::InvalidOperation : FaultKind::Overflow);
        }
        return result;
    }

    friend Number operator+(Number a, Number b) { return Checked(a.value_ + b.value_); }
    friend Number operator-(Number a, Number b) { return Checked(a.value_ - b.value_); }
    friend Number operator*(Number a, Number b) { return Checked(a.value_ * b.value_); }
    friend Number operator/(Number a, Number b) {
        if (b.value_ == 0 && a.value_ != 0 && std::isfinite(a.value_)) {
            Raise(FaultKind::DivisionByZero);
        }
        return Checked(a.value_ / b.value_);
    }
    friend Number operator-(Number a) { return Number(-a.value_); }
    friend Number Abs(Number a) { return Number(std::fabs(a.value_)); }
    friend bool operator>=(Number a, Number b) { return a.value_ >= b.value_; }
    friend bool operator<=(Number a, Number b) { return a.value_ <= b.value_; }

  private:
    double value_;
};

// The tangent, cosine and arc tangent of a checked Number, as the calculation uses them: the
// plain double functions of runtime/trigonometry.h (Tangent, Cosine, ArcTangent, correctly
// rounded), with a result that is not a number raised as a fault.
inline Number Tan(Number x) { return Number::Checked(Tangent(x.value())); }
inline Number Cos(Number x) { return Number::Checked(Cosine(x.value())); }
inline Number Atn(Number x) { return Number::Checked(ArcTangent(x.value())); }

// The square root; a negative argument is an invalid-argument fault.
inline Number Sqr(Number x) {
    if (x.value() < 0) Raise(FaultKind::InvalidArgument);
    return Number::Checked(std::sqrt(x.value()));
}

}  // namespace rt
