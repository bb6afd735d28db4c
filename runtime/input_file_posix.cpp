#include "runtime/input_file.h"

#include "runtime/standard_streams.h"
#include "runtime/system_error_text.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumvrex {

struct InputFile::Handle
{
    Handle(int descriptor, bool closeAtEnd)
        : fd(descriptor)
        , owned(closeAtEnd)
    { }
    ~Handle()
    {
        if (owned)
            ::close(fd);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    int fd;
    bool owned;
};

InputFile::InputFile(std::unique_ptr<Handle> handle)
    : m_handle(std::move(handle))
{ }
InputFile::InputFile(InputFile &&) noexcept = default;
InputFile &InputFile::operator=(InputFile &&) noexcept = default;
InputFile::~InputFile() = default;

Result<InputFile> InputFile::open(const std::filesystem::path &path)
{
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return badInput(systemErrorText(errno));
    struct stat info = {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return badInput(systemErrorText(EISDIR));
    }
    return InputFile(std::make_unique<Handle>(fd, true));
}

Result<InputFile> InputFile::standardInput()
{
    if (standardStreamWasClosed(STDIN_FILENO))
        return badInput("standard input is closed");
    return InputFile(std::make_unique<Handle>(STDIN_FILENO, false));
}

std::optional<std::uint64_t> InputFile::sizeHint() const
{
    struct stat info = {};
    if (::fstat(m_handle->fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

Result<std::size_t> InputFile::read(char *buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(m_handle->fd, buffer, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno == EINTR)
            continue;
        if (errno == EBADF && !m_handle->owned)
            return badInput("standard input is closed");
        return badInput(systemErrorText(errno));
    }
}

} // namespace lumvrex
