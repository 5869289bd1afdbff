#include "runtime/runtime.h"

namespace rt {

std::string_view Fault::message() const noexcept {
    switch (kind_) {
        case FaultKind::InvalidArgument:
            return "Invalid argument";
        case FaultKind::DivisionByZero:
            return "Division by zero";
        case FaultKind::Overflow:
            return "Overflow";
        case FaultKind::InvalidOperation:
            return "Invalid operation";
    }
    return "";
}

std::string_view Fault::kindName() const noexcept {
    switch (kind_) {
        case FaultKind::InvalidArgument:
            return "invalid-argument";
        case FaultKind::DivisionByZero:
            return "division-by-zero";
        case FaultKind::Overflow:
            return "overflow";
        case FaultKind::InvalidOperation:
            return "invalid-operation";
    }
    return "";
}

void Raise(FaultKind kind) { throw Fault(kind); }

}  // namespace rt
