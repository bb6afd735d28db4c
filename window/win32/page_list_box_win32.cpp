#include "window/win32/page_list_box.h"

#include "publication/publication_inputs.h"
#include "runtime/windows_text.h"
#include "window/win32/accessible_name.h"

#include <algorithm>

#include <shellapi.h>
#include <shlobj.h>

namespace lumvrex {
namespace {

constexpr int kColumns = 6;
// The procedure of Windows' own list box, which does all the rest.
WNDPROC g_listBoxProcedure = nullptr;

std::wstring entryText(HWND listBox, int index)
{
    const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, index, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    // LB_GETTEXT writes a terminating NUL after the text.
    text.resize(static_cast<std::size_t>(length) + 1);
    const LRESULT got = SendMessageW(listBox, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

// The paths of a drop in its order, read from its block in one pass:
// DragQueryFileW walks the list from the start for each path, which makes a
// drop of tens of thousands of files take many seconds.
std::vector<std::wstring> droppedPaths(HDROP drop)
{
    std::vector<std::wstring> paths;
    const auto *files = static_cast<const DROPFILES *>(GlobalLock(drop));
    if (!files)
        return paths;
    const std::size_t size = GlobalSize(drop);
    if (files->pFiles < size) {
        const char *const start = reinterpret_cast<const char *>(files) + files->pFiles;
        const char *const end = reinterpret_cast<const char *>(files) + size;
        if (files->fWide) {
            const std::wstring_view all(reinterpret_cast<const wchar_t *>(start),
                                        static_cast<std::size_t>(end - start) / sizeof(wchar_t));
            for (std::size_t at = 0; at < all.size() && all[at] != L'\0';) {
                const std::size_t next = std::min(all.find(L'\0', at), all.size());
                paths.emplace_back(all.substr(at, next - at));
                at = next + 1;
            }
        } else {
            // Paths in the ANSI code page, from programs that know no other.
            const std::string_view all(start, static_cast<std::size_t>(end - start));
            for (std::size_t at = 0; at < all.size() && all[at] != '\0';) {
                const std::size_t next = std::min(all.find('\0', at), all.size());
                const int length = static_cast<int>(next - at);
                std::wstring path(
                    static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, start + at, length, nullptr, 0)),
                    L'\0');
                MultiByteToWideChar(CP_ACP, 0, start + at, length, path.data(),
                                    static_cast<int>(path.size()));
                paths.push_back(std::move(path));
                at = next + 1;
            }
        }
    }
    GlobalUnlock(drop);
    return paths;
}

} // namespace

// A class of its own rather than a subclass of each list box: Wine passes
// every message to a subclassed window through a property look-up that
// costs as much as the list box's own work, which makes a drop of tens of
// thousands of files take seconds.
void PageListBox::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW listBox = {};
    listBox.cbSize = sizeof listBox;
    if (!GetClassInfoExW(nullptr, L"ListBox", &listBox))
        return;
    g_listBoxProcedure = listBox.lpfnWndProc;
    listBox.lpfnWndProc = windowProcedure;
    listBox.hInstance = instance;
    listBox.lpszClassName = kClassName;
    RegisterClassExW(&listBox);
}

PageListBox::PageListBox(HWND listBox, std::function<void(std::vector<std::wstring>)> onDrop,
                         std::function<std::wstring()> accessibleName)
    : m_listBox(listBox)
    , m_onDrop(std::move(onDrop))
    , m_accessibleName(std::move(accessibleName))
{
    SetWindowLongPtrW(m_listBox, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Files dropped here arrive as WM_DROPFILES.
    DragAcceptFiles(m_listBox, TRUE);
}

PageListBox::~PageListBox()
{
    if (IsWindow(m_listBox))
        SetWindowLongPtrW(m_listBox, GWLP_USERDATA, 0);
}

std::size_t PageListBox::count() const
{
    const LRESULT entries = SendMessageW(m_listBox, LB_GETCOUNT, 0, 0);
    return entries > 0 ? static_cast<std::size_t>(entries) : 0;
}

std::size_t PageListBox::append(const std::vector<std::wstring> &paths)
{
    const std::size_t room = kMaxPages - std::min(count(), kMaxPages);
    const std::size_t taken = std::min(room, paths.size());
    if (taken > 0) {
        // Room for the whole drop at once, and one redraw for it, keep a drop
        // of tens of thousands of files quick.
        std::size_t characters = 0;
        for (std::size_t i = 0; i < taken; ++i)
            characters += paths[i].size() + 1;
        SendMessageW(m_listBox, WM_SETREDRAW, FALSE, 0);
        SendMessageW(m_listBox, LB_INITSTORAGE, taken, characters * sizeof(wchar_t));
        for (std::size_t i = 0; i < taken; ++i)
            SendMessageW(m_listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(paths[i].c_str()));
        SendMessageW(m_listBox, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_listBox, nullptr, TRUE);
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_listBox, OBJID_CLIENT, CHILDID_SELF);
    }
    return paths.size() - taken;
}

void PageListBox::clear()
{
    SendMessageW(m_listBox, LB_RESETCONTENT, 0, 0);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_listBox, OBJID_CLIENT, CHILDID_SELF);
}

PageList PageListBox::pages() const
{
    PageList pages;
    const int entries = static_cast<int>(count());
    for (int i = 0; i < entries; ++i)
        pages.append(utf8FromWide(entryText(m_listBox, i)));
    return pages;
}

void PageListBox::fitColumns()
{
    RECT client = {};
    GetClientRect(m_listBox, &client);
    SendMessageW(m_listBox, LB_SETITEMHEIGHT, 0, std::max<LONG>(1, client.bottom));
    SendMessageW(m_listBox, LB_SETCOLUMNWIDTH, std::max<LONG>(1, client.right / kColumns), 0);
}

void PageListBox::draw(const DRAWITEMSTRUCT &item) const
{
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring text = entryText(m_listBox, static_cast<int>(item.itemID));
    RECT room = item.rcItem;
    InflateRect(&room, -2, 0);
    DrawTextW(item.hDC, text.data(), static_cast<int>(text.size()), &room,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

void PageListBox::dropped(HDROP drop)
{
    std::vector<std::wstring> paths = droppedPaths(drop);
    DragFinish(drop);
    if (!paths.empty())
        m_onDrop(std::move(paths));
}

// The list has no scroll bar (it is one row high); the wheel moves it a
// column at a time, as the arrow keys do.
void PageListBox::scrollSideways(int wheelDelta)
{
    m_wheelRest += wheelDelta;
    const int columns = m_wheelRest / WHEEL_DELTA;
    m_wheelRest %= WHEEL_DELTA;
    if (columns == 0)
        return;
    const LRESULT top = SendMessageW(m_listBox, LB_GETTOPINDEX, 0, 0);
    const LRESULT last = std::max<LRESULT>(0, static_cast<LRESULT>(count()) - 1);
    SendMessageW(m_listBox, LB_SETTOPINDEX, std::clamp<LRESULT>(top - columns, 0, last), 0);
}

LRESULT CALLBACK PageListBox::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<PageListBox *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        switch (message) {
        case WM_DROPFILES:
            self->dropped(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            self->scrollSideways(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_MOUSEHWHEEL:
            self->scrollSideways(-GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT named = accessibleObjectNamed(window, wParam, lParam, self->m_accessibleName()))
                return named;
            break;
        }
    }
    return CallWindowProcW(g_listBoxProcedure, window, message, wParam, lParam);
}

} // namespace lumvrex
