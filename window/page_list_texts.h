#pragma once

#include "window/page_list_editor.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// How the page list's entries are shown and spoken, the same in every
// toolkit, and what its open dialog and notes say.

// What a cell of the list shows for an entry: its file's own name, shown
// printable (bytes that are not UTF-8 as <0xFF>), whole where it fits;
// otherwise the words that tell it from its neighbours ("…0035…"), with as
// many words around them as fit, the name's start first, and "…" where
// words were left out. fits says whether a text fits the cell.
std::string pageLabel(const std::vector<std::string> &paths, std::size_t row,
                      const std::function<bool(std::string_view)> &fits);

// The last part of a path, for '/' and (on Windows) '\\' separators:
// "/fotos/playa.jpg" gives "playa.jpg", "/fotos/" gives "fotos".
std::string_view fileNameOf(std::string_view path);

// What a screen reader says for an entry as the arrow keys reach it: "page
// 3 of 40, playa.jpg", and where its folder is not that of an entry beside
// it, the folder's name too: "page 21 of 40, playa.jpg, in 2024". Printable.
std::string pageSpokenName(const std::vector<std::string> &paths, std::size_t row);

// The folder of a path, without the separator after it: "/fotos" for
// "/fotos/playa.jpg", "/" for "/a.png", empty for a bare name.
std::string_view folderOf(std::string_view path);

// A whole path as a tooltip shows it: printable.
std::string shownPath(std::string_view path);

// The first line of an entry's tooltip: "page 3 of 40".
std::string pageTooltipHeading(std::size_t index, std::size_t count);
// The list's name: "Pages: 3 pages".
std::string pageListName(std::string_view caption, std::size_t count);

// Brief notes shown without a modal box, in the user's language.
std::string notFilesMessage(std::size_t notFiles, PageSource source);
std::string_view noFilesToPasteMessage();

// The open dialog of Add pictures…: its title and its filters' names.
struct AddPicturesTexts
{
    std::string_view title;
    std::string_view pictures;
    std::string_view allFiles;
};
AddPicturesTexts addPicturesTexts();
// The title of the folder chooser of Add folder….
std::string_view addFolderTitle();

// The folder the open dialog starts in: that of the last entry, or the
// given Pictures folder when the list is empty.
std::string addPicturesFolder(const std::vector<std::string> &paths, const std::string &picturesFolder);

} // namespace lumvrex
