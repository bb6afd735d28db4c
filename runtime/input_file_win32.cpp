#include "runtime/input_file.h"

#include "i18n/messages.h"

#include "runtime/system.h"
#include "runtime/windows_api_win32.h"

#include <windows.h>

namespace lumvrex {

// Standard input is read but never closed.
struct InputFile::Handle
{
    HANDLE handle;
    UniqueHandle owned;
};

InputFile::InputFile(std::unique_ptr<Handle> handle)
    : m_handle(std::move(handle))
{ }
InputFile::InputFile(InputFile &&) noexcept = default;
InputFile &InputFile::operator=(InputFile &&) noexcept = default;
InputFile::~InputFile() = default;

Result<InputFile> InputFile::open(const std::filesystem::path &path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return systemError(Error::Kind::BadInput, SystemCode::fromWindows(GetLastError()));
    return InputFile(std::make_unique<Handle>(Handle{file, UniqueHandle(file)}));
}

Result<InputFile> InputFile::standardInput()
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (standardStreamWasClosed(0) || input == nullptr || input == INVALID_HANDLE_VALUE)
        return badInput(std::string(localized("read", "standard input is closed")));
    return InputFile(std::make_unique<Handle>(Handle{input, UniqueHandle()}));
}

std::optional<std::uint64_t> InputFile::sizeHint() const
{
    LARGE_INTEGER size = {};
    if (GetFileType(m_handle->handle) != FILE_TYPE_DISK || !GetFileSizeEx(m_handle->handle, &size))
        return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

Result<std::size_t> InputFile::read(char *buffer, std::size_t size)
{
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(m_handle->handle, buffer, wanted, &got, nullptr)) {
        const DWORD error = GetLastError();
        // A pipe whose writer has gone is the end of the input.
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF)
            return std::size_t(0);
        return systemError(Error::Kind::BadInput, SystemCode::fromWindows(error));
    }
    return static_cast<std::size_t>(got);
}

} // namespace lumvrex
