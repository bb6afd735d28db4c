#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace lumvrex {

// Files as the shell hands them over: the block of a drop or of the
// clipboard's CF_HDROP, and the open dialog.

// The paths of a drop block, in its order.
std::vector<std::wstring> droppedPaths(HGLOBAL drop);

std::vector<std::string> utf8Paths(const std::vector<std::wstring> &paths);

// The system's open dialog for "Add pictures…", several files at once,
// starting in folder; nothing when cancelled.
std::vector<std::wstring> chooseWithOpenDialog(HWND owner, const std::wstring &folder);

// The system's folder chooser for "Add folder…", starting in folder;
// empty when cancelled.
std::wstring chooseFolderWithShell(HWND owner, const std::wstring &folder);

} // namespace lumvrex
