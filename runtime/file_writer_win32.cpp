#include "runtime/file_writer.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"

#include "runtime/system.h"
#include "runtime/temporary_name.h"
#include "runtime/utf8.h"
#include "runtime/windows_api_win32.h"
#include "runtime/write_failure.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include <windows.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;

// Writes every byte to the handle. On a failure, written (where given) is
// told how many bytes the handle took.
Status writeAll(HANDLE handle, std::string_view bytes, std::size_t *written = nullptr)
{
    // In pieces of 256 KiB: the console of older Windows refuses one write
    // of many megabytes.
    constexpr std::size_t kPieceBytes = std::size_t(256) << 10;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto piece = static_cast<DWORD>(std::min(bytes.size() - done, kPieceBytes));
        DWORD took = 0;
        if (!WriteFile(handle, bytes.data() + done, piece, &took, nullptr) || took == 0) {
            DWORD error = GetLastError();
            if (error == ERROR_SUCCESS)
                error = ERROR_WRITE_FAULT;
            if (written)
                *written = done;
            return systemError(Error::Kind::WriteFailed, SystemCode::fromWindows(error));
        }
        done += took;
    }
    return {};
}

// Names Windows keeps for devices: CON, PRN, AUX, NUL, COM1..9, LPT1..9,
// whatever follows a dot.
bool isDeviceName(std::wstring name)
{
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (wchar_t &c : name)
        c = static_cast<wchar_t>(std::towupper(c));
    for (const wchar_t *device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (name == device)
            return true;
    }
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) && name[3] >= L'1'
        && name[3] <= L'9';
}

// A device named as itself ("NUL", "CON", "\\.\COM1"): written straight to.
bool namesADevice(const fs::path &path)
{
    const std::wstring &name = path.native();
    return name.starts_with(L"\\\\.\\")
        || (!path.has_parent_path() && isDeviceName(name) && name.find(L'.') == std::wstring::npos);
}

// The names of a path after its drive or "\\?\" prefix.
std::wstring_view namesOf(const fs::path &path)
{
    std::wstring_view names = path.native();
    if (names.starts_with(L"\\\\?\\"))
        names.remove_prefix(4);
    if (names.size() >= 2 && names[1] == L':' && std::iswalpha(names[0]))
        names.remove_prefix(2);
    return names;
}

// The first character of the names that no Windows file name may hold, or
// 0. A colon would name a stream of another file on NTFS, and Wine would
// take it into the name; refusing both keeps every system alike.
wchar_t forbiddenCharacter(const fs::path &path)
{
    for (const wchar_t c : namesOf(path)) {
        if (c < 0x20 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos)
            return c;
    }
    return 0;
}

std::string describeCharacter(wchar_t c)
{
    if (c < 0x20)
        return utf8::codePointName(c);
    const char quote = c == L'"' ? '\'' : '"';
    return quote + std::string(1, static_cast<char>(c)) + quote;
}

// Folders and files take names of at most 255 characters.
bool hasOverlongName(const fs::path &path)
{
    constexpr std::size_t kMaxName = 255;
    std::size_t run = 0;
    for (const wchar_t c : namesOf(path)) {
        run = (c == L'\\' || c == L'/') ? 0 : run + 1;
        if (run > kMaxName)
            return true;
    }
    return false;
}

// What Windows does to a path before the file system sees it, unless it
// begins with "\\?\": the dots and blanks that end its last name go, and
// one dot that ends a folder's name. Done here, it happens under Wine too,
// and still when the "\\?\" prefix is added below.
std::wstring withoutTrailingDotsAndBlanks(std::wstring_view path)
{
    std::wstring result;
    result.reserve(path.size());
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find_first_of(L"\\/", start);
        const bool last = end == std::wstring_view::npos;
        std::wstring_view name = path.substr(start, last ? std::wstring_view::npos : end - start);
        // "." and "..", and names of nothing but dots, are left to Windows.
        if (name.find_first_not_of(L". ") != std::wstring_view::npos) {
            if (last) {
                while (name.back() == L'.' || name.back() == L' ')
                    name.remove_suffix(1);
            } else if (name.size() >= 2 && name.back() == L'.' && name[name.size() - 2] != L'.') {
                name.remove_suffix(1);
            }
        }
        result += name;
        if (last)
            return result;
        result += path[end];
        start = end + 1;
    }
}

// The path the system calls are given. One that would come near the
// 260-character limit of Windows' older calls, a temporary name beside it
// included, is made absolute and given the "\\?\" prefix, which lifts that
// limit; making it absolute first resolves the ".." the prefix would skip.
// A path the user gave the prefix is taken as it stands, as Windows does.
Result<fs::path> systemPath(const fs::path &path)
{
    constexpr std::size_t kRoomForTemporaryName = 20;
    if (path.native().starts_with(L"\\\\?\\"))
        return path;
    const std::wstring trimmed = withoutTrailingDotsAndBlanks(path.native());
    const DWORD needed = GetFullPathNameW(trimmed.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return writeFailure(path, SystemCode::fromWindows(GetLastError()));
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(trimmed.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return writeFailure(path, SystemCode::fromWindows(GetLastError()));
    full.resize(length);
    if (full.size() + kRoomForTemporaryName < MAX_PATH)
        return fs::path(trimmed);
    full = withoutTrailingDotsAndBlanks(full);
    if (full.starts_with(L"\\\\"))
        full = L"\\\\?\\UNC\\" + full.substr(2);
    else
        full = L"\\\\?\\" + full;
    // 32,767 characters is the most any Windows call takes.
    if (full.size() + kRoomForTemporaryName > 32767)
        return writeFailure(path, SystemCode::fromWindows(ERROR_FILENAME_EXCED_RANGE));
    return fs::path(full);
}

// A new file beside the target, removed again unless it was moved in.
class TemporaryFile
{
public:
    // The Error is the system's reason alone.
    Status create(const fs::path &folder)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = (folder / fs::path(temporaryName())).native();
            m_handle = UniqueHandle(CreateFileW(m_name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
            if (m_handle)
                return {};
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                m_name.clear();
                return systemError(Error::Kind::WriteFailed, SystemCode::fromWindows(error));
            }
        }
        m_name.clear();
        return systemError(Error::Kind::WriteFailed, SystemCode::fromWindows(ERROR_FILE_EXISTS));
    }
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        m_handle.close();
        if (!m_name.empty())
            DeleteFileW(m_name.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    HANDLE handle() const { return m_handle.get(); }
    const std::wstring &name() const { return m_name; }
    void closeHandle() { m_handle.close(); }
    void moved() { m_name.clear(); }

private:
    UniqueHandle m_handle;
    std::wstring m_name;
};

Status writeStraight(const fs::path &path, HANDLE handle, std::string_view bytes)
{
    if (const Status written = writeAll(handle, bytes); !written)
        return writeFailure(path, written.error());
    return {};
}

// Fails with ERROR_DISK_FULL when a file cannot grow to size bytes.
// SetFileInformationByHandle came with Vista; before it, the file is made
// that long, which writeInPlace() cuts back to what it writes.
Status reserveRoom(HANDLE file, std::uint64_t size)
{
    static auto *const setInformation =
        systemFunction<BOOL WINAPI(HANDLE, FILE_INFO_BY_HANDLE_CLASS, void *, DWORD)>(
            L"kernel32.dll", "SetFileInformationByHandle");
    const auto isFull = [](DWORD error) {
        return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    };
    if (setInformation) {
        FILE_ALLOCATION_INFO allocation = {};
        allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
        if (!setInformation(file, FileAllocationInfo, &allocation, sizeof allocation)
            && isFull(GetLastError()))
            return systemError(Error::Kind::WriteFailed, SystemCode::fromWindows(ERROR_DISK_FULL));
        return {};
    }
    LARGE_INTEGER current = {};
    if (!GetFileSizeEx(file, &current) || static_cast<std::uint64_t>(current.QuadPart) >= size)
        return {};
    LARGE_INTEGER end = {};
    end.QuadPart = static_cast<LONGLONG>(size);
    const LARGE_INTEGER start = {};
    const bool full =
        SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && !SetEndOfFile(file) && isFull(GetLastError());
    SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    if (full)
        return systemError(Error::Kind::WriteFailed, SystemCode::fromWindows(ERROR_DISK_FULL));
    return {};
}

Status writeInPlace(const fs::path &path, HANDLE file, std::string_view bytes)
{
    // Reserve the room first, so that a full disk is reported before one old
    // byte is touched.
    if (const Status room = reserveRoom(file, bytes.size()); !room)
        return writeFailure(path, room.error());
    std::size_t written = 0;
    if (const Status status = writeAll(file, bytes, &written); !status)
        return written == 0 ? writeFailure(path, status.error()) : partlyWritten(path, status.error());
    if (!SetEndOfFile(file) || !FlushFileBuffers(file))
        return partlyWritten(path, SystemCode::fromWindows(GetLastError()));
    return {};
}

// Where a script goes: the path as given, which messages show, the one the
// system calls take, and the attributes of the file there.
struct Target
{
    const fs::path &shown;
    fs::path system;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
};

// Whether the target is a new file or replaces an existing one.
enum class Placing { NewFile, Replacing };

// Writes the whole file beside the target, then puts it in the target's
// place: ReplaceFileW keeps the old file's attributes, ACLs and streams.
Status writeBesideAndMove(const Target &target, Placing placing, std::string_view bytes)
{
    const fs::path &path = target.shown;
    const bool replacing = placing == Placing::Replacing;
    TemporaryFile temporary;
    if (const Status created = temporary.create(folderOf(target.system)); !created)
        return replacing ? writeFailure(path, created.error())
                         : folderFailure(path, folderOf(path), created.error().code);
    if (const Status written = writeAll(temporary.handle(), bytes); !written)
        return writeFailure(path, written.error());
    if (!FlushFileBuffers(temporary.handle()))
        return writeFailure(path, SystemCode::fromWindows(GetLastError()));
    temporary.closeHandle();
    // ReplaceFileW carries the attributes over on Windows, Wine's does not;
    // set beforehand, they survive both.
    constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
        | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (replacing && (target.attributes & kKeptAttributes) != 0)
        SetFileAttributesW(temporary.name().c_str(), target.attributes & kKeptAttributes);
    const BOOL moved = replacing ? ReplaceFileW(target.system.c_str(), temporary.name().c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                                 : MoveFileExW(temporary.name().c_str(), target.system.c_str(),
                                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved)
        return writeFailure(path, SystemCode::fromWindows(GetLastError()));
    temporary.moved();
    return {};
}

Status writeExistingFile(const Target &target, std::string_view bytes)
{
    // Opening it for writing tells whether it may be written at all: a
    // read-only file, or one another program holds open without sharing.
    UniqueHandle file(CreateFileW(target.system.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return writeFailure(target.shown, SystemCode::fromWindows(GetLastError()));
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return writeStraight(target.shown, file.get(), bytes);
    BY_HANDLE_FILE_INFORMATION information = {};
    if (GetFileInformationByHandle(file.get(), &information) && information.nNumberOfLinks > 1)
        return writeInPlace(target.shown, file.get(), bytes);
    file.close();
    return writeBesideAndMove(target, Placing::Replacing, bytes);
}

} // namespace

Status writeFile(const fs::path &path, std::string_view bytes)
{
    if (path.empty())
        return writeFailure(path, SystemCode::fromWindows(ERROR_PATH_NOT_FOUND));
    if (namesADevice(path)) {
        UniqueHandle device(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        if (!device)
            return writeFailure(path, SystemCode::fromWindows(GetLastError()));
        return writeStraight(path, device.get(), bytes);
    }
    // Names Windows refuses are refused before anything is touched, in the
    // same words on every version of Windows and under Wine.
    if (const wchar_t c = forbiddenCharacter(path))
        return writeFailure(
            path,
            formatMessage(localized("write", "Windows allows no %s in a file name"), {describeCharacter(c)}));
    if (isDeviceName(path.filename().native()))
        return writeFailure(path, localized("write", "the name is one Windows keeps for a device"));
    if (hasOverlongName(path))
        return writeFailure(path, SystemCode::fromWindows(ERROR_FILENAME_EXCED_RANGE));
    Result<fs::path> system = systemPath(path);
    if (!system)
        return system.error();
    Target target{path, std::move(*system)};

    const DWORD attributes = GetFileAttributesW(target.system.c_str());
    target.attributes = attributes;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return writeBesideAndMove(target, Placing::NewFile, bytes);
        if (error == ERROR_PATH_NOT_FOUND)
            return folderFailure(path, folderOf(path), SystemCode::fromWindows(error));
        return writeFailure(path, SystemCode::fromWindows(error));
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return writeFailure(path, localized("write", "it is a folder"));
    return writeExistingFile(target, bytes);
}

Status writeStandardOutput(std::string_view bytes)
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (standardStreamWasClosed(1) || output == nullptr || output == INVALID_HANDLE_VALUE)
        return standardOutputFailure(localized("write", "standard output is closed"));
    if (const Status written = writeAll(output, bytes); !written)
        return standardOutputFailure(written.error());
    return {};
}

} // namespace lumvrex
