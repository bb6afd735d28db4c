#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The pages: file paths in the order they were added, duplicates kept.
// Holds at most kMaxPages entries.
class PageListModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QStringList &paths() const { return m_paths; }

    // Appends as many of paths as fit; returns how many did not.
    qsizetype append(const QStringList &paths);
    void clear();

private:
    QStringList m_paths;
};
