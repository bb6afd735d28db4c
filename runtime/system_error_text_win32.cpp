#include "runtime/system_error_text.h"

#include "runtime/windows_text.h"

#include <system_error>

#include <windows.h>

namespace lumvrex {

std::string systemErrorText(SystemCode systemCode)
{
    if (const std::optional<int> posix = systemCode.errnoValue())
        return std::generic_category().message(*posix);
    const DWORD code = systemCode.windowsValue().value_or(ERROR_SUCCESS);
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty()
           && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "system error " + std::to_string(code);
    return utf8FromWide(text);
}

} // namespace lumvrex
