#include "runtime/input_file.h"

#include "i18n/messages.h"

#include "runtime/descriptor_posix.h"
#include "runtime/system.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumvrex {

namespace {

Error readFailed(SystemCode code)
{
    return systemError(Error::Kind::BadInput, code);
}

} // namespace

// Standard input is read but never closed.
struct InputFile::Handle
{
    int fd;
    UniqueFd owned;
};

InputFile::InputFile(std::unique_ptr<Handle> handle)
    : m_handle(std::move(handle))
{ }
InputFile::InputFile(InputFile &&) noexcept = default;
InputFile &InputFile::operator=(InputFile &&) noexcept = default;
InputFile::~InputFile() = default;

Result<InputFile> InputFile::open(const std::filesystem::path &path)
{
    UniqueFd file(retryInterrupted([&] { return ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC); }));
    if (!file)
        return readFailed(lastErrno());
    struct stat info = {};
    if (::fstat(file.get(), &info) == 0 && S_ISDIR(info.st_mode))
        return readFailed(SystemCode::fromErrno(EISDIR));
    const int fd = file.get();
    return InputFile(std::make_unique<Handle>(Handle{fd, std::move(file)}));
}

Result<InputFile> InputFile::standardInput()
{
    if (standardStreamWasClosed(STDIN_FILENO))
        return badInput(std::string(localized("read", "standard input is closed")));
    return InputFile(std::make_unique<Handle>(Handle{STDIN_FILENO, UniqueFd()}));
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
    const ssize_t got = retryInterrupted([&] { return ::read(m_handle->fd, buffer, size); });
    if (got >= 0)
        return static_cast<std::size_t>(got);
    if (errno == EBADF && !m_handle->owned)
        return badInput(std::string(localized("read", "standard input is closed")), lastErrno());
    return readFailed(lastErrno());
}

} // namespace lumvrex
