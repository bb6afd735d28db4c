#include "window/qt/page_list_view.h"

#include "window/qt/page_list_model.h"
#include "window/qt/page_list_note.h"
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
#include <QStyle>

#include <algorithm>
#include <optional>
#include <utility>

namespace lumvrex {
namespace {

constexpr int kColumns = 6;

// The list's keys as Qt names them.
constexpr std::pair<ListKey, Qt::Key> kQtKeys[] = {
    {ListKey::Insert, Qt::Key_Insert}, {ListKey::Delete, Qt::Key_Delete}, {ListKey::Left, Qt::Key_Left},
    {ListKey::Right, Qt::Key_Right},   {ListKey::Home, Qt::Key_Home},     {ListKey::End, Qt::Key_End},
    {ListKey::Menu, Qt::Key_Menu},     {ListKey::F10, Qt::Key_F10},       {ListKey::A, Qt::Key_A},
    {ListKey::N, Qt::Key_N},           {ListKey::O, Qt::Key_O},           {ListKey::R, Qt::Key_R},
    {ListKey::V, Qt::Key_V},           {ListKey::Y, Qt::Key_Y},           {ListKey::Z, Qt::Key_Z},
};

std::optional<KeyChord> chordOf(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers & ~(Qt::ControlModifier | Qt::ShiftModifier))
        return std::nullopt;
    for (const auto &[key, qtKey] : kQtKeys) {
        if (event.key() == qtKey)
            return KeyChord{key, modifiers.testFlag(Qt::ControlModifier),
                            modifiers.testFlag(Qt::ShiftModifier)};
    }
    return std::nullopt;
}

// A command's first key, for the menu to show and a screen reader to read.
QKeySequence keySequenceOf(PageCommand command)
{
    const std::optional<KeyChord> &chord = pageCommandDefinition(command).keys.front();
    if (!chord)
        return {};
    const auto qtKey = std::find_if(std::begin(kQtKeys), std::end(kQtKeys),
                                    [&](const auto &pair) { return pair.first == chord->key; });
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ControlModifier, chord->ctrl);
    modifiers.setFlag(Qt::ShiftModifier, chord->shift);
    return {QKeyCombination(modifiers, qtKey->second)};
}

std::vector<std::string> formatsOf(const QMimeData *mime)
{
    std::vector<std::string> formats;
    if (mime) {
        for (const QString &format : mime->formats())
            formats.push_back(utf8(format));
    }
    return formats;
}

// The files a clipboard or a drop offers, read the same way in every window.
FileListPaths filesOf(const QMimeData *mime)
{
    return filesOffered(formatsOf(mime), [mime](std::string_view format) {
        const QByteArray data = mime->data(qString(format));
        return std::string(data.constData(), static_cast<std::size_t>(data.size()));
    });
}

std::optional<std::string> chooseFolderWithQtDialog(QWidget *parent, const std::string &folder)
{
    const QString chosen = QFileDialog::getExistingDirectory(parent, qString(addFolderTitle()),
                                                             QFile::decodeName(folder.c_str()));
    if (chosen.isEmpty())
        return std::nullopt;
    return fileNameBytes(chosen);
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

// The change as the view is told of it. When the focused entry is taken
// out, its accessible object would die with its row, and Orca 43, finding
// its focus gone, starts again from the window. Told instead that as many
// rows before it went, and that every row from there on changed, the view
// keeps that object (a row up for each) until the focus moves on to the
// next entry: Orca then says just that entry. The same rows and texts are
// shown either way.
PageListChange reportedChange(const PageListChange &change, int focused, std::size_t focusAfter)
{
    const std::vector<std::size_t> &removed = change.removed;
    const std::size_t count = removed.size();
    if (!change.inserted.empty() || focused < 0 || static_cast<std::size_t>(focused) < count
        || !std::binary_search(removed.begin(), removed.end(), static_cast<std::size_t>(focused))
        || static_cast<std::size_t>(focused) - count == focusAfter)
        return change;
    PageListChange reported;
    for (std::size_t row = static_cast<std::size_t>(focused) - count; row < static_cast<std::size_t>(focused);
         ++row)
        reported.removed.push_back(row);
    return reported;
}

} // namespace

PageListView::PageListView(QWidget *parent)
    : QListView(parent)
    , m_model(new PageListModel(m_pages, this))
    , m_note(new PageListNote(this))
{
    setModel(m_model);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setUniformItemSizes(true);
    // What a cell shows is already the part that tells it apart, from its
    // start; a word still too long gives way at its end.
    setTextElideMode(Qt::ElideRight);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    m_chooser = [this](const std::string &folder) { return chooseWithQtDialog(window(), folder); };
    m_folderChooser = [this](const std::string &folder) {
        return chooseFolderWithQtDialog(window(), folder);
    };
    updateAccessibleName();
}

void PageListView::updateAccessibleName()
{
    setAccessibleName(qString(m_pages.listName()));
}

PageSelection PageListView::viewSelection() const
{
    PageSelection selection;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        selection.rows.push_back(static_cast<std::size_t>(index.row()));
    if (currentIndex().isValid())
        selection.current = static_cast<std::size_t>(currentIndex().row());
    return selection;
}

FileListPaths PageListView::clipboardFiles() const
{
    return filesOf(QApplication::clipboard()->mimeData());
}

// From the formats alone: reading a cut of pcmanfm's gives it up.
bool PageListView::clipboardHoldsFiles() const
{
    return holdsFileList(formatsOf(QApplication::clipboard()->mimeData()));
}

std::vector<std::string> PageListView::choosePictures(const std::string &folder)
{
    return m_chooser(folder);
}

std::optional<std::string> PageListView::chooseFolder(const std::string &folder)
{
    return m_folderChooser(folder);
}

std::string PageListView::picturesFolder() const
{
    return fileNameBytes(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
}

bool PageListView::fitsCell(std::string_view text) const
{
    // The room the item delegate leaves for the text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(qString(text)) <= gridSize().width() - 2 * margin;
}

void PageListView::showChange(const PageListChange &change)
{
    const PageSelection &selection = m_pages.editor().selection();
    m_model->show(reportedChange(change, currentIndex().row(), selection.current));
    updateAccessibleName();
    QItemSelection items;
    for (const auto &[first, last] : selection.runs())
        items.select(m_model->index(static_cast<int>(first)), m_model->index(static_cast<int>(last)));
    if (selection.current != PageSelection::npos) {
        const QModelIndex current = m_model->index(static_cast<int>(selection.current));
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        scrollTo(current);
    }
    selectionModel()->select(items, QItemSelectionModel::ClearAndSelect);
}

QString PageListView::note() const
{
    return m_note->isVisible() ? m_note->text() : QString();
}

void PageListView::showNote(const std::string &text)
{
    m_note->setNote(qString(text));
}

void PageListView::warn(const std::string &text)
{
    emit warning(qString(text));
}

void PageListView::selectAll()
{
    QListView::selectAll();
}

// Opened from the keyboard: below the entry that has the focus.
void PageListView::openMenu()
{
    const QModelIndex current = currentIndex();
    const QRect cell = current.isValid() ? visualRect(current) : QRect(0, 0, 1, 1);
    showMenu(viewport()->mapToGlobal(cell.bottomLeft()), true);
}

// Tells a screen reader that the entry has the focus. Qt gives the focus to
// the list itself when it gets the focus back (from Tab, a menu or a
// dialog), and Orca, finding no entry selected there, would say only the
// list.
void PageListView::sayCurrentEntry()
{
    const QModelIndex current = currentIndex();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(this);
    if (!current.isValid() || !list || !list->tableInterface())
        return;
    if (QAccessibleInterface *cell = list->tableInterface()->cellAt(current.row(), current.column())) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(list->indexOfChild(cell));
        QAccessible::updateAccessibility(&focus);
    }
}

void PageListView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    // Qt tells of the list's own focus after this handler: the entry is
    // told from the event loop, after it, or Orca would end on the list.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                sayCurrentEntry();
        },
        Qt::QueuedConnection);
}

void PageListView::keyPressEvent(QKeyEvent *event)
{
    const std::optional<KeyChord> chord = chordOf(*event);
    if (chord && m_pages.runKey(*chord))
        event->accept();
    else
        QListView::keyPressEvent(event);
}

void PageListView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        // A right click on an entry that is not selected selects it, as file
        // managers do.
        const QModelIndex under = indexAt(viewport()->mapFromGlobal(event->globalPos()));
        if (under.isValid() && !selectionModel()->isSelected(under))
            selectionModel()->setCurrentIndex(under, QItemSelectionModel::ClearAndSelect);
        showMenu(event->globalPos(), false);
    } else {
        openMenu();
    }
    event->accept();
}

void PageListView::showMenu(const QPoint &globalAt, bool fromKeyboard)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PageListMenu"));
    for (const PageMenuEntry &entry : m_pages.menu()) {
        if (entry.lineBefore)
            menu.addSeparator();
        QAction *action = menu.addAction(qString(entry.caption));
        action->setShortcut(keySequenceOf(entry.command));
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(entry.enabled);
        const PageCommand command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { m_pages.run(command); });
        // From the keyboard the first item that can act is active at once,
        // so that a screen reader says it.
        if (fromKeyboard && entry.enabled && !menu.activeAction())
            menu.setActiveAction(action);
    }
    menu.exec(globalAt);
    sayCurrentEntry();
}

void PageListView::dragEnterEvent(QDragEnterEvent *event)
{
    // A drag, unlike a cut, may be read as often as needed: one without a
    // file is refused at once.
    if (filesOf(event->mimeData()).paths.empty()) {
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
    FileListPaths found = filesOf(event->mimeData());
    event->acceptProposedAction();
    m_pages.drop(std::move(found));
}

void PageListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    // One cell per column: a cell as high as the viewport would already
    // count as overflowing it and leave the first column empty.
    setGridSize(QSize(viewport()->width() / kColumns, std::max(1, viewport()->height() - 1)));
    m_pages.relabel();
}

} // namespace lumvrex
