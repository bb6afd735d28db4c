#include "runtime/system_error_text.h"

#include "runtime/windows_text.h"

#include <system_error>
#include <vector>

#include <windows.h>

namespace lumvrex {
namespace {

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

} // namespace lumvrex
