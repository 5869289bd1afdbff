// Any double into the sine, cosine, tangent and arc tangent: each the double MPFR rounds the
// exact value to, and the slow way (which the rounding test seldom lets run) the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "../runtime/trigonometry_parts.h"
#include "runtime/trigonometry.h"
#include "trigonometry_oracle.h"

namespace {

std::uint64_t BitsOf(double x) { return __builtin_bit_cast(std::uint64_t, x); }

void Check(oracle::Circular f, rt::parts::Function part, double (*function)(double), double x) {
    const double expected = oracle::Mpfr(f, x), got = function(x);
    if (std::isnan(expected) ? !std::isnan(got) : BitsOf(got) != BitsOf(expected)) std::abort();
    const double a = std::fabs(x);
    const bool slowWayTakes =
        a >= 0x1p-27 && std::isfinite(a) && (part != rt::parts::Function::ArcTangent || a < 0x1p53);
    if (slowWayTakes && BitsOf(rt::parts::Slow(part, x)) != BitsOf(std::fabs(expected))) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size != sizeof(double)) return -1;
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    if (std::isnan(x)) return -1;
    Check(oracle::Circular::Sine, rt::parts::Function::Sine, rt::Sine, x);
    Check(oracle::Circular::Cosine, rt::parts::Function::Cosine, rt::Cosine, x);
    Check(oracle::Circular::Tangent, rt::parts::Function::Tangent, rt::Tangent, x);
    Check(oracle::Circular::ArcTangent, rt::parts::Function::ArcTangent, rt::ArcTangent, x);
    return 0;
}
