// Five texts, split at NUL bytes, into the whole calculation: texts that fit together or one
// fault, and the same texts again for the same inputs; and the year of the same planet, whose
// every row is finite and makes the solar day.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "outcome_invariants.h"

namespace {

// The texts in the order of the input table, each up to the next NUL byte.
daycalc::DaylightInputs Split(std::string_view data) {
    daycalc::DaylightInputs inputs;
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        const std::size_t end = std::min(data.find('\0'), data.size());
        inputs.*(f.text) = data.substr(0, end);
        data.remove_prefix(std::min(end + 1, data.size()));
    }
    return inputs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const daycalc::DaylightInputs inputs =
        Split(std::string_view(reinterpret_cast<const char*>(data), size));
    const daycalc::DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
    if (!oracle::OutcomeProblem(inputs, outcome).empty()) std::abort();
    const daycalc::DaylightOutcome again = daycalc::ComputeDaylight(inputs);
    if (outcome.index() != again.index()) std::abort();
    if (const auto* results = std::get_if<daycalc::DaylightResults>(&outcome)) {
        if (!(*results == std::get<daycalc::DaylightResults>(again))) std::abort();
    } else if (std::get<daycalc::Problem>(outcome).fault !=
               std::get<daycalc::Problem>(again).fault) {
        std::abort();
    }
    if (!oracle::YearProblem(inputs, daycalc::ComputeYear(inputs, 45)).empty()) std::abort();
    return 0;
}
