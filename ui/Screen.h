#pragma once
// What the screen tells about text, for scaling a design made at 96 pixels per inch.

#include "Controls.h"

namespace ui {

int ScreenPixelsPerInch();
// The height in pixels of the text "0" in the font, on the screen.
int TextHeight(const TFont& font);

} // namespace ui
