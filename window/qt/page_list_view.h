#pragma once

#include <QListView>

namespace lumvrex {

class PageListModel;

// The one-row page list: entries side by side in six columns, scrolling
// sideways. Files dropped on it are appended in the drop's order.
class PageListView final : public QListView
{
    Q_OBJECT
public:
    explicit PageListView(PageListModel *model, QWidget *parent = nullptr);

    // A screen reader hears the caption with the number of pages after it:
    // "Pages: 3 pages".
    void setAccessibleCaption(const QString &caption);

signals:
    // Emitted after a drop that did not fit into the list.
    void dropOverflowed(qsizetype notAdded);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    static QStringList localPaths(const QMimeData *mime);
    void updateAccessibleName();

    PageListModel *m_pages;
    QString m_accessibleCaption;
};

} // namespace lumvrex
