// What every press must give, whatever was typed: five texts that fit together, or one fault.
// Shared by the property test and the fuzz target.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <type_traits>

#include "daylight/daylight.h"
#include "daylight/year.h"

namespace oracle {

inline std::optional<double> ReadBack(const std::string& text) {
    try {
        return rt::ValFromText(text);
    } catch (const rt::Fault&) {
        return std::nullopt;  // a 15-digit text rounded up past the largest double
    }
}

// Whether two texts of the 15-digit form add up to the whole, within their rounding.
inline bool MakeTheWhole(const std::string& part1, const std::string& part2, double whole) {
    const auto a = ReadBack(part1), b = ReadBack(part2);
    if (!a || !b) return true;
    const double scale = std::fabs(*a) / 2 + std::fabs(*b) / 2 + std::fabs(whole) / 2;
    const double gap = std::fabs(*a / 2 + *b / 2 - whole / 2);
    return gap <= 1e-14 * scale + 1e-300;
}

// The inputs with the values a problem offers to try.
inline daycalc::DaylightInputs TheTries(daycalc::DaylightInputs in, const daycalc::Problem& p) {
    for (const daycalc::Try& t : p.tries) in.*(daycalc::InputFieldNamed(t.field)->text) = t.text;
    return in;
}

// Says what is wrong with a problem, or nothing: it has a kind, a cause and a hint that names
// each box it names, and its tries give what the hint promises (an answer; the day's daylight;
// or the span of full daylight where the year has the days).
template <typename Outcome>
std::string ProblemProblem(const daycalc::DaylightInputs& in, const daycalc::Problem& problem,
                           const Outcome& tried) {
    // The one stop without a fault is a latitude beyond a pole, which is a bad value.
    const std::optional<double> latitude = ReadBack(in.latitude);
    const bool beyondThePole = latitude && !(std::fabs(*latitude) <= 90);
    if (!problem.fault && !beyondThePole) return "a stop without its fault";
    if (problem.fault && beyondThePole && problem.fault != rt::FaultKind::Overflow) {
        return "a latitude beyond a pole that is not a bad value";
    }
    if (problem.cause.empty() || problem.hint.empty() || problem.fields.empty()) {
        return "a stop without its cause, hint or boxes";
    }
    for (const std::string_view field : problem.fields) {
        const daycalc::InputField* f = daycalc::InputFieldNamed(field);
        if (!f) return "a hint that names no box";
        if (problem.Text().find(f->caption) == std::string::npos) {
            return "a hint that does not name its box";
        }
    }
    if (problem.tries.empty()) return "";
    if (std::holds_alternative<daycalc::Problem>(tried)) return "a try that stops: " + problem.hint;
    if constexpr (std::is_same_v<Outcome, daycalc::DaylightOutcome>) {
        const auto& r = std::get<daycalc::DaylightResults>(tried);
        if (problem.year && r.fullDaylight.empty()) return "no full daylight where promised";
        const bool daylight = problem.cause.find("formula for daylight") != std::string::npos;
        if (daylight && r.daylight.empty()) return "no daylight where promised";
    }
    (void)in;
    return "";
}

// Says what is wrong with the outcome of the inputs, or nothing when it holds.
inline std::string OutcomeProblem(const daycalc::DaylightInputs& in,
                                  const daycalc::DaylightOutcome& outcome) {
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
        return ProblemProblem(in, *problem, daycalc::ComputeDaylight(TheTries(in, *problem)));
    }
    const auto& r = std::get<daycalc::DaylightResults>(outcome);
    const double solarDay = rt::ValFromText(in.solarDay);
    if (r.polar) {
        if (r.fullDaylight.empty()) return "polar Full Daylight empty";
        if (r.minDay != "0") return "polar Min Day is not 0";
        if (r.maxDay != rt::TextFromDouble(solarDay)) return "polar Max Day is not the solar day";
        if (!r.daylight.empty() || !r.night.empty()) return "polar Daylight or Night filled";
        return "";
    }
    if (r.minDay.empty() || r.maxDay.empty() || r.daylight.empty() || r.night.empty()) {
        return "a non-polar result is empty";
    }
    if (!r.fullDaylight.empty()) return "non-polar Full Daylight filled";
    if (!MakeTheWhole(r.minDay, r.maxDay, solarDay)) return "Min Day + Max Day != solar day";
    if (!MakeTheWhole(r.daylight, r.night, solarDay)) return "Daylight + Night != solar day";
    return "";
}

// Says what is wrong with a year, or nothing: every row is finite and makes the solar day.
inline std::string YearProblem(const daycalc::DaylightInputs& in,
                               const daycalc::YearOutcome& outcome) {
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
        return ProblemProblem(in, *problem, daycalc::ComputeYear(TheTries(in, *problem), 360));
    }
    const double solarDay = rt::ValFromText(in.solarDay);
    for (const daycalc::YearPoint& p : std::get<daycalc::YearView>(outcome).points) {
        if (!std::isfinite(p.daylight) || !std::isfinite(p.night)) return "a row not finite";
        if (std::fabs(p.daylight + p.night - solarDay) > 1e-14 * std::fabs(solarDay)) {
            return "daylight + night != solar day at " + rt::TextFromDouble(p.fromSolstice);
        }
    }
    return "";
}

}  // namespace oracle
