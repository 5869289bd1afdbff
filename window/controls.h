// The window's controls as data: kinds, containers, captions and places in twips.
#pragma once

namespace form {

enum class Kind { Frame, TextBox, Label, Button };

struct Control {
    const char* name;
    Kind kind;
    const char* container;
    const char* caption;  // a frame's or the button's caption, a text box's starting text
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

// The stepped rule between the inputs and the results, on Form1.
constexpr Line kLines[] = {
    // name     x1    y1    x2    y2
    {"Line1", 2520, 3000,  360, 3000},
    {"Line2", 2520, 3000, 2520, 2040},
    {"Line3", 2520, 2040, 4800, 2040},
};
// clang-format on

// 15 twips make one pixel at 96 dots per inch; Qt scales device-independent pixels further on
// high-density screens.
constexpr int kTwipsPerPixel = 15;
constexpr int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace form
