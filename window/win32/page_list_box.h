#pragma once

#include "window/page_list_controller.h"
#include "window/win32/page_list_note.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace lumvrex {

// List1: the pages in a one-row list box, entries side by side in six
// columns and scrolled sideways, each shown by the part of its file name
// that tells it from its neighbours. What its commands do is the
// controller's: the list box (a no-data one) holds only the count and the
// selection, hands the controller its keys, drops and menu choices, and
// gives it Windows' clipboard, open dialog, folder chooser, balloon and
// drawing. A screen reader hears each entry as its page.
class PageListBox final : private PageListWindow
{
public:
    // The list box class, Windows' own with drops, the wheel, the keys and
    // the names added. Registered once per program, before the first is
    // made.
    static constexpr wchar_t kClassName[] = L"LumvrexPageList";
    static void registerClass(HINSTANCE instance);

    // Takes over a list box made of kClassName with kStyle and
    // kExtendedStyle.
    PageListBox(HWND listBox, std::function<void(const std::string &)> warn);
    ~PageListBox() override;
    PageListBox(const PageListBox &) = delete;
    PageListBox &operator=(const PageListBox &) = delete;

    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_MULTICOLUMN
        | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_EXTENDEDSEL | LBS_NOTIFY;
    static constexpr DWORD kExtendedStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;
    // Context menu items' ids are this plus their place in the menu.
    static constexpr UINT kFirstMenuId = 1000;

    HWND handle() const { return m_listBox; }
    PageListController &pages() { return m_pages; }
    const PageListEditor &editor() const { return m_pages.editor(); }

    // Asks for pictures to add, starting in a folder; the system's open
    // dialog unless a test gives another.
    using PictureChooser = std::function<std::vector<std::wstring>(const std::wstring &folder)>;
    void setPictureChooser(PictureChooser chooser) { m_chooser = std::move(chooser); }
    // The same for the folder of Add folder… (empty: cancelled).
    using FolderChooser = std::function<std::wstring(const std::wstring &folder)>;
    void setFolderChooser(FolderChooser chooser) { m_folderChooser = std::move(chooser); }

    // The brief note shown beside the list; empty when there is none.
    const std::string &note() const { return m_note.text(); }

    // One row, six columns, after the list box was placed or its font set.
    void fitColumns();
    // Draws one entry, for the parent's WM_DRAWITEM.
    void draw(const DRAWITEMSTRUCT &item) const;

private:
    PageSelection viewSelection() const override;
    FileListPaths clipboardFiles() const override;
    bool clipboardHoldsFiles() const override;
    std::vector<std::string> choosePictures(const std::string &folder) override;
    std::optional<std::string> chooseFolder(const std::string &folder) override;
    std::string picturesFolder() const override;
    bool fitsCell(std::string_view text) const override;
    void showChange(const PageListChange &change) override;
    void showNote(const std::string &text) override;
    void warn(const std::string &text) override;
    void selectAll() override;
    void openMenu() override;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool keyDown(WPARAM key);
    void dropped(HDROP drop);
    void scrollSideways(int wheelDelta);
    void selectUnder(POINT at);
    void showMenu(POINT at, bool fromKeyboard);
    void sayFocusedEntry() const;
    LRESULT accessibleObject(WPARAM wParam, LPARAM lParam);

    HWND m_listBox;
    std::function<void(const std::string &)> m_warn;
    PageListController m_pages{*this};
    PictureChooser m_chooser;
    FolderChooser m_folderChooser;
    PageListNote m_note;
    bool m_menuFromKeyboard = false;
    int m_wheelRest = 0;
};

} // namespace lumvrex
