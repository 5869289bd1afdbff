#include "runtime/runtime.h"

namespace rt {
namespace {

struct FaultTexts {
    std::string_view message;
    std::string_view kindName;
};

// A switch, so that the compiler names any kind left without its texts.
FaultTexts TextsOf(FaultKind kind) {
    switch (kind) {
        case FaultKind::InvalidArgument:
            return {"Invalid argument", "invalid-argument"};
        case FaultKind::DivisionByZero:
            return {"Division by zero", "division-by-zero"};
        case FaultKind::Overflow:
            return {"Overflow", "overflow"};
        case FaultKind::InvalidOperation:
            return {"Invalid operation", "invalid-operation"};
    }
    return {"Fault", "fault"};
}

}  // namespace

std::string_view Fault::message() const noexcept { return TextsOf(kind_).message; }

std::string_view Fault::kindName() const noexcept { return TextsOf(kind_).kindName; }

void Raise(FaultKind kind) { throw Fault(kind); }

}  // namespace rt
