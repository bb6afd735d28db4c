#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// What "Add folder…" adds: the pictures of a folder and of its subfolders,
// each folder's own pictures in name order first, then each subfolder in
// name order, in the same way (chapters).
struct FolderPictures
{
    std::vector<std::string> pictures; // paths, UTF-8
    std::size_t otherFiles = 0;        // files that are not pictures, left out
    // Folders that could not be listed (the chosen one or subfolders); the
    // rest is added all the same. The first one, and the system's reason.
    std::size_t unreadableFolders = 0;
    std::string firstUnreadable;
    std::string firstUnreadableReason;
};

// Pictures are the files whose extensions "Add pictures…" offers (bmp, jpg,
// jpeg, png, gif, tif, tiff, ico) in any case. Hidden files and folders (a
// name starting with '.'; on Windows also the hidden or system attribute, as
// desktop.ini and Thumbs.db have) are left out without a word, and a link
// to a folder above is not followed. folder is UTF-8 (on Windows the UTF-8
// of the wide path).
FolderPictures folderPictures(std::string_view folder);

// The extensions of pictures, as the open dialog of "Add pictures…" offers them.
inline constexpr std::array<std::string_view, 8> kPictureExtensions = {"bmp", "jpg", "jpeg", "png",
                                                                       "gif", "tif", "tiff", "ico"};

bool isPictureName(std::string_view fileName);
// The pictures' patterns for an open dialog's filter: "*.bmp;*.jpg;…".
std::string picturePatterns();

// The brief note about what was not added, in the user's language: that the
// folder holds no pictures, how many other files were left out, which
// folders could not be read. Empty when there is nothing to say.
std::string folderPicturesNote(std::string_view folder, const FolderPictures &found);

} // namespace lumvrex
