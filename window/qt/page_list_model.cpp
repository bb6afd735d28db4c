#include "window/qt/page_list_model.h"

#include "window/qt/qt_text.h"

#include <QFile>

#include <algorithm>

namespace lumvrex {

std::string fileNameBytes(const QString &path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

PageListModel::PageListModel(const PageListController &pages, QObject *parent)
    : QAbstractListModel(parent)
    , m_pages(pages)
{ }

int PageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant PageListModel::data(const QModelIndex &index, int role) const
{
    const PageListEditor &editor = m_pages.editor();
    if (!index.isValid() || index.row() >= m_rows || static_cast<std::size_t>(index.row()) >= editor.size())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const std::string &path = editor.entries()[row];
    switch (role) {
    case Qt::DisplayRole:
        return qString(m_pages.label(row));
    case Qt::ToolTipRole:
        // The page line comes first: Qt takes a tooltip for rich text when
        // its first line holds a tag, and a file name may well look like one.
        return qString(pageTooltipHeading(row, editor.size())) + QLatin1Char('\n') + qString(shownPath(path));
    case Qt::AccessibleTextRole:
        // Said on every arrow key: the page and its name, and its folder
        // only where that changes; the whole path is in the tooltip.
        return qString(m_pages.spokenName(row));
    default:
        return {};
    }
}

namespace {

// Runs of neighbouring rows (ascending), first and last of each.
std::vector<std::pair<int, int>> runsOf(const std::vector<std::size_t> &rows)
{
    std::vector<std::pair<int, int>> runs;
    for (const auto &[first, last] : rowRuns(rows))
        runs.emplace_back(static_cast<int>(first), static_cast<int>(last));
    return runs;
}

} // namespace

void PageListModel::show(const PageListChange &change)
{
    // Entries moved within the list keep every row where it was: only
    // their texts change, and the focused entry stays.
    if (change.removed.size() != change.inserted.size()) {
        // From the end, so that each run's rows are still where they were.
        std::vector<std::pair<int, int>> removed = runsOf(change.removed);
        std::reverse(removed.begin(), removed.end());
        for (const auto &[first, last] : removed) {
            beginRemoveRows(QModelIndex(), first, last);
            m_rows -= last - first + 1;
            endRemoveRows();
        }
        for (const auto &[first, last] : runsOf(change.inserted)) {
            beginInsertRows(QModelIndex(), first, last);
            m_rows += last - first + 1;
            endInsertRows();
        }
    }
    // A cell's label depends on its neighbours, and every entry's spoken
    // name on the count.
    if (m_rows > 0)
        emit dataChanged(index(0), index(m_rows - 1));
}

} // namespace lumvrex
