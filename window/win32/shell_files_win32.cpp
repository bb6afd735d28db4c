#include "window/win32/shell_files.h"

#include "runtime/system.h"
#include "window/folder_pictures.h"
#include "window/page_list_texts.h"

#include <algorithm>

#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

namespace lumvrex {

using namespace std::literals;

// The paths of a drop in its order, read from its block in one pass:
// DragQueryFileW walks the list from the start for each path, which makes a
// drop of tens of thousands of files take many seconds.
std::vector<std::wstring> droppedPaths(HGLOBAL drop)
{
    std::vector<std::wstring> paths;
    const auto *files = static_cast<const DROPFILES *>(GlobalLock(drop));
    if (!files)
        return paths;
    const std::size_t size = GlobalSize(drop);
    if (files->pFiles < size) {
        const char *const start = reinterpret_cast<const char *>(files) + files->pFiles;
        const char *const end = reinterpret_cast<const char *>(files) + size;
        if (files->fWide) {
            const std::wstring_view all(reinterpret_cast<const wchar_t *>(start),
                                        static_cast<std::size_t>(end - start) / sizeof(wchar_t));
            for (std::size_t at = 0; at < all.size() && all[at] != L'\0';) {
                const std::size_t next = std::min(all.find(L'\0', at), all.size());
                paths.emplace_back(all.substr(at, next - at));
                at = next + 1;
            }
        } else {
            // Paths in the ANSI code page, from programs that know no other.
            const std::string_view all(start, static_cast<std::size_t>(end - start));
            for (std::size_t at = 0; at < all.size() && all[at] != '\0';) {
                const std::size_t next = std::min(all.find('\0', at), all.size());
                const int length = static_cast<int>(next - at);
                std::wstring path(
                    static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, start + at, length, nullptr, 0)),
                    L'\0');
                MultiByteToWideChar(CP_ACP, 0, start + at, length, path.data(),
                                    static_cast<int>(path.size()));
                paths.push_back(std::move(path));
                at = next + 1;
            }
        }
    }
    GlobalUnlock(drop);
    return paths;
}

std::vector<std::string> utf8Paths(const std::vector<std::wstring> &paths)
{
    std::vector<std::string> converted;
    converted.reserve(paths.size());
    for (const std::wstring &path : paths)
        converted.push_back(utf8FromWide(path));
    return converted;
}

// The system's open dialog, several files at once. The answer comes as the
// folder and then each name, or as one whole path; a buffer of 1 MiB holds
// thousands of names.
std::vector<std::wstring> chooseWithOpenDialog(HWND owner, const std::wstring &folder)
{
    std::vector<wchar_t> buffer(std::size_t{512} * 1024, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    const AddPicturesTexts texts = addPicturesTexts();
    // Each name and pattern ends in a NUL, the whole list in a second one.
    std::wstring filter = wideFromUtf8(texts.pictures);
    filter += L"\0"sv;
    filter += wideFromUtf8(picturePatterns());
    filter += L"\0"sv;
    filter += wideFromUtf8(texts.allFiles);
    filter += L"\0*.*\0"sv;
    const std::wstring title = wideFromUtf8(texts.title);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags =
        OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    std::vector<std::wstring> paths;
    if (!GetOpenFileNameW(&dialog))
        return paths;
    const wchar_t *at = buffer.data();
    const std::wstring first = at;
    at += first.size() + 1;
    if (*at == L'\0') {
        paths.push_back(first);
        return paths;
    }
    const std::wstring separator = !first.empty() && first.back() == L'\\' ? L"" : L"\\";
    while (*at != L'\0') {
        const std::wstring name = at;
        std::wstring path = first;
        path += separator;
        path += name;
        paths.push_back(std::move(path));
        at += name.size() + 1;
    }
    return paths;
}

namespace {

// Selects the starting folder once the chooser is up.
int CALLBACK selectStartFolder(HWND chooser, UINT message, LPARAM, LPARAM folder)
{
    if (message == BFFM_INITIALIZED && folder)
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, folder);
    return 0;
}

} // namespace

std::wstring chooseFolderWithShell(HWND owner, const std::wstring &folder)
{
    const std::wstring title = wideFromUtf8(addFolderTitle());
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    // The resizable chooser with its own "New folder" button (Windows 2000
    // on), folders of the file system only.
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = selectStartFolder;
    browse.lParam = folder.empty() ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
    // The new style needs COM in this thread; the window's thread is a
    // single-threaded apartment already or becomes one here.
    const HRESULT com = OleInitialize(nullptr);
    std::wstring chosen;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&browse)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(list, path))
            chosen = path;
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(com))
        OleUninitialize();
    return chosen;
}

} // namespace lumvrex
