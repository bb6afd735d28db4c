#include "window/qt/page_list_view.h"

#include "window/qt/page_list_model.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QUrl>

namespace lumvrex {
namespace {

constexpr int kColumns = 6;

} // namespace

PageListView::PageListView(PageListModel *model, QWidget *parent)
    : QListView(parent)
    , m_pages(model)
{
    setModel(model);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setUniformItemSizes(true);
    // A cell shows a file name: its start and its extension tell pictures
    // apart, the middle gives way when the column is too narrow.
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);

    connect(model, &QAbstractItemModel::rowsInserted, this, &PageListView::updateAccessibleName);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &PageListView::updateAccessibleName);
    connect(model, &QAbstractItemModel::modelReset, this, &PageListView::updateAccessibleName);
}

void PageListView::setAccessibleCaption(const QString &caption)
{
    m_accessibleCaption = caption;
    updateAccessibleName();
}

void PageListView::updateAccessibleName()
{
    const int count = m_pages->rowCount();
    setAccessibleName(count == 1 ? m_accessibleCaption + QStringLiteral(" 1 page")
                                 : QStringLiteral("%1 %2 pages").arg(m_accessibleCaption).arg(count));
}

QStringList PageListView::localPaths(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths.append(QDir::toNativeSeparators(url.toLocalFile()));
    }
    return paths;
}

void PageListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (localPaths(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void PageListView::dragMoveEvent(QDragMoveEvent *event)
{
    // The whole list is one drop target; where in it does not matter.
    event->acceptProposedAction();
}

void PageListView::dropEvent(QDropEvent *event)
{
    const QStringList paths = localPaths(event->mimeData());
    event->acceptProposedAction();
    if (paths.isEmpty())
        return;
    const qsizetype notAdded = m_pages->append(paths);
    if (notAdded > 0)
        emit dropOverflowed(notAdded);
}

void PageListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    // One cell per column: a cell as high as the viewport would already
    // count as overflowing it and leave the first column empty.
    setGridSize(QSize(viewport()->width() / kColumns, std::max(1, viewport()->height() - 1)));
}

} // namespace lumvrex
