#pragma once

#include "window/page_list_controller.h"

#include <QAbstractListModel>

namespace lumvrex {

// The pages as the view shows them, read from the controller. A cell shows
// the part of the file's name that tells it from its neighbours; its
// tooltip gives the page number and the whole path, which is what the
// script gets.
class PageListModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    PageListModel(const PageListController &pages, QObject *parent);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Tells the view what the controller's last change took out and put
    // in, so that the entries it keeps (and the focused one) stay.
    void show(const PageListChange &change);

private:
    const PageListController &m_pages;
    // The rows the view has been told of; during show() they run behind
    // the controller's.
    int m_rows = 0;
};

// A file name as the system holds it: its own bytes, UTF-8 or not.
std::string fileNameBytes(const QString &path);

} // namespace lumvrex
