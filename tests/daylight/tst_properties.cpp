// Many seeded random presses, Earth-like and wild: every one gives texts that fit together or
// one fault, and the same inputs always give the same texts.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>
#include <random>
#include <string>

#include "outcome_invariants.h"

namespace {

constexpr int kPresses = 100'000;

class InputMaker {
  public:
    explicit InputMaker(std::uint64_t seed) : rng_(seed) {}

    daycalc::DaylightInputs Next() {
        const bool wild = Chance(0.3);
        return {.tilt = Text(wild ? Huge() : Uniform(0, 180)),
                .latitude = Text(wild ? Huge() : Uniform(-100, 100)),
                .solarDay = Text(wild ? Huge() : Uniform(0.1, 1000)),
                .fromSolstice = Text(wild ? Huge() : Uniform(0, 360)),
                .year = Text(wild ? Huge() : Uniform(1, 100000))};
    }

  private:
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    double Uniform(double lo, double hi) { return std::uniform_real_distribution(lo, hi)(rng_); }

    // A number of any size, or one of the angles where the formulas break.
    double Huge() {
        static constexpr double kEdges[] = {0, 90, -90, 66.5, -66.5, 23.5, 180, 1e-300, -1e-320};
        if (Chance(0.3)) return kEdges[std::uniform_int_distribution<int>(0, 8)(rng_)];
        const double magnitude = std::pow(10.0, Uniform(-330, 308.2));
        return Chance(0.5) ? -magnitude : magnitude;
    }

    // The number as a user might type it: plain, with blanks, or with junk around it.
    std::string Text(double value) {
        char buffer[40];
        std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        if (Chance(0.1))
            text.insert(std::uniform_int_distribution<std::size_t>(0, text.size())(rng_), " ");
        if (Chance(0.05)) text = "\t" + text + "\n";
        if (Chance(0.05)) text += Chance(0.5) ? "abc" : ",5";
        if (Chance(0.02)) text = Chance(0.5) ? "" : "x" + text;
        if (Chance(0.01)) text += "e999";
        return text;
    }

    std::mt19937_64 rng_;
};

// The texts of a press, for a failure message.
std::string Where(const daycalc::DaylightInputs& in) {
    return "tilt \"" + in.tilt + "\" latitude \"" + in.latitude + "\" solar day \"" + in.solarDay +
           "\" from solstice \"" + in.fromSolstice + "\" year \"" + in.year + "\"";
}

std::string KindOf(const daycalc::DaylightOutcome& outcome) {
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome))
        return std::string(problem->kindName());
    return std::get<daycalc::DaylightResults>(outcome).polar ? "polar" : "non-polar";
}

TEST(Properties, EveryPressGivesTextsThatFitTogetherOrOneFault) {
    InputMaker maker(20261208);
    std::map<std::string, int> seen;
    for (int i = 0; i < kPresses; ++i) {
        const daycalc::DaylightInputs inputs = maker.Next();
        const daycalc::DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
        const std::string where = Where(inputs);
        ASSERT_EQ(oracle::OutcomeProblem(inputs, outcome), "") << where;
        ASSERT_EQ(KindOf(daycalc::ComputeDaylight(inputs)), KindOf(outcome)) << where;
        if (const auto* results = std::get_if<daycalc::DaylightResults>(&outcome)) {
            ASSERT_EQ(std::get<daycalc::DaylightResults>(daycalc::ComputeDaylight(inputs)),
                      *results)
                << where;
        }
        ++seen[KindOf(outcome)];
    }
    for (const char* kind : {"non-polar", "polar", "division-by-zero", "invalid-argument",
                             "overflow", "invalid-operation"}) {
        EXPECT_GT(seen[kind], 0) << "the inputs never reached " << kind;
    }
    for (const auto& [kind, count] : seen) RecordProperty(kind, count);
}

// A hundred thousand presses that stop: each has its hint, and every value it offers to try gives
// an answer, with the daylight or the full daylight it promises (the invariants say so).
TEST(Properties, EveryStopHasAHintWhoseTriesGiveAnAnswer) {
    InputMaker maker(20261217);
    std::map<std::string, int> offered;
    for (int stops = 0; stops < kPresses;) {
        const daycalc::DaylightInputs inputs = maker.Next();
        const daycalc::DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
        const auto* problem = std::get_if<daycalc::Problem>(&outcome);
        if (!problem) continue;
        ++stops;
        ASSERT_EQ(oracle::OutcomeProblem(inputs, outcome), "") << Where(inputs);
        ++offered[problem->tries.empty() ? "nothing to try" : "tries"];
    }
    EXPECT_GT(offered["tries"], kPresses * 9 / 10) << "most stops have a way forward";
    for (const auto& [what, count] : offered) RecordProperty(what, count);
}

// Wherever the single calculation's arc cosine stops, the year states polar day or night instead.
TEST(Properties, EveryRowOfAYearIsFiniteAndMakesTheSolarDay) {
    InputMaker maker(20261209);
    int faults = 0;
    for (int i = 0; i < kPresses / 5; ++i) {
        const daycalc::DaylightInputs inputs = maker.Next();
        const daycalc::YearOutcome year = daycalc::ComputeYear(inputs, 30);
        ASSERT_EQ(oracle::YearProblem(inputs, year), "") << Where(inputs);
        faults += std::holds_alternative<daycalc::Problem>(year);
    }
    EXPECT_GT(faults, 0);
    RecordProperty("faults", faults);
}

}  // namespace
