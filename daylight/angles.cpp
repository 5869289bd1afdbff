#include "daylight/daylight.h"

namespace daycalc {

using rt::Number;

namespace {
// π/4 as the arc tangent of 1 gives it, the same on every call: taken once, when first asked for
// (so that no other initialisation can find it not yet taken).
Number QuarterTurn() {
    static const Number q = rt::Atn(1.0);
    return q;
}
}  // namespace

Number Radians(Number D) { return D / 180 * QuarterTurn() * 4; }

Number aCos(Number X) {
    const Number u = -X * X + 1;  // the squared sine of the angle
    const Number s = rt::Sqr(u);  // its sine
    const Number w = -X / s;      // minus its cotangent
    const Number right = QuarterTurn() + QuarterTurn();
    return rt::Atn(w) + right;  // the arc tangent moved on by a right angle
}

}  // namespace daycalc
