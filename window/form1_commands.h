#pragma once

#include "publication/publication_inputs.h"
#include "window/form1_layout.h"
#include "window/page_list_editor.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// What Form1 does, the same in every toolkit: which field feeds which
// input, what each button does, and how the page list's entries are shown
// and spoken.

struct FieldInput
{
    std::string_view control;
    std::string PublicationInputs::*input;
};

// "Text3" (the init message) feeds nothing.
inline constexpr std::array<FieldInput, 5> kForm1FieldInputs = {{
    {"Text1", &PublicationInputs::title},
    {"Text2", &PublicationInputs::backColor},
    {"Text4", &PublicationInputs::width},
    {"Text5", &PublicationInputs::height},
    {"Text6", &PublicationInputs::icon},
}};

// The inputs from the fields' texts (UTF-8, asked for by control name) and
// the pages.
PublicationInputs form1Inputs(const std::function<std::string(std::string_view control)> &fieldText,
                              PageList pages);

enum class ButtonAction { CreatePublication, Exit, ClearPages };
std::optional<ButtonAction> buttonAction(std::string_view control);

// The byte a script gets as its decimal separator: the user's settings as
// the system keeps them, the same source lumvrex-cli reads.
char form1DecimalSeparator();

// What a cell of the list shows for each entry: the file's own name, shown
// printable (bytes that are not UTF-8 as <0xFF>), with the start and end it
// shares with both neighbours left out ("…0035…"), so that neighbours can
// be told apart in a narrow cell. Whole words and numbers are kept.
std::vector<std::string> pageLabels(const std::vector<std::string> &paths);

// The last part of a path, for '/' and (on Windows) '\\' separators:
// "/fotos/playa.jpg" gives "playa.jpg", "/fotos/" gives "fotos".
std::string_view fileNameOf(std::string_view path);

// What a screen reader says for an entry: "page 3 of 40, playa.jpg"; its
// description is the whole path. Both printable.
std::string pageSpokenName(std::size_t index, std::size_t count, std::string_view path);
std::string pageDescription(std::string_view path);
// What a screen reader calls a field: its label's caption, and for the two
// halves of the resolution a word in the user's language ("width").
std::string fieldAccessibleName(const ControlSpec &field);

// The first line of an entry's tooltip: "page 3 of 40".
std::string pageTooltipHeading(std::size_t index, std::size_t count);
// The list's name: "Pages: 3 pages".
std::string pageListName(std::string_view caption, std::size_t count);

// The paths of a text/uri-list (also x-special/gnome-copied-files, whose
// first line is "copy" or "cut"): file: URLs percent-decoded to the bytes
// they name, and how many items were not files.
struct UriListPaths
{
    std::vector<std::string> paths;
    std::size_t notFiles = 0;
};
UriListPaths pathsFromUriList(std::string_view uriList);
// "%20" and the like as the bytes they stand for; a broken one stays.
std::string percentDecoded(std::string_view text);

// Brief notes shown without a modal box, in the user's language.
std::string notFilesMessage(std::size_t notFiles, PageSource source);
std::string_view noFilesToPasteMessage();

// The context menu of the page list, in order, in groups.
enum class PageCommand { AddPictures, Paste, Remove, MoveLeft, MoveRight, Undo, Redo, Clear };
struct PageMenuItem
{
    PageCommand command;
    std::string_view shortcut; // as QKeySequence reads it
    bool separatorBefore = false;
};
inline constexpr std::array<PageMenuItem, 8> kPageMenu = {{
    {PageCommand::AddPictures, "Insert"},
    {PageCommand::Paste, "Ctrl+V"},
    {PageCommand::Remove, "Delete"},
    {PageCommand::MoveLeft, "Ctrl+Left"},
    {PageCommand::MoveRight, "Ctrl+Right"},
    {PageCommand::Undo, "Ctrl+Z", true},
    {PageCommand::Redo, "Ctrl+Y"},
    {PageCommand::Clear, "", true},
}};

// A command's caption in the user's language, '&' before its access key;
// the access keys of one language are all different.
std::string pageMenuCaption(PageCommand command);
// Its shortcut as a menu shows it in the user's language ("Supr" for
// Delete on a Spanish keyboard); empty for none.
std::string_view pageMenuShortcutLabel(PageCommand command);

// Whether a command of the menu can act now.
bool pageCommandEnabled(const PageListEditor &editor, PageCommand command, bool clipboardHasFiles);

// Carries out a command of the menu that edits the list by itself. Add
// pictures… and Paste first need what only a window has (its open dialog,
// its clipboard): given here, they change nothing.
EditOutcome applyListEdit(PageListEditor &editor, PageCommand command);

// The open dialog of Add pictures…: its title and its filters' names.
struct AddPicturesTexts
{
    std::string_view title;
    std::string_view pictures;
    std::string_view allFiles;
};
AddPicturesTexts addPicturesTexts();

// The folder the open dialog starts in: that of the last entry, or the
// given Pictures folder when the list is empty.
std::string addPicturesFolder(const std::vector<std::string> &paths, const std::string &picturesFolder);

// A leading "~/" (or a lone "~") is the home folder, as in the desktop's
// own file dialogs; home empty leaves the path as it is.
std::string expandHome(std::string_view path, std::string_view home);

} // namespace lumvrex
