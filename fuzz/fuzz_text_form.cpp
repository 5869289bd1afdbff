// Any finite double into the text form: the right fifteen digits in the right layout, and a
// text that reads back to a double with the same text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/runtime.h"
#include "text_form_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size != sizeof(double)) return -1;
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    if (!std::isfinite(x)) return -1;
    const std::string text = rt::TextFromDouble(x);
    if (!oracle::TextFormProblem(x, text).empty()) std::abort();
    // The text of the very largest doubles rounds up past the range; the rest read back.
    if (std::fabs(x) < 1.797693134862315e308 && rt::TextFromDouble(rt::ValFromText(text)) != text) {
        std::abort();
    }
    return 0;
}
