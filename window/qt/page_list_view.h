#pragma once

#include "window/form1_commands.h"

#include <QListView>

#include <functional>
#include <string>
#include <vector>

class QMimeData;

namespace lumvrex {

class PageListModel;

// The one-row page list: entries side by side in six columns, scrolling
// sideways. Files dropped on it or pasted are appended in their order; the
// keys and the context menu add, remove, move, undo and redo.
class PageListView final : public QListView
{
    Q_OBJECT
public:
    explicit PageListView(PageListModel *model, QWidget *parent = nullptr);

    // A screen reader hears the caption with the number of pages after it:
    // "Pages: 3 pages".
    void setAccessibleCaption(const QString &caption);

    // Asks for pictures to add, starting in a folder; the window's open
    // dialog unless a test gives another.
    using PictureChooser = std::function<std::vector<std::string>(const std::string &folder)>;
    void setPictureChooser(PictureChooser chooser) { m_chooser = std::move(chooser); }

    void run(PageCommand command);
    // Whether the command can act on the list and selection as they are.
    bool canRun(PageCommand command);
    // The last brief note shown beside the list ("The clipboard holds no
    // files to paste."), also the list's accessible description.
    QString note() const { return m_note; }

signals:
    // A message that needs a box (the list is full), shown once the drop
    // or command that caused it has finished.
    void warning(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    static UriListPaths filePaths(const QMimeData *mime);
    static bool holdsFiles(const QMimeData *mime);
    void updateAccessibleName();
    void takeSelection();
    void showSelection();
    void added(const EditOutcome &outcome, std::size_t notFiles, PageSource source);
    void edit(const std::function<EditOutcome(PageListEditor &)> &command);
    void paste();
    void addPictures();
    void showNote(const QString &text);
    void showMenu(const QPoint &globalAt);
    void showMenuAtCurrent();

    PageListModel *m_pages;
    QString m_accessibleCaption;
    PictureChooser m_chooser;
    QString m_note;
};

} // namespace lumvrex
