#pragma once

#include <windows.h>

namespace lumvrex {

// Dots per inch and what depends on them. Windows 10 tells them for each
// monitor; older versions have one for the whole system, which these fall
// back to (the calls are looked up, so that the program still starts there).

UINT dotsPerInch(HWND window);

// The window rectangle around a client area of the given size.
SIZE windowSizeFor(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi);

// The shell's dialog font ("MS Shell Dlg 2", 8 points) at a DPI; the caller
// deletes it.
HFONT createDialogFont(UINT dpi);

} // namespace lumvrex
