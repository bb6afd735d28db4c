#pragma once

#include "publication/page_list.h"
#include "window/form1_commands.h"
#include "window/page_list_editor.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace lumvrex {

// List1: the pages in a one-row list box, entries side by side in six
// columns and scrolled sideways, each shown by the part of its file name
// that tells it from its neighbours. The editor holds the entries and the
// history; the list box (a no-data one) only their count and selection.
// Files dropped or pasted are appended in their order; the keys and the
// context menu add, remove, move, undo and redo. A screen reader hears each
// entry as its page, with the whole path as its description.
class PageListBox
{
public:
    // The list box class, Windows' own with drops, the wheel, the keys and
    // the names added. Registered once per program, before the first is
    // made.
    static constexpr wchar_t kClassName[] = L"LumvrexPageList";
    static void registerClass(HINSTANCE instance);

    // Takes over a list box made of kClassName with kStyle and
    // kExtendedStyle. caption is what the list's name starts with.
    PageListBox(HWND listBox, std::string caption, std::function<void(const std::string &)> warn);
    ~PageListBox();
    PageListBox(const PageListBox &) = delete;
    PageListBox &operator=(const PageListBox &) = delete;

    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_MULTICOLUMN
        | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_EXTENDEDSEL | LBS_NOTIFY;
    static constexpr DWORD kExtendedStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;
    // Context menu items' ids are this plus their place in kPageMenu.
    static constexpr UINT kFirstMenuId = 1000;

    HWND handle() const { return m_listBox; }
    std::size_t count() const { return m_editor.size(); }
    const PageListEditor &editor() const { return m_editor; }

    // Appends as many of paths as the list holds; the warning says how
    // many did not fit.
    void append(const std::vector<std::wstring> &paths, PageSource source);
    void run(PageCommand command);
    bool canRun(PageCommand command);

    // Asks for pictures to add, starting in a folder (UTF-8); the system's
    // open dialog unless a test gives another.
    using PictureChooser = std::function<std::vector<std::wstring>(const std::wstring &folder)>;
    void setPictureChooser(PictureChooser chooser) { m_chooser = std::move(chooser); }

    // The last brief note shown beside the list; also its description.
    const std::string &note() const { return m_note; }

    // The entries as the core takes them.
    PageList pages() const { return m_editor.pages(); }

    // One row, six columns, after the list box was placed or its font set.
    void fitColumns();
    // Draws one entry, for the parent's WM_DRAWITEM.
    void draw(const DRAWITEMSTRUCT &item) const;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool keyDown(WPARAM key);
    void dropped(HDROP drop);
    void scrollSideways(int wheelDelta);
    void takeSelection();
    void show();
    void edit(const std::function<EditOutcome(PageListEditor &)> &command);
    void added(const EditOutcome &outcome);
    void paste();
    void addPictures();
    void showNote(const std::string &text);
    void showMenu(LPARAM at);

    HWND m_listBox;
    std::string m_caption;
    std::function<void(const std::string &)> m_warn;
    PageListEditor m_editor;
    std::vector<std::wstring> m_labels;
    PictureChooser m_chooser;
    std::string m_note;
    HWND m_tooltip = nullptr;
    int m_wheelRest = 0;
};

} // namespace lumvrex
