#include "runtime/runtime.h"

namespace rt {
namespace {

struct FaultTexts {
    std::string_view message;
    std::string_view kindName;
};

// In the order of FaultKind.
constexpr FaultTexts kFaultTexts[] = {
    {"Invalid argument", "invalid-argument"},
    {"Division by zero", "division-by-zero"},
    {"Overflow", "overflow"},
    {"Invalid operation", "invalid-operation"},
};

}  // namespace

std::string_view Fault::message() const noexcept {
    return kFaultTexts[static_cast<int>(kind_)].message;
}

std::string_view Fault::kindName() const noexcept {
    return kFaultTexts[static_cast<int>(kind_)].kindName;
}

void Raise(FaultKind kind) { throw Fault(kind); }

}  // namespace rt
