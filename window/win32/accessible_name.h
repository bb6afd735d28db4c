#pragma once

#include <functional>
#include <string>

#include <windows.h>

namespace lumvrex {

// Gives a control the name a screen reader speaks. Windows would take an
// edit's name from the label just before it in the z-order, which here
// follows the tab order instead; the name is asked for each time, so it may
// change (a count, for instance). The control keeps it until destroyed.
void setAccessibleName(HWND control, std::function<std::wstring()> name);

// What a list says of its items (numbered from 1) beyond the system's:
// their names and descriptions.
struct ItemTexts
{
    std::function<std::wstring(long item, bool description)> item;
    std::function<long()> count;
    // STATE_SYSTEM_ flags of an item beyond its being selectable and
    // focusable: selected, focused.
    std::function<long(long item)> state;
};

// The same for a control's own window procedure: its answer to WM_GETOBJECT,
// or 0 for the requests it leaves to the system. role, a ROLE_SYSTEM_ value,
// replaces the system's role of the control where it is not 0.
LRESULT accessibleObjectNamed(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring &name,
                              ItemTexts items = {}, long role = 0);

} // namespace lumvrex
