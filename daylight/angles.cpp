#include "daylight/daylight.h"

namespace daycalc {

using rt::Number;

Number Radians(Number D) {
    const Number q = rt::Atn(1.0);  // π/4, taken afresh on every call
    return D / 180 * q * 4;
}

Number aCos(Number X) {
    const Number u = -X * X + 1;  // the squared sine of the angle
    const Number s = rt::Sqr(u);  // its sine
    const Number q = rt::Atn(1.0);
    const Number w = -X / s;      // minus its cotangent
    return rt::Atn(w) + (q + q);  // the arc tangent moved on by a right angle
}

}  // namespace daycalc
