// Windows XP's msvcrt.dll has no _wfindfirst64 and _wfindnext64, which the
// C++ library's directory listing calls (through MinGW's _wopendir). These
// take their place in every program, so that it still starts there; they
// do what msvcrt.dll's do, and its _findclose closes what they open.
#include <cerrno>
#include <cstdint>
#include <cwchar>

#include <io.h>

#include <windows.h>

namespace {

using FindData64 = struct _wfinddata64_t;

// Seconds since 1970 from a FILETIME, or -1 where the file system keeps none.
std::int64_t unixTime(const FILETIME &time)
{
    const std::int64_t ticks = (std::int64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (ticks == 0)
        return -1;
    return (ticks - 116'444'736'000'000'000) / 10'000'000;
}

void copyFound(const WIN32_FIND_DATAW &found, FindData64 *data)
{
    data->attrib = found.dwFileAttributes == FILE_ATTRIBUTE_NORMAL ? 0 : found.dwFileAttributes;
    data->time_create = unixTime(found.ftCreationTime);
    data->time_access = unixTime(found.ftLastAccessTime);
    data->time_write = unixTime(found.ftLastWriteTime);
    data->size = (std::int64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    lstrcpynW(data->name, found.cFileName, 260);
}

void setErrno(DWORD error)
{
    errno = error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
        ? ENOENT
        : error == ERROR_NOT_ENOUGH_MEMORY ? ENOMEM
                                           : EINVAL;
}

} // namespace

// The headers declare msvcrt.dll's as imported; these are defined here instead.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"

extern "C" intptr_t __cdecl _wfindfirst64(const wchar_t *pattern, FindData64 *data)
{
    WIN32_FIND_DATAW found;
    const HANDLE handle = FindFirstFileW(pattern, &found);
    if (handle == INVALID_HANDLE_VALUE) {
        setErrno(GetLastError());
        return -1;
    }
    copyFound(found, data);
    return reinterpret_cast<intptr_t>(handle);
}

extern "C" int __cdecl _wfindnext64(intptr_t handle, FindData64 *data)
{
    WIN32_FIND_DATAW found;
    if (!FindNextFileW(reinterpret_cast<HANDLE>(handle), &found)) {
        setErrno(GetLastError());
        return -1;
    }
    copyFound(found, data);
    return 0;
}

#pragma GCC diagnostic pop
