#include "daylight/daylight.h"

namespace daycalc {

using rt::Number;

namespace {
// π/4, the arc tangent of 1: the runtime's arc tangent is correctly rounded, so Atn(1) is π/4
// rounded on every call, and is taken as that (a test holds the two equal).
Number QuarterPi() { return rt::kQuarterPi; }
}  // namespace

Number Radians(Number D) { return D / 180 * QuarterPi() * 4; }

Number aCos(Number X) {
    const Number u = -X * X + 1;                     // the squared sine of the angle
    const Number s = rt::Sqr(u);                     // its sine
    const Number w = -X / s;                         // minus its cotangent
    const Number right = QuarterPi() + QuarterPi();  // π/2
    return rt::Atn(w) + right;                       // the arc tangent moved on by a right angle
}

}  // namespace daycalc
