// Why a calculation stopped, in plain words, with what to change and values that give an answer.
#pragma once

#include <functional>

#include "daylight/daylight.h"

namespace daycalc {

// Where a press stopped: reading a box, or computing one of the results.
enum class Stage { Reading, ShortestDay, ChosenDay, FullDaylight };

// The single calculation, which reads the point of the year, or the year, which does not.
enum class Mode { Single, Year };

struct Planet;

// The results of a press on the planet read, within the poles; a fault is thrown at the stage
// reached.
DaylightResults Calculate(const Planet& planet, Stage& stage);

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

// What is wrong with a latitude beyond a pole, in every mode.

// The latitude reached by going on over the pole, to as many decimals as it was typed with: 100
// gives 80, -100.5 gives -79.5, 300 gives -60.
double OverThePole(double latitude);

// The problem of a latitude beyond a pole, read from the inputs once every text has been read in
// that mode: a bad value, with the latitude on the other side of the pole to try where it gives an
// answer.
Problem BeyondThePole(const DaylightInputs& inputs, double latitude, Mode mode);

// The caption people know a field by: the box's for the five inputs, else its own.
std::string CaptionOf(std::string_view field);

}  // namespace daycalc
