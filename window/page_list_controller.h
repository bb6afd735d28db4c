#pragma once

#include "window/file_list_clipboard.h"
#include "window/page_list_commands.h"
#include "window/page_list_editor.h"
#include "window/page_list_texts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// What only a window has, for the page list's controller: its view's
// selection, its clipboard, its open dialog, its note and its drawing.
class PageListWindow
{
public:
    virtual ~PageListWindow() = default;

    // The entries selected in the view as the user left them.
    virtual PageSelection viewSelection() const = 0;
    // The files on the clipboard, and how many items there are not files.
    virtual FileListPaths clipboardFiles() const = 0;
    virtual bool clipboardHoldsFiles() const = 0;
    // The open dialog of "Add pictures…", starting in a folder; nothing when
    // cancelled.
    virtual std::vector<std::string> choosePictures(const std::string &folder) = 0;
    // The folder chooser of "Add folder…", starting in a folder; nothing
    // when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string &folder) = 0;
    virtual std::string picturesFolder() const = 0;
    // Whether a text fits a cell of the list, in the view's font.
    virtual bool fitsCell(std::string_view text) const = 0;

    // The list changed as told; the view redraws it and shows the
    // editor's selection.
    virtual void showChange(const PageListChange &change) = 0;
    // A brief note beside the list, without a box, that a screen reader
    // says once; empty takes the note away.
    virtual void showNote(const std::string &text) = 0;
    // A message that needs a box, shown once the event that caused it has
    // ended.
    virtual void warn(const std::string &text) = 0;
    virtual void selectAll() = 0;
    // The context menu, below the entry that has the focus.
    virtual void openMenu() = 0;
};

// One context-menu item as a window shows it.
struct PageMenuEntry
{
    PageCommand command;
    std::string caption;  // '&' before the access key
    std::string shortcut; // as the user's language names it; empty for none
    bool enabled;
    bool lineBefore;
};

// The page list's behaviour, the same in every window: every command, what
// it can act on, and what is selected afterwards.
class PageListController
{
public:
    explicit PageListController(PageListWindow &window)
        : m_window(window)
    { }

    const PageListEditor &editor() const { return m_editor; }
    // What a screen reader calls the list ("Pages: 3 pages") and an entry.
    std::string listName() const;
    std::string spokenName(std::size_t row) const { return pageSpokenName(m_editor.entries(), row); }
    // What a cell shows, worked out when first asked for after a change.
    const std::string &label(std::size_t row) const;
    // The cells changed their size or font.
    void relabel() { m_labels.assign(m_editor.size(), std::nullopt); }

    // Whether a command can act on the list and the view's selection now.
    bool enabled(PageCommand command) const;
    void run(PageCommand command);
    // Runs the command on a key; false for keys that are no command.
    bool runKey(KeyChord chord);
    std::vector<PageMenuEntry> menu() const;

    // Files dropped on the list, in the drop's order.
    void drop(FileListPaths found);
    // Selects the entries of these rows (ascending), the first one focused.
    void selectRows(const std::vector<std::size_t> &rows);

private:
    void edit(const EditOutcome &outcome);
    void add(std::vector<std::string> paths, PageSource source, std::size_t notFiles = 0);
    void paste();
    void addPictures();
    void addFolder();
    std::string startFolder() const;

    PageListWindow &m_window;
    PageListEditor m_editor;
    mutable std::vector<std::optional<std::string>> m_labels;
};

} // namespace lumvrex
