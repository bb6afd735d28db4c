#pragma once

#include "publication/page_list.h"

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumvrex {

// Where files added to the page list came from; the message about those
// that did not fit names them so.
enum class PageSource { Drop, Paste, OpenDialog };

// The entries the user has selected, in ascending order, and the one that
// has the keyboard focus (npos when the list is empty).
struct PageSelection
{
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::vector<std::size_t> rows;
    std::size_t current = npos;

    bool operator==(const PageSelection &) const = default;

    // The rows as runs of neighbours, first and last of each: a view selects
    // a drop of thousands as one range.
    std::vector<std::pair<std::size_t, std::size_t>> runs() const;
};

// Ascending rows as runs of neighbours, first and last of each.
std::vector<std::pair<std::size_t, std::size_t>> rowRuns(const std::vector<std::size_t> &rows);

// Where a change took entries out (rows of the list before, ascending) and
// put entries in (rows of the list after, ascending). A move takes its
// entries out and puts them in again.
struct PageListChange
{
    std::vector<std::size_t> removed;
    std::vector<std::size_t> inserted;
};

// What a command did: whether the list changed and where, and a message for
// the user when it could not do all that was asked (empty otherwise).
struct EditOutcome
{
    bool changed = false;
    std::string message;
    PageListChange change;
};

// The page list as the windows edit it: append, insert, remove, move and
// clear, each undoable, with the selection that follows each command. The
// list never holds more than kMaxPages entries. Entries are the paths'
// bytes as the system gave them, UTF-8 or not.
class PageListEditor
{
public:
    enum class Move { Left, Right, First, Last };

    // Steps kept for undo; the oldest go first, and also once the texts they
    // hold pass kHistoryBytes (the latest step is always kept, so a Clear
    // of the fullest list can be undone).
    static constexpr std::size_t kHistoryDepth = 100;
    static constexpr std::size_t kHistoryBytes = 64u << 20;

    const std::vector<std::string> &entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    PageList pages() const;

    const PageSelection &selection() const { return m_selection; }
    // Takes the view's selection; rows past the end are dropped.
    void select(PageSelection selection) { m_selection = clamped(std::move(selection)); }
    // A view's selection in order, without rows past the end.
    PageSelection clamped(PageSelection selection) const;

    // Appends as many of paths as fit, in order; the first added entry is
    // selected (selecting thousands would cost a view more than adding
    // them). The message says how many did not fit.
    EditOutcome append(std::vector<std::string> paths, PageSource source);
    EditOutcome insert(std::size_t at, std::vector<std::string> paths, PageSource source);
    // Removes the selected entries; the entry after the last removed one
    // (or the new last entry) is selected.
    EditOutcome removeSelected();
    // Moves the selected entries together, keeping their order.
    EditOutcome moveSelected(Move move);
    // Puts the whole list in a new order: order[i] is the row that goes
    // to row i. The selected entries stay selected where they go.
    EditOutcome reorder(const std::vector<std::size_t> &order);
    EditOutcome clear();
    EditOutcome undo();
    EditOutcome redo();

    // Whether the commands can act on a (clamped) selection.
    static bool canRemove(const PageSelection &selection) { return !selection.rows.empty(); }
    bool canMove(Move move, const PageSelection &selection) const;
    bool canClear() const { return !m_entries.empty(); }
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    std::size_t undoDepth() const { return m_undo.size(); }

private:
    // One change: the entries taken out (at their places in the list
    // before) and those put in (at their places in the list after).
    struct Placed
    {
        std::vector<std::size_t> rows;
        std::vector<std::string> texts;
    };
    struct Step
    {
        Placed removed;
        Placed inserted;
        PageSelection before;
        PageSelection after;
        std::size_t bytes() const;
    };

    EditOutcome apply(Step step);
    static PageListChange changeOf(const Placed &out, const Placed &in) { return {out.rows, in.rows}; }
    EditOutcome retrace(std::deque<Step> &from, std::deque<Step> &to, bool back);
    void replace(Placed &out, Placed &in);
    void record(Step step);
    std::size_t room() const;

    std::vector<std::string> m_entries;
    PageSelection m_selection;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    std::size_t m_historyBytes = 0;
};

// "The page list holds at most 32,767 pages: 3 of the dropped files were not
// added.", in the user's language.
std::string pageListFullMessage(std::size_t notAdded, PageSource source);

} // namespace lumvrex
