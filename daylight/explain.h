// Why a calculation stopped, in plain words, with what to change and values that give an answer.
#pragma once

#include <functional>

#include "daylight/daylight.h"

namespace daycalc {

// Where a press stopped: reading a box, or computing one of the results.
enum class Stage { Reading, ShortestDay, ChosenDay, FullDaylight };

// The single calculation, which reads the point of the year, or the year, which does not.
enum class Mode { Single, Year };

// The results of a press; a fault is thrown at the stage reached.
DaylightResults Calculate(const DaylightInputs& inputs, Stage& stage);

// Whether the year of these inputs can be computed: it stops only where the single calculation
// stops beyond the polar circle, or on a number too large to read.
bool YearComputes(const DaylightInputs& inputs);

// The problem of these inputs in that mode, stopped at this stage with this fault. Every value it
// offers to try was computed in that mode and gave what its hint says.
Problem Explain(const DaylightInputs& inputs, rt::FaultKind kind, Stage stage, Mode mode);

// A value out of its range (no fault): what is wrong, the field at fault first, and values that
// bring every field into range.
Problem OutOfRange(std::string message, std::vector<std::string_view> fields,
                   std::vector<Try> tries);

// The caption people know a field by: the box's for the five inputs, else its own.
std::string CaptionOf(std::string_view field);

}  // namespace daycalc
