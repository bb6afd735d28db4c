#include "runtime/console.h"

#include "runtime/windows_text.h"

#include <windows.h>

namespace lumvrex {
namespace {

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

} // namespace

void printToStandardOutput(std::string_view text)
{
    print(STD_OUTPUT_HANDLE, text);
}

void printToStandardError(std::string_view text)
{
    print(STD_ERROR_HANDLE, text);
}

} // namespace lumvrex
