#include "window/win32/page_list_box.h"

#include "publication/publication_inputs.h"
#include "runtime/system.h"
#include "window/win32/accessible_name.h"

#include <algorithm>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

namespace lumvrex {
namespace {

using namespace std::literals;

constexpr int kColumns = 6;
constexpr UINT_PTR kNoteTimer = 1;
constexpr UINT kNoteMilliseconds = 4000;
// The procedure of Windows' own list box, which does all the rest.
WNDPROC g_listBoxProcedure = nullptr;

// The paths of a drop in its order, read from its block in one pass:
// DragQueryFileW walks the list from the start for each path, which makes a
// drop of tens of thousands of files take many seconds.
std::vector<std::wstring> droppedPaths(HGLOBAL drop)
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

std::vector<std::string> utf8Paths(const std::vector<std::wstring> &paths)
{
    std::vector<std::string> converted;
    converted.reserve(paths.size());
    for (const std::wstring &path : paths)
        converted.push_back(utf8FromWide(path));
    return converted;
}

bool keyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

std::wstring picturesFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

// The system's open dialog, several files at once. The answer comes as the
// folder and then each name, or as one whole path; a buffer of 1 MiB holds
// thousands of names.
std::vector<std::wstring> chooseWithOpenDialog(HWND owner, const std::wstring &folder)
{
    std::vector<wchar_t> buffer(std::size_t{512} * 1024, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    const AddPicturesTexts texts = addPicturesTexts();
    // Each name and pattern ends in a NUL, the whole list in a second one.
    std::wstring filter = wideFromUtf8(texts.pictures);
    filter += L"\0*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.ico\0"sv;
    filter += wideFromUtf8(texts.allFiles);
    filter += L"\0*.*\0"sv;
    const std::wstring title = wideFromUtf8(texts.title);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags =
        OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    std::vector<std::wstring> paths;
    if (!GetOpenFileNameW(&dialog))
        return paths;
    const wchar_t *at = buffer.data();
    const std::wstring first = at;
    at += first.size() + 1;
    if (*at == L'\0') {
        paths.push_back(first);
        return paths;
    }
    const std::wstring separator = !first.empty() && first.back() == L'\\' ? L"" : L"\\";
    while (*at != L'\0') {
        const std::wstring name = at;
        std::wstring path = first;
        path += separator;
        path += name;
        paths.push_back(std::move(path));
        at += name.size() + 1;
    }
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

PageListBox::PageListBox(HWND listBox, std::string caption, std::function<void(const std::string &)> warn)
    : m_listBox(listBox)
    , m_caption(std::move(caption))
    , m_warn(std::move(warn))
{
    m_chooser = [this](const std::wstring &folder) {
        return chooseWithOpenDialog(GetAncestor(m_listBox, GA_ROOT), folder);
    };
    SetWindowLongPtrW(m_listBox, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Files dropped here arrive as WM_DROPFILES.
    DragAcceptFiles(m_listBox, TRUE);
    // The notes' balloon, shown where the list is and taken away by a timer.
    m_tooltip = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_listBox, nullptr, nullptr, nullptr);
    if (m_tooltip) {
        TOOLINFOW tool = {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
        tool.hwnd = m_listBox;
        tool.uId = reinterpret_cast<UINT_PTR>(m_listBox);
        tool.lpszText = const_cast<wchar_t *>(L"");
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

PageListBox::~PageListBox()
{
    if (IsWindow(m_listBox))
        SetWindowLongPtrW(m_listBox, GWLP_USERDATA, 0);
    if (m_tooltip && IsWindow(m_tooltip))
        DestroyWindow(m_tooltip);
}

void PageListBox::takeSelection()
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
    if (caret >= 0 && static_cast<std::size_t>(caret) < m_editor.size())
        selection.current = static_cast<std::size_t>(caret);
    m_editor.select(std::move(selection));
}

// The list box takes the editor's count and selection; it draws the rest
// from the editor.
void PageListBox::show()
{
    m_labels.clear();
    for (const std::string &label : pageLabels(m_editor.entries()))
        m_labels.push_back(wideFromUtf8(label));
    SendMessageW(m_listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_listBox, LB_SETCOUNT, m_editor.size(), 0);
    const PageSelection &selection = m_editor.selection();
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

void PageListBox::added(const EditOutcome &outcome)
{
    if (outcome.changed)
        show();
    if (!outcome.message.empty())
        m_warn(outcome.message);
}

void PageListBox::append(const std::vector<std::wstring> &paths, PageSource source)
{
    added(m_editor.append(utf8Paths(paths), source));
}

void PageListBox::edit(const std::function<EditOutcome(PageListEditor &)> &command)
{
    takeSelection();
    added(command(m_editor));
}

void PageListBox::showNote(const std::string &text)
{
    m_note = text;
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_listBox, OBJID_CLIENT, CHILDID_SELF);
    if (!m_tooltip)
        return;
    const std::wstring wide = wideFromUtf8(text);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_listBox;
    tool.uId = reinterpret_cast<UINT_PTR>(m_listBox);
    tool.lpszText = const_cast<wchar_t *>(wide.c_str());
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT place = {};
    GetWindowRect(m_listBox, &place);
    SendMessageW(m_tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(place.left + 8, place.bottom));
    SendMessageW(m_tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(m_listBox, kNoteTimer, kNoteMilliseconds, nullptr);
}

void PageListBox::paste()
{
    std::vector<std::wstring> paths;
    if (IsClipboardFormatAvailable(CF_HDROP) && OpenClipboard(m_listBox)) {
        if (const HANDLE files = GetClipboardData(CF_HDROP))
            paths = droppedPaths(files);
        CloseClipboard();
    }
    if (paths.empty()) {
        showNote(std::string(noFilesToPasteMessage()));
        return;
    }
    append(paths, PageSource::Paste);
}

void PageListBox::addPictures()
{
    const std::string folder = addPicturesFolder(m_editor.entries(), utf8FromWide(picturesFolder()));
    const std::vector<std::wstring> chosen = m_chooser(wideFromUtf8(folder));
    if (!chosen.empty())
        append(chosen, PageSource::OpenDialog);
}

bool PageListBox::canRun(PageCommand command)
{
    takeSelection();
    return pageCommandEnabled(m_editor, command, IsClipboardFormatAvailable(CF_HDROP) != 0);
}

void PageListBox::run(PageCommand command)
{
    if (command == PageCommand::AddPictures)
        addPictures();
    else if (command == PageCommand::Paste)
        paste();
    else
        edit([command](PageListEditor &editor) { return applyListEdit(editor, command); });
}

// The keys of the list's commands; false for those the list box handles
// itself (arrows, Home, End, Shift with them).
bool PageListBox::keyDown(WPARAM key)
{
    using Move = PageListEditor::Move;
    const bool ctrl = keyHeld(VK_CONTROL);
    const bool shift = keyHeld(VK_SHIFT);
    const bool none = !ctrl && !shift;
    const auto move = [this](Move to) {
        edit([to](PageListEditor &editor) { return editor.moveSelected(to); });
    };
    if ((ctrl && !shift && key == 'V') || (shift && !ctrl && key == VK_INSERT))
        run(PageCommand::Paste);
    else if (none && key == VK_INSERT)
        run(PageCommand::AddPictures);
    else if (none && key == VK_DELETE)
        run(PageCommand::Remove);
    else if (ctrl && !shift && key == VK_LEFT)
        move(Move::Left);
    else if (ctrl && !shift && key == VK_RIGHT)
        move(Move::Right);
    else if (ctrl && !shift && key == VK_HOME)
        move(Move::First);
    else if (ctrl && !shift && key == VK_END)
        move(Move::Last);
    else if (ctrl && !shift && key == 'Z')
        run(PageCommand::Undo);
    else if ((ctrl && !shift && key == 'Y') || (ctrl && shift && key == 'Z'))
        run(PageCommand::Redo);
    else if (ctrl && !shift && key == 'A') {
        if (m_editor.size() > 0)
            SendMessageW(m_listBox, LB_SELITEMRANGEEX, 0, static_cast<LPARAM>(m_editor.size() - 1));
    } else if ((none && key == VK_APPS) || (shift && !ctrl && key == VK_F10))
        showMenu(-1);
    else
        return false;
    return true;
}

void PageListBox::showMenu(LPARAM at)
{
    POINT where = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        // From the keyboard: under the focused entry.
        RECT cell = {};
        const LRESULT caret = SendMessageW(m_listBox, LB_GETCARETINDEX, 0, 0);
        if (caret < 0
            || SendMessageW(m_listBox, LB_GETITEMRECT, caret, reinterpret_cast<LPARAM>(&cell)) == LB_ERR)
            GetClientRect(m_listBox, &cell);
        where = {cell.left, cell.bottom};
        ClientToScreen(m_listBox, &where);
    } else {
        // A right click on an entry that is not selected selects it alone.
        POINT inside = where;
        ScreenToClient(m_listBox, &inside);
        const LRESULT hit = SendMessageW(m_listBox, LB_ITEMFROMPOINT, 0, MAKELPARAM(inside.x, inside.y));
        const int row = LOWORD(hit);
        if (HIWORD(hit) == 0 && static_cast<std::size_t>(row) < m_editor.size()
            && SendMessageW(m_listBox, LB_GETSEL, row, 0) <= 0) {
            SendMessageW(m_listBox, LB_SETSEL, FALSE, -1);
            SendMessageW(m_listBox, LB_SETSEL, TRUE, row);
            SendMessageW(m_listBox, LB_SETCARETINDEX, row, FALSE);
        }
    }
    const HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < kPageMenu.size(); ++i) {
        const PageMenuItem &item = kPageMenu[i];
        if (item.separatorBefore)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        std::wstring caption = wideFromUtf8(pageMenuCaption(item.command));
        if (const std::string_view shortcut = pageMenuShortcutLabel(item.command); !shortcut.empty())
            caption += L'\t' + wideFromUtf8(shortcut);
        AppendMenuW(menu, MF_STRING | (canRun(item.command) ? MF_ENABLED : MF_GRAYED), kFirstMenuId + i,
                    caption.c_str());
    }
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, where.x, where.y, 0, m_listBox, nullptr));
    DestroyMenu(menu);
    if (chosen >= kFirstMenuId && chosen < kFirstMenuId + kPageMenu.size())
        run(kPageMenu[chosen - kFirstMenuId].command);
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
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= m_labels.size()) {
        if (item.itemState & ODS_FOCUS)
            DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring text = m_labels[item.itemID];
    RECT room = item.rcItem;
    InflateRect(&room, -2, 0);
    // What is still too long gives way in its middle, keeping both ends.
    DrawTextW(item.hDC, text.data(), static_cast<int>(text.size()), &room,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

void PageListBox::dropped(HDROP drop)
{
    std::vector<std::wstring> paths = droppedPaths(reinterpret_cast<HGLOBAL>(drop));
    DragFinish(drop);
    if (!paths.empty())
        append(paths, PageSource::Drop);
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
            self->showMenu(lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kNoteTimer) {
                KillTimer(window, kNoteTimer);
                TOOLINFOW tool = {};
                tool.cbSize = sizeof tool;
                tool.hwnd = window;
                tool.uId = reinterpret_cast<UINT_PTR>(window);
                SendMessageW(self->m_tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
                return 0;
            }
            break;
        case WM_GETOBJECT: {
            ItemTexts items;
            items.description = wideFromUtf8(self->m_note);
            items.item = [self](long item, bool description) -> std::wstring {
                const auto row = static_cast<std::size_t>(item - 1);
                if (item < 1 || row >= self->m_editor.size())
                    return {};
                const std::string &path = self->m_editor.entries()[row];
                return wideFromUtf8(description ? pageDescription(path)
                                                : pageSpokenName(row, self->m_editor.size(), path));
            };
            items.count = [self] { return static_cast<long>(self->m_editor.size()); };
            items.state = [window](long item) -> long {
                long state = 0;
                if (SendMessageW(window, LB_GETSEL, item - 1, 0) > 0)
                    state |= STATE_SYSTEM_SELECTED;
                if (GetFocus() == window && SendMessageW(window, LB_GETCARETINDEX, 0, 0) == item - 1)
                    state |= STATE_SYSTEM_FOCUSED;
                return state;
            };
            const std::wstring name = wideFromUtf8(pageListName(self->m_caption, self->m_editor.size()));
            if (const LRESULT named = accessibleObjectNamed(window, wParam, lParam, name, std::move(items)))
                return named;
            break;
        }
        }
    }
    return CallWindowProcW(g_listBoxProcedure, window, message, wParam, lParam);
}

} // namespace lumvrex
