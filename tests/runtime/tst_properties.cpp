// The reading and the text form against independent statements of their rules, over many
// seeded random inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "reading_oracle.h"
#include "runtime/runtime.h"
#include "text_form_oracle.h"

namespace {

constexpr int kSamples = 100'000;

// A double's bits and back, with the compilers' built-in: not every C++ library has
// std::bit_cast yet.
std::uint64_t BitsOf(double x) { return __builtin_bit_cast(std::uint64_t, x); }
double DoubleOf(std::uint64_t bits) { return __builtin_bit_cast(double, bits); }

std::string RandomText(std::mt19937_64& rng, std::string_view alphabet, int maxLength) {
    std::string text(std::uniform_int_distribution<int>(0, maxLength)(rng), ' ');
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (char& c : text) c = alphabet[pick(rng)];
    return text;
}

TEST(ReadingProperty, SimpleTextsReadAsFromCharsWithoutBlanks) {
    std::mt19937_64 rng(20261208);
    int compared = 0;
    for (int i = 0; i < kSamples; ++i) {
        const std::string text =
            std::string(i % 3 ? "" : "-") + RandomText(rng, "0123456789. \t\n", 30);
        const auto expected = oracle::ExpectedReading(text);
        if (!expected) continue;
        ++compared;
        try {
            const double value = rt::ValFromText(text);
            ASSERT_FALSE(expected->overflow) << '"' << text << '"';
            ASSERT_EQ(BitsOf(value), BitsOf(expected->value)) << '"' << text << '"';
        } catch (const rt::Fault& fault) {
            ASSERT_TRUE(expected->overflow) << '"' << text << "\": " << fault.message();
        }
    }
    EXPECT_GT(compared, kSamples / 2);
}

TEST(ReadingProperty, AnyTextReadsANumberOrOverflows) {
    std::mt19937_64 rng(7);
    const std::string alphabet = "0123456789.eE+- \t\n\rx,\xff";
    for (int i = 0; i < kSamples; ++i) {
        const std::string text = RandomText(rng, alphabet, 40);
        try {
            ASSERT_TRUE(std::isfinite(rt::ValFromText(text))) << '"' << text << '"';
        } catch (const rt::Fault& fault) {
            ASSERT_EQ(fault.kind(), rt::FaultKind::Overflow) << '"' << text << '"';
        }
    }
}

// A blank in front changes nothing, so a text read where it stands reads as it does when the
// reading walks over blanks ("2e 5" is 2e5 either way, "3 8" is 38).
TEST(ReadingProperty, ABlankInFrontChangesNothing) {
    std::mt19937_64 rng(23);
    for (int i = 0; i < kSamples; ++i) {
        const std::string text = RandomText(rng, "0123456789.eE+- \tx", 12);
        const auto read = [](const std::string& t) -> std::optional<double> {
            try {
                return rt::ValFromText(t);
            } catch (const rt::Fault&) {
                return std::nullopt;
            }
        };
        const std::optional<double> plain = read(text), blank = read(" " + text);
        ASSERT_EQ(plain.has_value(), blank.has_value()) << '"' << text << '"';
        if (plain) {
            ASSERT_EQ(BitsOf(*plain), BitsOf(*blank)) << '"' << text << '"';
        }
    }
}

TEST(TextFormProperty, AnyFiniteDoubleGetsItsFifteenDigitsInTheRightLayout) {
    std::mt19937_64 rng(42);
    for (int i = 0; i < kSamples; ++i) {
        const double x = DoubleOf(rng());
        if (!std::isfinite(x)) continue;
        const std::string text = rt::TextFromDouble(x);
        ASSERT_EQ(oracle::TextFormProblem(x, text), "") << text;
        if (std::fabs(x) < 1.797693134862315e308) {
            ASSERT_EQ(rt::TextFromDouble(rt::ValFromText(text)), text);
        }
    }
}

// Doubles whose exact value ends right at half a unit of the fifteenth digit, or near it: whole
// numbers and a half of sixteen digits, and doubles of few bits whose decimals end early.
TEST(TextFormProperty, HalfwayCasesRoundToEven) {
    std::mt19937_64 rng(15);
    for (int i = 0; i < kSamples; ++i) {
        const double half = double(std::int64_t(rng() % 2'000'000'000'000'000)) / 2 + 0.5;
        const double fewBits = std::ldexp(double(rng() >> 44), int(rng() % 2100) - 1100);
        for (const double x : {half, -half, fewBits}) {
            if (x == 0 || !std::isfinite(x)) continue;
            ASSERT_EQ(oracle::TextFormProblem(x, rt::TextFromDouble(x)), "") << x;
        }
    }
}

// The shortest text reads back as the double, and printf's correctly rounded text of one digit
// fewer does not: no shorter text would do.
TEST(TextFormProperty, ShortestTextIsShortest) {
    std::mt19937_64 rng(17);
    for (int i = 0; i < kSamples; ++i) {
        const double x = DoubleOf(rng());
        if (!std::isfinite(x) || x == 0) continue;
        const std::string text = rt::ShortestText(x);
        ASSERT_EQ(rt::StrictNumber(text), x) << text;
        const std::size_t mantissa = text.find('E');
        std::string digits = text.substr(0, mantissa);
        std::erase_if(digits, [](char c) { return c == '-' || c == '.'; });
        digits.erase(0, digits.find_first_not_of('0'));
        digits.erase(digits.find_last_not_of('0') + 1);
        if (digits.size() < 2) continue;
        char shorter[40];
        std::snprintf(shorter, sizeof shorter, "%.*e", int(digits.size()) - 2, x);
        ASSERT_NE(std::strtod(shorter, nullptr), x) << text << " could be " << shorter;
    }
}

}  // namespace
