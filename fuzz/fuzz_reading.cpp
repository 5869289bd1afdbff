// Any bytes into the lenient reading: a finite double or the overflow fault, nothing else, and
// for texts of digits, one point, a sign and blanks, exactly std::from_chars without the blanks.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reading_oracle.h"
#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto expected = oracle::ExpectedReading(text);
    try {
        const double value = rt::ValFromText(text);
        if (!std::isfinite(value)) std::abort();
        if (expected && (expected->overflow || std::bit_cast<std::uint64_t>(value) !=
                                                   std::bit_cast<std::uint64_t>(expected->value))) {
            std::abort();
        }
    } catch (const rt::Fault& fault) {
        if (fault.kind() != rt::FaultKind::Overflow) std::abort();
        if (expected && !expected->overflow) std::abort();
    }
    return 0;
}
