// The window's side of the calculator's face: which of Form1's typed members each control fills,
// and pixels from the face's twips. The table checks itself as it compiles.
#pragma once

#include <iterator>
#include <string_view>
#include <variant>

#include "daylight/face.h"
#include "window/form1.h"

namespace form {

using face::Kind;

// The member of Form1Controls a control fills; frames fill none.
using Slot = std::variant<std::monostate, QLineEdit * Form1Controls::*,
                          ResultLabel * Form1Controls::*, QPushButton * Form1Controls::*>;

using C = Form1Controls;

constexpr std::pair<std::string_view, Slot> kSlots[] = {
    {"txtRP", &C::txtRP},       {"txtLat", &C::txtLat},     {"txtTilt", &C::txtTilt},
    {"txtAlpha", &C::txtAlpha}, {"txtY", &C::txtY},         {"lblMin", &C::lblMin},
    {"lblMax", &C::lblMax},     {"lblFull", &C::lblFull},   {"lblDay", &C::lblDay},
    {"lblNight", &C::lblNight}, {"Command1", &C::Command1},
};

// The member a control fills, or none.
constexpr Slot SlotOf(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kSlots); ++i) {
        if (kSlots[i].first == name) return kSlots[i].second;
    }
    return {};
}

// 15 twips make one pixel at 96 dots per inch; Qt scales device-independent pixels further on
// high-density screens.
constexpr int kTwipsPerPixel = 15;

// The desktop font the table is laid out for, in points. A larger desktop font scales the whole
// layout, and the values' font, in proportion; a smaller one leaves them as the table has them.
constexpr double kDesktopPointSize = 9;

// Pixels at a layout scale, rounded to the nearest.
constexpr int Pixels(int twips, double scale) {
    const double pixels = twips * scale / kTwipsPerPixel;
    return int(pixels + 0.5);
}

// Each kind fills a member of its own type, and every member is filled once. By index: a
// sanitizer's build does not take pointers into constant expressions.
constexpr bool EveryMemberFilledOnceByItsKind() {
    int filled = 0;
    for (int i = 0; i < face::kCount; ++i) {
        const face::Control& c = face::kControls[i];
        const std::size_t type = c.kind == Kind::Frame     ? 0
                                 : c.kind == Kind::TextBox ? 1
                                 : c.kind == Kind::Label   ? 2
                                                           : 3;
        const Slot slot = SlotOf(c.name);
        if (slot.index() != type) return false;
        filled += type != 0;
    }
    for (std::size_t i = 0; i < std::size(kSlots); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (kSlots[i].second == kSlots[j].second) return false;
        }
    }
    return filled == int(std::size(kSlots)) && filled == 11;
}
static_assert(EveryMemberFilledOnceByItsKind(), "a control fills a member not of its kind");

}  // namespace form
