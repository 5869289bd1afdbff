// Why a press stopped, in plain words, with what to change and in which boxes.
#pragma once

#include "daylight/daylight.h"

namespace daycalc {

// The stop of a press of these inputs at this stage with this fault.
DaylightStop Explain(const DaylightInputs& inputs, const rt::Fault& fault, Stage stage);

}  // namespace daycalc
