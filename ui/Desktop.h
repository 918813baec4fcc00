#pragma once
// Asks the desktop to open a file with the user's program for its type, as a double click
// in the file manager would. Not awaited; its outcome is not examined.

#include <string>

class TWinControl;

namespace ui {

void OpenWithDesktop(TWinControl* owner, const std::string& path);

} // namespace ui
