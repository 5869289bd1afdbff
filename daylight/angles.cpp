#include "daylight/daylight.h"

namespace daycalc {

using rt::Number;

namespace {
// π/4 as the arc tangent of 1 gives it, the same on every call: taken once.
const Number kQuarterTurn = rt::Atn(1.0);
}  // namespace

Number Radians(Number D) { return D / 180 * kQuarterTurn * 4; }

Number aCos(Number X) {
    const Number u = -X * X + 1;                        // the squared sine of the angle
    const Number s = rt::Sqr(u);                        // its sine
    const Number w = -X / s;                            // minus its cotangent
    return rt::Atn(w) + (kQuarterTurn + kQuarterTurn);  // the arc tangent moved on by a right angle
}

}  // namespace daycalc
