#pragma once

#include "publication/page_list.h"

#include <QAbstractListModel>
#include <QStringList>

namespace lumvrex {

// The pages: file paths in the order they were added, duplicates kept.
// Holds at most kMaxPages entries. A cell shows the file's own name; its
// tooltip gives the page number and the whole path, which is what the
// script gets.
class PageListModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const PageList &pages() const { return m_pages; }
    QString path(qsizetype row) const;

    // Appends as many of paths as fit; returns how many did not.
    qsizetype append(const QStringList &paths);
    void clear();

private:
    QString details(int row) const;

    PageList m_pages; // UTF-8, as the script is made from them
};

} // namespace lumvrex
