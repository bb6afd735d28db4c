#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// The files that a clipboard or a drop offers, whatever the program that
// put them there, read the same way in every window.

struct FileListPaths
{
    std::vector<std::string> paths; // in the order offered
    std::size_t notFiles = 0;       // items that are not files, or not usable as a page
};

// The formats a file list comes in, best first: the standard URI list that
// every file manager offers, then the GNOME and MATE lists (a "copy" or
// "cut" line before the URIs), then KDE's own copy of the URI list. Plain
// text is never read: each program writes it differently (paths joined by
// blanks, Latin-1, half-escaped URLs).
inline constexpr std::string_view kFileListFormats[] = {
    "text/uri-list",
    "x-special/gnome-copied-files",
    "x-special/mate-copied-files",
    "application/x-kde4-urilist",
    "application/x-kde-urilist",
};

// Whether any of the offered formats (names as a clipboard lists them) can
// hold files: enough to enable Paste. It reads no data, as it must not: a
// cut in pcmanfm is given up once its data has been read.
bool holdsFileList(const std::vector<std::string> &formats);

// The paths of the best of the offered formats that has any item, its bytes
// read with bytesOf (given the name as offered), which is asked for no other
// format.
FileListPaths filesOffered(const std::vector<std::string> &formats,
                           const std::function<std::string(std::string_view format)> &bytesOf);

// The paths of one list of URIs, one a line (LF or CR LF): file: URLs
// percent-decoded to the bytes they name, "file://host/" kept as "//host/".
// A first line "copy" or "cut", blank lines and '#' comments are passed
// over; NULs that end a line or the list are dropped.
FileListPaths pathsFromFileList(std::string_view list);

// Whether a path holds a control character (U+0000 to U+001F, U+007F),
// which no page may hold.
bool holdsControlCharacter(std::string_view path);

// The paths without a control character, in order; those with one are
// counted in notFiles. For paths that come in a form of their own (CF_HDROP
// on Windows), as UTF-8.
FileListPaths keptPaths(std::vector<std::string> paths);

} // namespace lumvrex
