// What every press must give, whatever was typed: five texts that fit together, or one fault.
// Shared by the property test and the fuzz target.
#pragma once

#include <cmath>
#include <optional>
#include <string>

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

// Says what is wrong with the outcome of the inputs, or nothing when it holds.
inline std::string OutcomeProblem(const daycalc::DaylightInputs& in,
                                  const daycalc::DaylightOutcome& outcome) {
    if (const auto* stop = std::get_if<daycalc::DaylightStop>(&outcome)) {
        if (stop->kindName().empty()) return "a fault without a kind";
        if (stop->cause.empty() || stop->hint.empty() || stop->boxes.empty()) {
            return "a stop without its cause, hint or boxes";
        }
        for (const auto box : stop->boxes) {
            for (const daycalc::InputField& f : daycalc::kInputFields) {
                const bool named = (stop->cause + stop->hint).find(f.caption) != std::string::npos;
                if (f.text == box && !named) return "a hint that does not name its box";
            }
        }
        return "";
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
    if (std::holds_alternative<rt::Fault>(outcome)) return "";
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
