#include "window/qt/page_list_view.h"

#include "window/qt/page_list_model.h"
#include "window/qt/qt_text.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QResizeEvent>
#include <QStandardPaths>
#include <QToolTip>
#include <QUrl>

#include <algorithm>

namespace lumvrex {
namespace {

constexpr int kColumns = 6;
// What file managers put on the clipboard beside (or instead of) the URLs.
constexpr QLatin1String kCopiedFiles("x-special/gnome-copied-files");

std::string bytesOf(const QByteArray &data)
{
    return {data.constData(), static_cast<std::size_t>(data.size())};
}

std::vector<std::string> chooseWithQtDialog(QWidget *parent, const std::string &folder)
{
    const QStringList chosen = QFileDialog::getOpenFileNames(parent, qString(addPicturesTexts().title),
                                                             QFile::decodeName(folder.c_str()));
    std::vector<std::string> paths;
    for (const QString &path : chosen)
        paths.push_back(fileNameBytes(path));
    return paths;
}

} // namespace

PageListView::PageListView(PageListModel *model, QWidget *parent)
    : QListView(parent)
    , m_pages(model)
{
    setModel(model);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setUniformItemSizes(true);
    // What a cell shows is already the part that tells it apart; a name
    // still too long gives way in its middle.
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    m_chooser = [this](const std::string &folder) { return chooseWithQtDialog(window(), folder); };

    connect(model, &PageListModel::changed, this, &PageListView::showSelection);
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
    setAccessibleName(qString(pageListName(utf8(m_accessibleCaption), m_pages->editor().size())));
}

UriListPaths PageListView::filePaths(const QMimeData *mime)
{
    UriListPaths found;
    if (!mime)
        return found;
    if (mime->hasFormat(kCopiedFiles))
        return pathsFromUriList(bytesOf(mime->data(kCopiedFiles)));
    // QUrl keeps a byte that is not UTF-8 percent-encoded (and so a '%'):
    // decoded here, the name keeps its own bytes.
    for (const QUrl &url : mime->urls()) {
        if (!url.isLocalFile()) {
            ++found.notFiles;
            continue;
        }
        std::string path = utf8(url.path(QUrl::PrettyDecoded));
        if (path.find('%') != std::string::npos)
            path = percentDecoded(path);
        if (const QString host = url.host(); !host.isEmpty() && host != QStringLiteral("localhost"))
            path.insert(0, "//" + utf8(host));
        found.paths.push_back(std::move(path));
    }
    return found;
}

void PageListView::takeSelection()
{
    PageSelection selection;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        selection.rows.push_back(static_cast<std::size_t>(index.row()));
    if (currentIndex().isValid())
        selection.current = static_cast<std::size_t>(currentIndex().row());
    m_pages->select(std::move(selection));
}

void PageListView::showSelection()
{
    const PageSelection &selection = m_pages->editor().selection();
    QItemSelection items;
    for (const auto &[first, last] : selection.runs())
        items.select(m_pages->index(static_cast<int>(first)), m_pages->index(static_cast<int>(last)));
    if (selection.current != PageSelection::npos) {
        const QModelIndex current = m_pages->index(static_cast<int>(selection.current));
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        scrollTo(current);
    }
    selectionModel()->select(items, QItemSelectionModel::ClearAndSelect);
}

void PageListView::showNote(const QString &text)
{
    m_note = text;
    // Beside the list, where the eyes are, and gone at the next key or
    // click; a screen reader finds it in the list's description.
    QToolTip::showText(mapToGlobal(QPoint(0, height())), text, this, QRect(), 4000);
    setAccessibleDescription(text);
}

void PageListView::added(const EditOutcome &outcome, std::size_t notFiles, PageSource source)
{
    if (!outcome.message.empty())
        emit warning(qString(outcome.message));
    if (notFiles > 0)
        showNote(qString(notFilesMessage(notFiles, source)));
}

void PageListView::edit(const std::function<EditOutcome(PageListEditor &)> &command)
{
    takeSelection();
    const EditOutcome outcome = m_pages->edit(command);
    if (!outcome.message.empty())
        emit warning(qString(outcome.message));
}

void PageListView::paste()
{
    UriListPaths found = filePaths(QApplication::clipboard()->mimeData());
    if (found.paths.empty()) {
        showNote(qString(noFilesToPasteMessage()));
        return;
    }
    const std::size_t notFiles = found.notFiles;
    added(m_pages->append(std::move(found.paths), PageSource::Paste), notFiles, PageSource::Paste);
}

void PageListView::addPictures()
{
    const std::string pictures =
        fileNameBytes(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    std::vector<std::string> chosen = m_chooser(addPicturesFolder(m_pages->editor().entries(), pictures));
    if (!chosen.empty())
        added(m_pages->append(std::move(chosen), PageSource::OpenDialog), 0, PageSource::OpenDialog);
}

bool PageListView::canRun(PageCommand command)
{
    const bool hasFiles = command == PageCommand::Paste && holdsFiles(QApplication::clipboard()->mimeData());
    takeSelection();
    return pageCommandEnabled(m_pages->editor(), command, hasFiles);
}

void PageListView::run(PageCommand command)
{
    if (command == PageCommand::AddPictures)
        addPictures();
    else if (command == PageCommand::Paste)
        paste();
    else
        edit([command](PageListEditor &editor) { return applyListEdit(editor, command); });
}

void PageListView::keyPressEvent(QKeyEvent *event)
{
    using Move = PageListEditor::Move;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool ctrl = modifiers == Qt::ControlModifier;
    const bool none = modifiers == Qt::NoModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    const auto move = [this](Move to) {
        edit([to](PageListEditor &editor) { return editor.moveSelected(to); });
    };

    if ((ctrl && key == Qt::Key_V) || (shift && key == Qt::Key_Insert))
        run(PageCommand::Paste);
    else if (none && key == Qt::Key_Insert)
        run(PageCommand::AddPictures);
    else if (none && key == Qt::Key_Delete)
        run(PageCommand::Remove);
    else if (ctrl && key == Qt::Key_Left)
        move(Move::Left);
    else if (ctrl && key == Qt::Key_Right)
        move(Move::Right);
    else if (ctrl && key == Qt::Key_Home)
        move(Move::First);
    else if (ctrl && key == Qt::Key_End)
        move(Move::Last);
    else if (ctrl && key == Qt::Key_Z)
        run(PageCommand::Undo);
    else if ((ctrl && key == Qt::Key_Y)
             || (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && key == Qt::Key_Z))
        run(PageCommand::Redo);
    else if ((none && key == Qt::Key_Menu) || (shift && key == Qt::Key_F10))
        showMenuAtCurrent();
    else {
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PageListView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        // A right click on an entry that is not selected selects it, as file
        // managers do.
        const QModelIndex under = indexAt(viewport()->mapFromGlobal(event->globalPos()));
        if (under.isValid() && !selectionModel()->isSelected(under))
            selectionModel()->setCurrentIndex(under, QItemSelectionModel::ClearAndSelect);
        showMenu(event->globalPos());
    } else {
        showMenuAtCurrent();
    }
    event->accept();
}

// Opened from the keyboard: below the entry that has the focus.
void PageListView::showMenuAtCurrent()
{
    const QModelIndex current = currentIndex();
    const QRect cell = current.isValid() ? visualRect(current) : QRect(0, 0, 1, 1);
    showMenu(viewport()->mapToGlobal(cell.bottomLeft()));
}

void PageListView::showMenu(const QPoint &globalAt)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PageListMenu"));
    for (const PageMenuItem &item : kPageMenu) {
        if (item.separatorBefore)
            menu.addSeparator();
        QAction *action = menu.addAction(qString(pageMenuCaption(item.command)));
        action->setShortcut(QKeySequence(qString(item.shortcut)));
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(canRun(item.command));
        const PageCommand command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    }
    menu.exec(globalAt);
}

bool PageListView::holdsFiles(const QMimeData *mime)
{
    if (!mime || mime->hasFormat(kCopiedFiles))
        return !filePaths(mime).paths.empty();
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

void PageListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!holdsFiles(event->mimeData())) {
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
    UriListPaths found = filePaths(event->mimeData());
    event->acceptProposedAction();
    if (found.paths.empty())
        return;
    const std::size_t notFiles = found.notFiles;
    added(m_pages->append(std::move(found.paths), PageSource::Drop), notFiles, PageSource::Drop);
}

void PageListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    // One cell per column: a cell as high as the viewport would already
    // count as overflowing it and leave the first column empty.
    setGridSize(QSize(viewport()->width() / kColumns, std::max(1, viewport()->height() - 1)));
}

} // namespace lumvrex
