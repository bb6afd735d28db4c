#pragma once

#include "window/page_list_controller.h"

#include <QListView>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMimeData;

namespace lumvrex {

class PageListModel;
class PageListNote;

// The one-row page list: entries side by side in six columns, scrolling
// sideways. What its commands do is the controller's; the view hands it
// keys, drops and menu choices, and gives it Qt's clipboard, open dialog,
// tooltip and drawing.
class PageListView final : public QListView, private PageListWindow
{
    Q_OBJECT
public:
    explicit PageListView(QWidget *parent);

    PageListController &pages() { return m_pages; }
    const PageListController &pages() const { return m_pages; }

    // Asks for pictures to add, starting in a folder; the window's open
    // dialog unless a test gives another.
    using PictureChooser = std::function<std::vector<std::string>(const std::string &folder)>;
    void setPictureChooser(PictureChooser chooser) { m_chooser = std::move(chooser); }
    // The same for the folder of Add folder….
    using FolderChooser = std::function<std::optional<std::string>(const std::string &folder)>;
    void setFolderChooser(FolderChooser chooser) { m_folderChooser = std::move(chooser); }

    // The brief note shown beside the list ("The clipboard holds no files
    // to paste."), empty once it has gone.
    QString note() const;

signals:
    // A message that needs a box (the list is full), shown once the drop
    // or command that caused it has finished.
    void warning(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    PageSelection viewSelection() const override;
    FileListPaths clipboardFiles() const override;
    bool clipboardHoldsFiles() const override;
    std::vector<std::string> choosePictures(const std::string &folder) override;
    std::optional<std::string> chooseFolder(const std::string &folder) override;
    std::string picturesFolder() const override;
    bool fitsCell(std::string_view text) const override;
    void showChange(const PageListChange &change) override;
    void showNote(const std::string &text) override;
    void warn(const std::string &text) override;
    void selectAll() override;
    void openMenu() override;

    void showMenu(const QPoint &globalAt, bool fromKeyboard);
    void updateAccessibleName();
    void sayCurrentEntry();

    PageListController m_pages{*this};
    PageListModel *m_model;
    PageListNote *m_note;
    PictureChooser m_chooser;
    FolderChooser m_folderChooser;
};

} // namespace lumvrex
