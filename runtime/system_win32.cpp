#include "runtime/system.h"

#include <system_error>
#include <vector>

#include <windows.h>

namespace lumvrex {
namespace {

bool g_closed[3] = {false, false, false};

void print(DWORD stream, std::string_view text)
{
    const HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = wideFromUtf8(text);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

std::wstring messageIn(DWORD code, DWORD language)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, language, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty()
           && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return text;
}

BOOL CALLBACK collectLanguage(LPWSTR name, LONG_PTR languages)
{
    // The names are LANGIDs in hexadecimal.
    const unsigned long language = wcstoul(name, nullptr, 16);
    if (language != 0)
        reinterpret_cast<std::vector<LANGID> *>(languages)->push_back(static_cast<LANGID>(language));
    return TRUE;
}

} // namespace

void printToStandardOutput(std::string_view text)
{
    print(STD_OUTPUT_HANDLE, text);
}

void printToStandardError(std::string_view text)
{
    print(STD_ERROR_HANDLE, text);
}

std::string userDecimalSeparator()
{
    // LOCALE_USER_DEFAULT rather than a locale name: Windows XP has no
    // GetLocaleInfoEx.
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 0)
        return ".";
    return utf8FromWide(separator);
}

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return {wideFromUtf8(utf8)};
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    return utf8FromWide(path.native());
}

bool hiddenFile(const std::filesystem::path &path)
{
    // A name starting with '.' too: macOS leaves "._" files beside pictures
    // on every disk it writes.
    if (path.filename().native().starts_with(L'.'))
        return true;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

void adviseLargePages(void *, std::size_t)
{
    // Large pages on Windows need a privilege that users lack.
}

void guardStandardStreams()
{
    // Handles are not reused the way POSIX descriptors are; only note which
    // streams are missing.
    const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (int fd = 0; fd < 3; ++fd) {
        const HANDLE handle = GetStdHandle(streams[fd]);
        g_closed[fd] = handle == nullptr || handle == INVALID_HANDLE_VALUE;
    }
}

bool standardStreamWasClosed(int fd)
{
    return fd >= 0 && fd < 3 && g_closed[fd];
}

std::string systemErrorText(SystemCode systemCode, unsigned short language)
{
    if (const std::optional<int> posix = systemCode.errnoValue())
        return std::generic_category().message(*posix);
    const DWORD error = systemCode.windowsValue().value_or(ERROR_SUCCESS);
    // A Windows need not have every message in every language, nor in
    // English: after the one asked for, Windows' own order (neutral, the
    // thread's, the user's, the system's, US English), then any language
    // installed.
    std::vector<LANGID> languages = {language, 0};
    EnumUILanguagesW(collectLanguage, 0, reinterpret_cast<LONG_PTR>(&languages));
    for (const LANGID each : languages) {
        const std::wstring text = messageIn(error, each);
        if (!text.empty())
            return utf8FromWide(text);
    }
    return "system error " + std::to_string(error);
}

std::string systemErrorText(SystemCode code)
{
    return systemErrorText(code, GetUserDefaultUILanguage());
}

std::string utf8FromWide(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::wstring wideFromUtf8(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), units);
    return wide;
}

} // namespace lumvrex
