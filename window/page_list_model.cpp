#include "window/page_list_model.h"

#include "publication/publication_inputs.h"

#include <algorithm>

int PageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_paths.size());
}

QVariant PageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_paths.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_paths[index.row()];
    return {};
}

qsizetype PageListModel::append(const QStringList &paths)
{
    const qsizetype room = kMaxPages - m_paths.size();
    const qsizetype taken = std::min(room, paths.size());
    if (taken > 0) {
        // One insertion for the whole drop keeps large drops fast.
        beginInsertRows(QModelIndex(), int(m_paths.size()), int(m_paths.size() + taken - 1));
        m_paths.append(paths.mid(0, taken));
        endInsertRows();
    }
    return paths.size() - taken;
}

void PageListModel::clear()
{
    if (m_paths.isEmpty())
        return;
    beginResetModel();
    m_paths.clear();
    endResetModel();
}
