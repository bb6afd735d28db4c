#include "window/qt/page_list_model.h"

#include "publication/publication_inputs.h"
#include "window/qt/qt_text.h"

#include <algorithm>

namespace lumvrex {

int PageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_pages.size());
}

QString PageListModel::path(qsizetype row) const
{
    return qString(m_pages[static_cast<std::size_t>(row)]);
}

QVariant PageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_pages.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return path(index.row());
    return {};
}

qsizetype PageListModel::append(const QStringList &paths)
{
    const auto room = static_cast<qsizetype>(kMaxPages - m_pages.size());
    const qsizetype taken = std::min(room, paths.size());
    if (taken > 0) {
        // One insertion for the whole drop keeps large drops fast.
        beginInsertRows(QModelIndex(), rowCount(), rowCount() + static_cast<int>(taken) - 1);
        for (qsizetype i = 0; i < taken; ++i)
            m_pages.append(utf8(paths[i]));
        endInsertRows();
    }
    return paths.size() - taken;
}

void PageListModel::clear()
{
    if (m_pages.empty())
        return;
    beginResetModel();
    m_pages.clear();
    endResetModel();
}

} // namespace lumvrex
