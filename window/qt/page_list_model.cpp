#include "window/qt/page_list_model.h"

#include "publication/publication_inputs.h"
#include "window/qt/qt_text.h"

#include <algorithm>
#include <string_view>

namespace lumvrex {
namespace {

// The last part of a path: "/fotos/playa.jpg" gives "playa.jpg", a folder
// "/fotos/" gives "fotos". A path of slashes only is its own name.
std::string_view lastPathPart(std::string_view path)
{
    const std::size_t last = path.find_last_not_of('/');
    if (last == std::string_view::npos)
        return path;
    path = path.substr(0, last + 1);
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

int PageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_pages.size());
}

QString PageListModel::path(qsizetype row) const
{
    return qString(m_pages[static_cast<std::size_t>(row)]);
}

QString PageListModel::details(int row) const
{
    // The page line comes first: Qt takes a tooltip for rich text when its
    // first line holds a tag, and a file name may well look like one.
    return QStringLiteral("page %1 of %2\n%3").arg(row + 1).arg(rowCount()).arg(path(row));
}

QVariant PageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_pages.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return qString(lastPathPart(m_pages[static_cast<std::size_t>(index.row())]));
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return details(index.row());
    default:
        return {};
    }
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
