#pragma once

#include "publication/page_list.h"
#include "window/page_list_editor.h"

#include <QAbstractListModel>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace lumvrex {

// The pages as the view shows them; the editing, its history and the
// selection after each command are the editor's. A cell shows the part of
// the file's name that tells it from its neighbours; its tooltip gives the
// page number and the whole path, which is what the script gets.
class PageListModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const PageListEditor &editor() const { return m_editor; }
    PageList pages() const { return m_editor.pages(); }
    QString path(qsizetype row) const;

    // Appends as many of paths as fit (the file names' own bytes); the
    // outcome's message says how many did not.
    EditOutcome append(std::vector<std::string> paths, PageSource source);
    // The same for names as Qt holds them; returns how many did not fit.
    qsizetype append(const QStringList &paths);
    // Any other command of the editor, run on it with the view told.
    EditOutcome edit(const std::function<EditOutcome(PageListEditor &)> &command);
    void select(PageSelection selection) { m_editor.select(std::move(selection)); }
    void clear();

signals:
    // After every change, with the editor's selection to show.
    void changed();

private:
    const std::vector<std::string> &labels() const;

    PageListEditor m_editor;
    mutable std::vector<std::string> m_labels;
    mutable bool m_labelsValid = false;
};

// A file name as the system holds it: its own bytes, UTF-8 or not.
std::string fileNameBytes(const QString &path);

} // namespace lumvrex
