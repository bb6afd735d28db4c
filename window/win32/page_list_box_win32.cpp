#include "window/win32/page_list_box.h"

#include "publication/publication_inputs.h"
#include "runtime/system.h"
#include "window/win32/accessible_name.h"
#include "window/win32/page_list_menu.h"
#include "window/win32/shell_files.h"

#include <algorithm>

#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

namespace lumvrex {
namespace {

constexpr int kColumns = 6;
// Left and right of a cell's text.
constexpr int kCellMargin = 2;
// The procedure of Windows' own list box, which does all the rest.
WNDPROC g_listBoxProcedure = nullptr;

bool keyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// The list's keys as Windows names them.
constexpr std::pair<ListKey, WPARAM> kVirtualKeys[] = {
    {ListKey::Insert, VK_INSERT},
    {ListKey::Delete, VK_DELETE},
    {ListKey::Left, VK_LEFT},
    {ListKey::Right, VK_RIGHT},
    {ListKey::Home, VK_HOME},
    {ListKey::End, VK_END},
    {ListKey::Menu, VK_APPS},
    {ListKey::F10, VK_F10},
    {ListKey::A, 'A'},
    {ListKey::N, 'N'},
    {ListKey::O, 'O'},
    {ListKey::R, 'R'},
    {ListKey::V, 'V'},
    {ListKey::Y, 'Y'},
    {ListKey::Z, 'Z'},
};

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

PageListBox::PageListBox(HWND listBox, std::function<void(const std::string &)> warn)
    : m_listBox(listBox)
    , m_warn(std::move(warn))
    , m_note(listBox)
{
    m_chooser = [this](const std::wstring &folder) {
        return chooseWithOpenDialog(GetAncestor(m_listBox, GA_ROOT), folder);
    };
    m_folderChooser = [this](const std::wstring &folder) {
        return chooseFolderWithShell(GetAncestor(m_listBox, GA_ROOT), folder);
    };
    SetWindowLongPtrW(m_listBox, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Files dropped here arrive as WM_DROPFILES.
    DragAcceptFiles(m_listBox, TRUE);
}

PageListBox::~PageListBox()
{
    if (IsWindow(m_listBox))
        SetWindowLongPtrW(m_listBox, GWLP_USERDATA, 0);
}

PageSelection PageListBox::viewSelection() const
{
    PageSelection selection;
    const LRESULT selected = SendMessageW(m_listBox, LB_GETSELCOUNT, 0, 0);
    if (selected > 0) {
        std::vector<int> rows(static_cast<std::size_t>(selected));
        const LRESULT got =
            SendMessageW(m_listBox, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
        rows.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        for (const int row : rows)
            selection.rows.push_back(static_cast<std::size_t>(row));
    }
    const LRESULT caret = SendMessageW(m_listBox, LB_GETCARETINDEX, 0, 0);
    if (caret >= 0 && static_cast<std::size_t>(caret) < editor().size())
        selection.current = static_cast<std::size_t>(caret);
    return selection;
}

FileListPaths PageListBox::clipboardFiles() const
{
    FileListPaths found;
    if (IsClipboardFormatAvailable(CF_HDROP) && OpenClipboard(m_listBox)) {
        if (const HANDLE files = GetClipboardData(CF_HDROP))
            found = keptPaths(utf8Paths(droppedPaths(files)));
        CloseClipboard();
    }
    return found;
}

bool PageListBox::clipboardHoldsFiles() const
{
    return IsClipboardFormatAvailable(CF_HDROP) != 0;
}

std::vector<std::string> PageListBox::choosePictures(const std::string &folder)
{
    return utf8Paths(m_chooser(wideFromUtf8(folder)));
}

std::optional<std::string> PageListBox::chooseFolder(const std::string &folder)
{
    const std::wstring chosen = m_folderChooser(wideFromUtf8(folder));
    if (chosen.empty())
        return std::nullopt;
    return utf8FromWide(chosen);
}

std::string PageListBox::picturesFolder() const
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return utf8FromWide(folder);
}

// The list box takes the count and selection; it draws the rest from the
// controller.
void PageListBox::showChange(const PageListChange &)
{
    SendMessageW(m_listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_listBox, LB_SETCOUNT, editor().size(), 0);
    const PageSelection &selection = editor().selection();
    SendMessageW(m_listBox, LB_SETSEL, FALSE, -1);
    for (const auto &[first, last] : selection.runs())
        SendMessageW(m_listBox, LB_SELITEMRANGEEX, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
    if (selection.current != PageSelection::npos) {
        SendMessageW(m_listBox, LB_SETANCHORINDEX, selection.current, 0);
        SendMessageW(m_listBox, LB_SETCARETINDEX, selection.current, FALSE);
    }
    SendMessageW(m_listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_listBox, nullptr, TRUE);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_listBox, OBJID_CLIENT, CHILDID_SELF);
    if (selection.current != PageSelection::npos && GetFocus() == m_listBox)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, m_listBox, OBJID_CLIENT, static_cast<LONG>(selection.current + 1));
}

void PageListBox::warn(const std::string &text)
{
    m_warn(text);
}

void PageListBox::selectAll()
{
    SendMessageW(m_listBox, LB_SELITEMRANGEEX, 0, static_cast<LPARAM>(editor().size() - 1));
}

void PageListBox::showNote(const std::string &text)
{
    m_note.show(text);
}

// From the keyboard: under the focused entry.
void PageListBox::openMenu()
{
    RECT cell = {};
    const LRESULT caret = SendMessageW(m_listBox, LB_GETCARETINDEX, 0, 0);
    if (caret < 0
        || SendMessageW(m_listBox, LB_GETITEMRECT, caret, reinterpret_cast<LPARAM>(&cell)) == LB_ERR)
        GetClientRect(m_listBox, &cell);
    POINT where = {cell.left, cell.bottom};
    ClientToScreen(m_listBox, &where);
    showMenu(where, true);
}

// The keys of the list's commands; false for those the list box handles
// itself (arrows, Home, End, Shift with them).
bool PageListBox::keyDown(WPARAM key)
{
    if (keyHeld(VK_MENU))
        return false;
    for (const auto &[listKey, virtualKey] : kVirtualKeys) {
        if (key == virtualKey)
            return m_pages.runKey({listKey, keyHeld(VK_CONTROL), keyHeld(VK_SHIFT)});
    }
    return false;
}

// A right click on an entry that is not selected selects it alone.
void PageListBox::selectUnder(POINT at)
{
    POINT inside = at;
    ScreenToClient(m_listBox, &inside);
    const LRESULT hit = SendMessageW(m_listBox, LB_ITEMFROMPOINT, 0, MAKELPARAM(inside.x, inside.y));
    const int row = LOWORD(hit);
    if (HIWORD(hit) == 0 && static_cast<std::size_t>(row) < editor().size()
        && SendMessageW(m_listBox, LB_GETSEL, row, 0) <= 0) {
        SendMessageW(m_listBox, LB_SETSEL, FALSE, -1);
        SendMessageW(m_listBox, LB_SETSEL, TRUE, row);
        SendMessageW(m_listBox, LB_SETCARETINDEX, row, FALSE);
    }
}

void PageListBox::showMenu(POINT at, bool fromKeyboard)
{
    const std::vector<PageMenuEntry> entries = m_pages.menu();
    const HMENU menu = createPageMenu(entries, kFirstMenuId);
    m_menuFromKeyboard = fromKeyboard;
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, m_listBox, nullptr));
    m_menuFromKeyboard = false;
    DestroyMenu(menu);
    if (chosen >= kFirstMenuId && chosen < kFirstMenuId + entries.size())
        m_pages.run(entries[chosen - kFirstMenuId].command);
    sayFocusedEntry();
}

// The focus stayed on the list while the menu was open, so Windows tells
// nothing when it closes; a screen reader would leave the user in the menu.
void PageListBox::sayFocusedEntry() const
{
    const LRESULT caret = SendMessageW(m_listBox, LB_GETCARETINDEX, 0, 0);
    if (GetFocus() == m_listBox && caret >= 0 && static_cast<std::size_t>(caret) < editor().size())
        NotifyWinEvent(EVENT_OBJECT_FOCUS, m_listBox, OBJID_CLIENT, static_cast<LONG>(caret + 1));
}

LRESULT PageListBox::accessibleObject(WPARAM wParam, LPARAM lParam)
{
    ItemTexts items;
    items.item = [this](long item, bool description) -> std::wstring {
        const auto row = static_cast<std::size_t>(item - 1);
        if (item < 1 || row >= editor().size())
            return {};
        // Said on every arrow key: the page and its name, and its folder only
        // where that changes; the whole path would be read each time too.
        return description ? std::wstring() : wideFromUtf8(m_pages.spokenName(row));
    };
    items.count = [this] { return static_cast<long>(editor().size()); };
    const HWND listBox = m_listBox;
    items.state = [listBox](long item) -> long {
        long state = 0;
        if (SendMessageW(listBox, LB_GETSEL, item - 1, 0) > 0)
            state |= STATE_SYSTEM_SELECTED;
        if (GetFocus() == listBox && SendMessageW(listBox, LB_GETCARETINDEX, 0, 0) == item - 1)
            state |= STATE_SYSTEM_FOCUSED;
        return state;
    };
    const std::wstring name = wideFromUtf8(m_pages.listName());
    return accessibleObjectNamed(m_listBox, wParam, lParam, name, std::move(items));
}

void PageListBox::fitColumns()
{
    RECT client = {};
    GetClientRect(m_listBox, &client);
    SendMessageW(m_listBox, LB_SETITEMHEIGHT, 0, std::max<LONG>(1, client.bottom));
    SendMessageW(m_listBox, LB_SETCOLUMNWIDTH, std::max<LONG>(1, client.right / kColumns), 0);
    m_pages.relabel();
}

bool PageListBox::fitsCell(std::string_view text) const
{
    RECT client = {};
    GetClientRect(m_listBox, &client);
    const std::wstring wide = wideFromUtf8(text);
    const HDC dc = GetDC(m_listBox);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(m_listBox, WM_GETFONT, 0, 0));
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(m_listBox, dc);
    return size.cx <= client.right / kColumns - 2 * kCellMargin;
}

void PageListBox::draw(const DRAWITEMSTRUCT &item) const
{
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= editor().size()) {
        if (item.itemState & ODS_FOCUS)
            DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring text = wideFromUtf8(m_pages.label(item.itemID));
    RECT room = item.rcItem;
    InflateRect(&room, -kCellMargin, 0);
    // A word still too long gives way at its end.
    DrawTextW(item.hDC, text.data(), static_cast<int>(text.size()), &room,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

void PageListBox::dropped(HDROP drop)
{
    std::vector<std::wstring> paths = droppedPaths(reinterpret_cast<HGLOBAL>(drop));
    DragFinish(drop);
    // Any program can write a drop's block: a path no page may hold is
    // left out and told.
    m_pages.drop(keptPaths(utf8Paths(paths)));
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
    const LRESULT last = std::max<LRESULT>(0, static_cast<LRESULT>(editor().size()) - 1);
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
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (self->keyDown(wParam))
                return 0;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            // The menu was opened on the key going down; the system would
            // open it again on its release.
            if (wParam == VK_APPS || (wParam == VK_F10 && keyHeld(VK_SHIFT)))
                return 0;
            break;
        case WM_CONTEXTMENU:
            if (lParam == -1)
                self->openMenu();
            else {
                self->selectUnder({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                self->showMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, false);
            }
            return 0;
        case WM_INITMENUPOPUP:
            if (self->m_menuFromKeyboard)
                activateFirstEnabledItem(window, reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT named = self->accessibleObject(wParam, lParam))
                return named;
            break;
        }
    }
    return CallWindowProcW(g_listBoxProcedure, window, message, wParam, lParam);
}

} // namespace lumvrex
