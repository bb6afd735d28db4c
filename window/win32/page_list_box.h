#pragma once

#include "publication/page_list.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace lumvrex {

// List1: the pages in a one-row list box, entries side by side in six
// columns and scrolled sideways, each path shortened in its middle so that
// the file's own name stays visible. The list box holds the entries; files
// dropped on it are handed to onDrop in the drop's order. Its screen reader
// name is asked for each time, as it changes with the count.
class PageListBox
{
public:
    // The list box class, Windows' own with drops, the wheel and the name
    // added. Registered once per program, before the first is made.
    static constexpr wchar_t kClassName[] = L"LumvrexPageList";
    static void registerClass(HINSTANCE instance);

    // Takes over a list box made of kClassName with kStyle and
    // kExtendedStyle.
    PageListBox(HWND listBox, std::function<void(std::vector<std::wstring>)> onDrop,
                std::function<std::wstring()> accessibleName);
    ~PageListBox();
    PageListBox(const PageListBox &) = delete;
    PageListBox &operator=(const PageListBox &) = delete;

    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_MULTICOLUMN
        | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY;
    static constexpr DWORD kExtendedStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;

    HWND handle() const { return m_listBox; }
    std::size_t count() const;

    // Appends as many of paths as the list holds; returns how many did not
    // fit. The list is drawn once, after the last.
    std::size_t append(const std::vector<std::wstring> &paths);
    void clear();

    // The entries as the core takes them.
    PageList pages() const;

    // One row, six columns, after the list box was placed or its font set.
    void fitColumns();
    // Draws one entry, for the parent's WM_DRAWITEM.
    void draw(const DRAWITEMSTRUCT &item) const;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void dropped(HDROP drop);
    void scrollSideways(int wheelDelta);

    HWND m_listBox;
    std::function<void(std::vector<std::wstring>)> m_onDrop;
    std::function<std::wstring()> m_accessibleName;
    int m_wheelRest = 0;
};

} // namespace lumvrex
