#pragma once

#include <string>

namespace lumvrex {

// Why the window cannot open, or an empty text when a display is there.
// Qt aborts the process when it finds none, so main asks first. A platform
// chosen by the user other than X11 (-platform, QT_QPA_PLATFORM) is left to
// Qt; an X display is looked for where Qt would: -display, then DISPLAY.
std::string missingDisplay(int argc, const char *const *argv);

} // namespace lumvrex
