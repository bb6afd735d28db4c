#include "window/win32/page_list_menu.h"

#include "runtime/system.h"

namespace lumvrex {

HMENU createPageMenu(const std::vector<PageMenuEntry> &entries, UINT firstId)
{
    const HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PageMenuEntry &entry = entries[i];
        if (entry.lineBefore)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        std::wstring caption = wideFromUtf8(entry.caption);
        if (!entry.shortcut.empty())
            caption += L'\t' + wideFromUtf8(entry.shortcut);
        AppendMenuW(menu, MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED), firstId + i, caption.c_str());
    }
    return menu;
}

// A context menu opens with no item active; the first Down makes the first
// one active. Windows' menus step over lines but not over disabled items,
// which they make active as well: one more Down for each of those before
// the first that can act.
void activateFirstEnabledItem(HWND owner, HMENU menu)
{
    int downs = 1;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item) || (item.fType & MFT_SEPARATOR))
            continue;
        if (!(item.fState & MFS_DISABLED)) {
            for (int down = 0; down < downs; ++down)
                PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 1);
            return;
        }
        ++downs;
    }
}

} // namespace lumvrex
