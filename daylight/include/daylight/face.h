// The calculator's face as data, the same for every front end that shows it: its controls with
// their kinds, containers, captions, places in twips and tab order, the stepped rule, and what
// each box and result means. The table checks itself as it compiles.
#pragma once

#include <iterator>
#include <string_view>
#include <utility>

#include "daylight/daylight.h"

namespace face {

enum class Kind { Frame, TextBox, Label, Button };

struct Control {
    std::string_view name;
    Kind kind;
    std::string_view container;
    std::string_view caption;  // a frame's or the button's caption, a text box's starting text
    int left, top, width, height;
    int tabIndex;
};

struct Line {
    const char* name;
    int x1, y1, x2, y2;
};

// The client area of Form1, in twips.
constexpr int kFormWidth = 5070;
constexpr int kFormHeight = 5865;

// Each control is placed relative to its container; a container comes before what it holds.
// clang-format off
constexpr Control kControls[] = {
    // name       kind           container  caption or text             left   top  width height tab
    {"Frame1",   Kind::Frame,   "Form1",   "Solar Day",                 360,  240, 2055, 735,  5},
    {"txtRP",    Kind::TextBox, "Frame1",  "24",                        120,  240, 1815, 375,  0},
    {"Frame2",   Kind::Frame,   "Form1",   "Latitude",                  360, 1080, 2055, 735,  7},
    {"txtLat",   Kind::TextBox, "Frame2",  "38",                        120,  240, 1815, 375,  2},
    {"Frame3",   Kind::Frame,   "Form1",   "Tilt",                      360, 1920, 2055, 735,  8},
    {"txtTilt",  Kind::TextBox, "Frame3",  "23.5",                      120,  240, 1815, 375,  4},
    {"Frame4",   Kind::Frame,   "Form1",   "Min Day",                   360, 3360, 2055, 735,  9},
    {"lblMin",   Kind::Label,   "Frame4",  "",                          120,  240, 1815, 375, 11},
    {"Frame5",   Kind::Frame,   "Form1",   "Max Day",                   360, 4200, 2055, 735, 10},
    {"lblMax",   Kind::Label,   "Frame5",  "",                          120,  240, 1815, 375, 12},
    {"Command1", Kind::Button,  "Form1",   "Compute",                   360, 5160, 1215, 495,  6},
    {"Frame6",   Kind::Frame,   "Form1",   "Deg from Winter Solstice", 2640,  240, 2175, 735, 13},
    {"txtAlpha", Kind::TextBox, "Frame6",  "0",                         120,  240, 1935, 375,  1},
    {"Frame9",   Kind::Frame,   "Form1",   "Length of Year",           2640, 1080, 2175, 735, 18},
    {"txtY",     Kind::TextBox, "Frame9",  "365.25",                    120,  240, 1935, 375,  3},
    {"Frame10",  Kind::Frame,   "Form1",   "Full Daylight",            2640, 2400, 2175, 735, 19},
    {"lblFull",  Kind::Label,   "Frame10", "",                          120,  240, 1935, 375, 20},
    {"Frame7",   Kind::Frame,   "Form1",   "Daylight",                 2640, 3360, 2175, 735, 14},
    {"lblDay",   Kind::Label,   "Frame7",  "",                          120,  240, 1935, 375, 15},
    {"Frame8",   Kind::Frame,   "Form1",   "Night",                    2640, 4200, 2175, 735, 16},
    {"lblNight", Kind::Label,   "Frame8",  "",                          120,  240, 1935, 375, 17},
};

// What each box and result means, with its unit or sign, for its tooltip.
constexpr std::pair<std::string_view, std::string_view> kTips[] = {
    {"txtRP", "The length of one solar day, from noon to noon, in any unit (24 for hours on the "
              "Earth). Min Day, Max Day, Daylight and Night come in this unit."},
    {"txtLat", "Latitude in degrees: north positive, south negative."},
    {"txtTilt", "Axial tilt in degrees: how far the axis leans from upright to the orbit (23.5 "
                "for the Earth)."},
    {"txtAlpha", "The chosen day, as degrees past the northern winter solstice: 0 winter "
                 "solstice, 90 spring equinox, 180 summer solstice, 270 autumn equinox."},
    {"txtY", "The length of the year, in any unit (365.25 days for the Earth). Full Daylight "
             "comes in this unit."},
    {"lblMin", "The day at the northern winter solstice, in the unit of the Solar Day: the "
               "shortest of the year in the north, the longest in the south."},
    {"lblMax", "The day at the northern summer solstice, in the unit of the Solar Day: the "
               "longest of the year in the north, the shortest in the south."},
    {"lblDay", "Daylight on the chosen day, in the unit of the Solar Day."},
    {"lblNight", "Night on the chosen day, in the unit of the Solar Day."},
    {"lblFull", "Beyond the polar circle: the part of the year with the sun always up, in the "
                "unit of the Length of Year."},
};

// The results in the order Copy All Results lists them.
constexpr std::string_view kResultsInOrder[] = {"lblMin", "lblMax", "lblDay", "lblNight",
                                                "lblFull"};

// The stepped rule between the inputs and the results, on Form1.
constexpr Line kLines[] = {
    // name     x1    y1    x2    y2
    {"Line1", 2520, 3000,  360, 3000},
    {"Line2", 2520, 3000, 2520, 2040},
    {"Line3", 2520, 2040, 4800, 2040},
};
// clang-format on

// The checks, by index: a sanitizer's build does not take pointers into constant expressions.
constexpr int kCount = int(std::size(kControls));

// The index of the control a name stands for, or -1.
constexpr int IndexOf(std::string_view name) {
    for (int i = 0; i < kCount; ++i) {
        if (kControls[i].name == name) return i;
    }
    return -1;
}

constexpr bool TabIndicesAreUnique() {
    for (int i = 0; i < kCount; ++i) {
        for (int j = 0; j < i; ++j) {
            if (kControls[i].tabIndex == kControls[j].tabIndex) return false;
        }
    }
    return true;
}
static_assert(TabIndicesAreUnique(), "two controls share a tab index");

// Building goes down the table, so a frame must be made before the controls it holds.
constexpr bool ContainersComeFirst() {
    for (int i = 0; i < kCount; ++i) {
        if (kControls[i].container == "Form1") continue;
        const int container = IndexOf(kControls[i].container);
        if (container < 0 || container >= i || kControls[container].kind != Kind::Frame) {
            return false;
        }
    }
    return true;
}
static_assert(ContainersComeFirst(), "a control comes before its container");

// Each text box sits in the frame captioned as its input, and starts with its starting text.
constexpr bool TextBoxesAreTheInputs() {
    int boxes = 0;
    for (const Control& c : kControls) {
        if (c.kind != Kind::TextBox) continue;
        const std::string_view caption = kControls[IndexOf(c.container)].caption;
        bool found = false;
        for (const daycalc::InputField& input : daycalc::kInputFields) {
            if (input.caption == caption) found = input.start == c.caption;
        }
        if (!found) return false;
        ++boxes;
    }
    return boxes == int(daycalc::kInputFields.size());
}
static_assert(TextBoxesAreTheInputs(), "a text box's caption or starting text is not its input's");

// Every box and result has a tooltip.
constexpr bool EveryBoxAndResultHasATip() {
    for (const Control& c : kControls) {
        if (c.kind != Kind::TextBox && c.kind != Kind::Label) continue;
        bool found = false;
        for (const auto& [name, tip] : kTips) found = found || name == c.name;
        if (!found) return false;
    }
    return true;
}
static_assert(EveryBoxAndResultHasATip(), "a box or result has no tooltip");

}  // namespace face
