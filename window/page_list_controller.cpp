#include "window/page_list_controller.h"

#include "publication/page_order.h"
#include "publication/publication_inputs.h"
#include "window/folder_pictures.h"
#include "window/form1_layout.h"

#include <algorithm>

#include <utility>

namespace lumvrex {
namespace {

using Move = PageListEditor::Move;

std::optional<Move> moveOf(PageCommand command)
{
    switch (command) {
    case PageCommand::MoveLeft:
        return Move::Left;
    case PageCommand::MoveRight:
        return Move::Right;
    case PageCommand::MoveFirst:
        return Move::First;
    case PageCommand::MoveLast:
        return Move::Last;
    default:
        return std::nullopt;
    }
}

} // namespace

std::string PageListController::listName() const
{
    const auto list =
        std::find_if(kForm1Controls.begin(), kForm1Controls.end(),
                     [](const Form1Control &control) { return control.kind == ControlKind::PageList; });
    return pageListName(lumvrex::spokenName(*list), m_editor.size());
}

const std::string &PageListController::label(std::size_t row) const
{
    std::optional<std::string> &label = m_labels[row];
    if (!label)
        label = pageLabel(m_editor.entries(), row,
                          [this](std::string_view text) { return m_window.fitsCell(text); });
    return *label;
}

bool PageListController::enabled(PageCommand command) const
{
    const bool room = m_editor.size() < kMaxPages;
    if (const std::optional<Move> move = moveOf(command))
        return m_editor.canMove(*move, m_editor.clamped(m_window.viewSelection()));
    switch (command) {
    case PageCommand::AddPictures:
    case PageCommand::AddFolder:
        return room;
    case PageCommand::Paste:
        return room && m_window.clipboardHoldsFiles();
    case PageCommand::Remove:
        return PageListEditor::canRemove(m_editor.clamped(m_window.viewSelection()));
    case PageCommand::Undo:
        return m_editor.canUndo();
    case PageCommand::Redo:
        return m_editor.canRedo();
    case PageCommand::SortByName:
    case PageCommand::Reverse:
        return m_editor.size() > 1;
    case PageCommand::Clear:
    case PageCommand::SelectAll:
        return m_editor.canClear();
    case PageCommand::OpenMenu:
        return true;
    default:
        return false;
    }
}

void PageListController::run(PageCommand command)
{
    m_editor.select(m_window.viewSelection());
    if (const std::optional<Move> move = moveOf(command)) {
        edit(m_editor.moveSelected(*move));
        return;
    }
    switch (command) {
    case PageCommand::AddPictures:
        addPictures();
        break;
    case PageCommand::AddFolder:
        addFolder();
        break;
    case PageCommand::Paste:
        paste();
        break;
    case PageCommand::Remove:
        edit(m_editor.removeSelected());
        break;
    case PageCommand::Undo:
        edit(m_editor.undo());
        break;
    case PageCommand::Redo:
        edit(m_editor.redo());
        break;
    case PageCommand::SortByName:
        edit(m_editor.reorder(nameOrder(m_editor.entries())));
        break;
    case PageCommand::Reverse: {
        std::vector<std::size_t> order(m_editor.size());
        for (std::size_t to = 0; to < order.size(); ++to)
            order[to] = order.size() - 1 - to;
        edit(m_editor.reorder(order));
        break;
    }
    case PageCommand::Clear:
        edit(m_editor.clear());
        break;
    case PageCommand::SelectAll:
        if (enabled(command))
            m_window.selectAll();
        break;
    case PageCommand::OpenMenu:
        m_window.openMenu();
        break;
    default:
        break;
    }
}

bool PageListController::runKey(KeyChord chord)
{
    const std::optional<PageCommand> command = commandForKey(chord);
    if (command)
        run(*command);
    return command.has_value();
}

std::vector<PageMenuEntry> PageListController::menu() const
{
    std::vector<PageMenuEntry> entries;
    for (const PageCommandDefinition &definition : kPageCommands) {
        if (definition.menu != MenuPlace::None)
            entries.push_back({definition.command, pageMenuCaption(definition.command),
                               pageMenuShortcutLabel(definition.command), enabled(definition.command),
                               definition.menu == MenuPlace::AfterLine});
    }
    return entries;
}

void PageListController::drop(FileListPaths found)
{
    if (!found.paths.empty())
        add(std::move(found.paths), PageSource::Drop, found.notFiles);
}

void PageListController::add(std::vector<std::string> paths, PageSource source, std::size_t notFiles)
{
    edit(m_editor.append(std::move(paths), source));
    if (notFiles > 0)
        m_window.showNote(notFilesMessage(notFiles, source));
}

void PageListController::edit(const EditOutcome &outcome)
{
    if (outcome.changed) {
        relabel();
        // A note is about what was just done: the next change ends it.
        m_window.showNote({});
        m_window.showChange(outcome.change);
        // No entry is left to have the focus and say the count.
        if (m_editor.size() == 0)
            m_window.showNote(listName());
    }
    if (!outcome.message.empty())
        m_window.warn(outcome.message);
}

void PageListController::paste()
{
    FileListPaths found = m_window.clipboardFiles();
    if (found.paths.empty()) {
        m_window.showNote(std::string(noFilesToPasteMessage()));
        return;
    }
    add(std::move(found.paths), PageSource::Paste, found.notFiles);
}

std::string PageListController::startFolder() const
{
    return addPicturesFolder(m_editor.entries(), m_window.picturesFolder());
}

void PageListController::addPictures()
{
    std::vector<std::string> chosen = m_window.choosePictures(startFolder());
    if (!chosen.empty())
        add(std::move(chosen), PageSource::OpenDialog);
}

void PageListController::addFolder()
{
    const std::optional<std::string> folder = m_window.chooseFolder(startFolder());
    if (!folder)
        return;
    FolderPictures found = folderPictures(*folder);
    // Told of before the pictures are handed over.
    const std::string note = folderPicturesNote(*folder, found);
    edit(m_editor.append(std::move(found.pictures), PageSource::OpenDialog));
    if (!note.empty())
        m_window.showNote(note);
}

void PageListController::selectRows(const std::vector<std::size_t> &rows)
{
    if (rows.empty())
        return;
    m_editor.select({rows, rows.front()});
    m_window.showChange({});
}

} // namespace lumvrex
