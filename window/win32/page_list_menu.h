#pragma once

#include "window/page_list_controller.h"

#include <vector>

#include <windows.h>

namespace lumvrex {

// The page list's context menu as Windows shows it: the controller's
// entries with their keys after a tab, disabled where they cannot act, a
// line before each group. Item ids are firstId plus the entry's index.
HMENU createPageMenu(const std::vector<PageMenuEntry> &entries, UINT firstId);

// Makes the first item that can act the active one as a menu opens from
// the keyboard, so that a screen reader says it (Windows opens a context
// menu with none). For the owner's WM_INITMENUPOPUP: the menu's loop takes
// the Down keys posted here.
void activateFirstEnabledItem(HWND owner, HMENU menu);

} // namespace lumvrex
