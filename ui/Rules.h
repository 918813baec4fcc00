#pragma once
// The layer's pure rules: plain functions of plain values, the same on every host.

#include <string>
#include <string_view>

namespace ui {

// The application title from the executable's path: the file name without folder, cut at
// its first ".", and every character but the first lowered with `lower`.
std::string ApplicationTitle(std::string_view modulePath, std::string (*lower)(std::string));

// The error box's text: one "." is added when the message ends in a character above "."
// (compared as unsigned bytes, so any byte of a multi-byte character counts as above).
std::string WithFullStop(std::string message);

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(Size a, Size b) { return a.width == b.width && a.height == b.height; }
};

// The size at which a picture is drawn into a control: as it is when it fits, else reduced
// to the control with its aspect ratio kept (`proportional`) or stretched to it.
Size FitPicture(Size picture, Size control, bool proportional, bool stretch);

// value × numerator / denominator, rounded to the nearest integer, halves away from zero.
int MulDivRound(int value, int numerator, int denominator);

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(Bounds a, Bounds b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }
};

// A design's bounds on a screen whose text is `textHeight` pixels high where the design's
// was `designTextHeight`: all four edges scale alike, so neighbours stay flush.
Bounds ScaleBounds(Bounds bounds, int textHeight, int designTextHeight);

// A font height (negative: pixels without internal leading) rescaled in whole points at
// `pixelsPerInch` by textHeight / designTextHeight.
int ScaleFontHeight(int height, int pixelsPerInch, int textHeight, int designTextHeight);

} // namespace ui
