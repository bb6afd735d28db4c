#include "window/page_list_editor.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/publication_inputs.h"

#include <algorithm>
#include <numeric>

namespace lumvrex {
namespace {

std::vector<std::size_t> rowsFrom(std::size_t first, std::size_t count)
{
    std::vector<std::size_t> rows(count);
    std::iota(rows.begin(), rows.end(), first);
    return rows;
}

std::string undoRefusedMessage()
{
    return formatMessage(
        localized("note", "The page list holds at most %s pages: the change was not undone."),
        {withThousands(kMaxPages)});
}

} // namespace

std::string pageListFullMessage(std::size_t notAdded, PageSource source)
{
    // One message for each source: the words around the number change with
    // it in other languages.
    const std::string_view pattern = source == PageSource::Drop
        ? localizedCount(
            "note", "The page list holds at most %1$s pages: %2$s of the dropped files was not added.",
            "The page list holds at most %1$s pages: %2$s of the dropped files were not added.", notAdded)
        : source == PageSource::Paste
        ? localizedCount(
            "note", "The page list holds at most %1$s pages: %2$s of the pasted files was not added.",
            "The page list holds at most %1$s pages: %2$s of the pasted files were not added.", notAdded)
        : localizedCount(
            "note", "The page list holds at most %1$s pages: %2$s of the chosen files was not added.",
            "The page list holds at most %1$s pages: %2$s of the chosen files were not added.", notAdded);
    return formatMessage(pattern, {withThousands(kMaxPages), withThousands(notAdded)});
}

std::vector<std::pair<std::size_t, std::size_t>> PageSelection::runs() const
{
    return rowRuns(rows);
}

std::vector<std::pair<std::size_t, std::size_t>> rowRuns(const std::vector<std::size_t> &rows)
{
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (const std::size_t row : rows) {
        if (!found.empty() && found.back().second + 1 == row)
            found.back().second = row;
        else
            found.emplace_back(row, row);
    }
    return found;
}

std::size_t PageListEditor::Step::bytes() const
{
    std::size_t total = 0;
    for (const std::string &text : removed.texts)
        total += text.size() + sizeof(std::string);
    for (const std::string &text : inserted.texts)
        total += text.size() + sizeof(std::string);
    return total;
}

PageList PageListEditor::pages() const
{
    PageList pages;
    std::size_t bytes = 0;
    for (const std::string &entry : m_entries)
        bytes += entry.size();
    pages.reserve(m_entries.size(), bytes);
    for (const std::string &entry : m_entries)
        pages.append(entry);
    return pages;
}

PageSelection PageListEditor::clamped(PageSelection selection) const
{
    std::erase_if(selection.rows, [this](std::size_t row) { return row >= m_entries.size(); });
    std::sort(selection.rows.begin(), selection.rows.end());
    selection.rows.erase(std::unique(selection.rows.begin(), selection.rows.end()), selection.rows.end());
    if (selection.current >= m_entries.size())
        selection.current = selection.rows.empty() ? PageSelection::npos : selection.rows.front();
    return selection;
}

std::size_t PageListEditor::room() const
{
    return kMaxPages - std::min(m_entries.size(), kMaxPages);
}

EditOutcome PageListEditor::append(std::vector<std::string> paths, PageSource source)
{
    return insert(m_entries.size(), std::move(paths), source);
}

EditOutcome PageListEditor::insert(std::size_t at, std::vector<std::string> paths, PageSource source)
{
    at = std::min(at, m_entries.size());
    const std::size_t given = paths.size();
    const std::size_t taken = std::min(room(), given);
    EditOutcome outcome;
    if (taken > 0) {
        Step step;
        step.inserted.rows = rowsFrom(at, taken);
        paths.resize(taken);
        step.inserted.texts = std::move(paths);
        step.before = m_selection;
        step.after = {{at}, at};
        outcome = apply(std::move(step));
    }
    if (taken < given)
        outcome.message = pageListFullMessage(given - taken, source);
    return outcome;
}

EditOutcome PageListEditor::removeSelected()
{
    if (!canRemove(m_selection))
        return {};
    const std::vector<std::size_t> &rows = m_selection.rows;
    Step step;
    step.removed.rows = rows;
    step.before = m_selection;
    const std::size_t left = m_entries.size() - rows.size();
    if (left > 0) {
        const std::size_t next = std::min(rows.back() + 1 - rows.size(), left - 1);
        step.after = {{next}, next};
    }
    return apply(std::move(step));
}

bool PageListEditor::canMove(Move move, const PageSelection &selection) const
{
    const std::vector<std::size_t> &rows = selection.rows;
    if (rows.empty())
        return false;
    switch (move) {
    case Move::Left:
        return rows.front() > 0;
    case Move::Right:
        return rows.back() + 1 < m_entries.size();
    case Move::First:
        return rows.back() + 1 != rows.size();
    case Move::Last:
        return rows.front() != m_entries.size() - rows.size();
    }
    return false;
}

EditOutcome PageListEditor::moveSelected(Move move)
{
    if (!canMove(move, m_selection))
        return {};
    const std::vector<std::size_t> &rows = m_selection.rows;
    std::vector<std::size_t> to;
    switch (move) {
    case Move::Left:
        for (const std::size_t row : rows)
            to.push_back(row - 1);
        break;
    case Move::Right:
        for (const std::size_t row : rows)
            to.push_back(row + 1);
        break;
    case Move::First:
        to = rowsFrom(0, rows.size());
        break;
    case Move::Last:
        to = rowsFrom(m_entries.size() - rows.size(), rows.size());
        break;
    }
    Step step;
    step.removed.rows = rows;
    step.inserted.rows = to;
    for (const std::size_t row : rows)
        step.inserted.texts.push_back(m_entries[row]);
    step.before = m_selection;
    const auto currentAt = std::find(rows.begin(), rows.end(), m_selection.current);
    step.after = {
        to, currentAt == rows.end() ? to.front() : to[static_cast<std::size_t>(currentAt - rows.begin())]};
    return apply(std::move(step));
}

EditOutcome PageListEditor::reorder(const std::vector<std::size_t> &order)
{
    std::vector<std::size_t> where(order.size());
    for (std::size_t to = 0; to < order.size(); ++to)
        where[order[to]] = to;
    if (std::is_sorted(order.begin(), order.end()))
        return {};
    Step step;
    step.removed.rows = rowsFrom(0, m_entries.size());
    step.inserted.rows = step.removed.rows;
    for (const std::size_t from : order)
        step.inserted.texts.push_back(m_entries[from]);
    step.before = m_selection;
    for (const std::size_t row : m_selection.rows)
        step.after.rows.push_back(where[row]);
    std::sort(step.after.rows.begin(), step.after.rows.end());
    if (m_selection.current != PageSelection::npos)
        step.after.current = where[m_selection.current];
    return apply(std::move(step));
}

EditOutcome PageListEditor::clear()
{
    if (!canClear())
        return {};
    Step step;
    step.removed.rows = rowsFrom(0, m_entries.size());
    step.before = m_selection;
    return apply(std::move(step));
}

EditOutcome PageListEditor::undo()
{
    return retrace(m_undo, m_redo, true);
}

EditOutcome PageListEditor::redo()
{
    return retrace(m_redo, m_undo, false);
}

// The latest step of one history, taken back (its inserted entries out, its
// removed ones in) or done again, and handed to the other history.
EditOutcome PageListEditor::retrace(std::deque<Step> &from, std::deque<Step> &to, bool back)
{
    if (from.empty())
        return {};
    Step &step = from.back();
    Placed &out = back ? step.inserted : step.removed;
    Placed &in = back ? step.removed : step.inserted;
    // Every state the history returns to was one the list held, so this
    // holds unless the history itself is wrong.
    if (m_entries.size() - out.rows.size() + in.rows.size() > kMaxPages)
        return {false, undoRefusedMessage(), {}};
    m_historyBytes -= step.bytes();
    replace(out, in);
    m_historyBytes += step.bytes();
    m_selection = back ? step.before : step.after;
    EditOutcome outcome{true, {}, changeOf(out, in)};
    to.push_back(std::move(step));
    from.pop_back();
    return outcome;
}

EditOutcome PageListEditor::apply(Step step)
{
    replace(step.removed, step.inserted);
    m_selection = step.after;
    EditOutcome outcome{true, {}, changeOf(step.removed, step.inserted)};
    record(std::move(step));
    return outcome;
}

// One pass over the list: the entries at the rows of `out` (ascending, in
// the list as it is) are moved into out.texts, then in.texts are moved to
// their rows (ascending, in the list as it will be). A step so holds only
// the texts that are not in the list, and nothing is copied.
void PageListEditor::replace(Placed &out, Placed &in)
{
    std::vector<std::string> next;
    next.reserve(m_entries.size() - out.rows.size() + in.rows.size());
    out.texts.clear();
    out.texts.reserve(out.rows.size());
    std::size_t outAt = 0;
    std::size_t inAt = 0;
    const auto putInserted = [&] {
        while (inAt < in.rows.size() && in.rows[inAt] == next.size())
            next.push_back(std::move(in.texts[inAt++]));
    };
    for (std::size_t row = 0; row < m_entries.size(); ++row) {
        if (outAt < out.rows.size() && out.rows[outAt] == row) {
            out.texts.push_back(std::move(m_entries[row]));
            ++outAt;
            continue;
        }
        putInserted();
        next.push_back(std::move(m_entries[row]));
    }
    putInserted();
    in.texts.clear();
    m_entries = std::move(next);
}

void PageListEditor::record(Step step)
{
    for (const Step &undone : m_redo)
        m_historyBytes -= undone.bytes();
    m_redo.clear();
    m_historyBytes += step.bytes();
    m_undo.push_back(std::move(step));
    while (m_undo.size() > 1 && (m_undo.size() > kHistoryDepth || m_historyBytes > kHistoryBytes)) {
        m_historyBytes -= m_undo.front().bytes();
        m_undo.pop_front();
    }
}

} // namespace lumvrex
