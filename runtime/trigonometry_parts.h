// The two ways of the circular functions apart, for the tests that hold each against an oracle:
// the fast way's pair before its rounding test, and the slow way's rounded result. Both give the
// magnitude of the value, for arguments from 2^-27 (arc tangent: below 2^53).
#pragma once

#include "double_double.h"

namespace rt::parts {

enum class Function { Sine, Cosine, Tangent, ArcTangent };

TwoDoubles Fast(Function function, double x);
double Slow(Function function, double x);

}  // namespace rt::parts
