// The strategies for each kind of target, and the choice between them.
#include "runtime/file_writer.h"

#include "i18n/messages.h"

#include "runtime/descriptor_posix.h"
#include "runtime/system.h"
#include "runtime/temporary_file_posix.h"
#include "runtime/temporary_name.h"
#include "runtime/write_failure.h"
#include "runtime/write_signals_posix.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;

// Where the symbolic link at name points, from the root; nothing when name
// is no link or does not exist.
Result<std::optional<std::string>> linkTarget(const std::string &name)
{
    struct stat info = {};
    if (::lstat(name.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return std::optional<std::string>();
        return systemError(Error::Kind::WriteFailed, lastErrno());
    }
    if (!S_ISLNK(info.st_mode))
        return std::optional<std::string>();
    std::vector<char> target(static_cast<std::size_t>(std::max<off_t>(info.st_size, 255)) + 1);
    const ssize_t length = ::readlink(name.c_str(), target.data(), target.size());
    if (length < 0)
        return systemError(Error::Kind::WriteFailed, lastErrno());
    const fs::path link(std::string(target.data(), static_cast<std::size_t>(length)));
    return std::optional<std::string>(link.is_absolute() ? link.native()
                                                         : (fs::path(name).parent_path() / link).native());
}

// The descriptor number in a name such as /proc/self/fd/1 or /dev/fd/1.
std::optional<int> descriptorInName(const std::string &name)
{
    const std::string pidPrefix = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string &prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"), pidPrefix}) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string number = name.substr(prefix.size());
        if (number.size() > 9
            || !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        return std::stoi(number);
    }
    return std::nullopt;
}

// The descriptor that name stands for: a descriptor's own name, or a link
// that leads to one (such as the system's name for standard output). Such
// names are written through the descriptor itself: opening them anew fails
// for sockets, and their targets must never be replaced.
std::optional<int> ownDescriptorNamed(const std::string &name)
{
    std::string hop = name;
    for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
        if (const std::optional<int> fd = descriptorInName(hop))
            return fd;
        const Result<std::optional<std::string>> next = linkTarget(hop);
        if (!next || !*next)
            return std::nullopt;
        hop = **next;
    }
    return std::nullopt;
}

// The name a chain of symbolic links ends at (itself when it is no link),
// whether or not that file exists.
Result<std::string> followLinks(const std::string &name)
{
    std::string final = name;
    for (int hops = 0;; ++hops) {
        const Result<std::optional<std::string>> next = linkTarget(final);
        if (!next)
            return next.error();
        if (!*next)
            return final;
        if (hops == kMaxLinkHops)
            return systemError(Error::Kind::WriteFailed, SystemCode::fromErrno(ELOOP));
        final = **next;
    }
}

Status writeStraight(const fs::path &path, int fd, std::string_view bytes)
{
    if (Status written = writeAll(fd, bytes, Writeback::Leave); !written)
        return writeFailure(path, written.error());
    return {};
}

Status writeToSocket(const fs::path &path, std::string_view bytes)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path)
        return writeFailure(path, SystemCode::fromErrno(ENAMETOOLONG));
    std::memcpy(address.sun_path, path.c_str(), path.native().size() + 1);
    int error = 0;
    for (const int type : {SOCK_STREAM, SOCK_SEQPACKET, SOCK_DGRAM}) {
        const UniqueFd socket(::socket(AF_UNIX, type | SOCK_CLOEXEC, 0));
        if (!socket)
            return writeFailure(path, lastErrno());
        if (retryInterrupted([&] {
                return ::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address);
            })
            == 0)
            return writeStraight(path, socket.get(), bytes);
        error = errno;
        if (error != EPROTOTYPE)
            break;
    }
    return writeFailure(path, SystemCode::fromErrno(error));
}

Status writeToDevice(const fs::path &path, std::string_view bytes)
{
    const UniqueFd device(
        retryInterrupted([&] { return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC); }));
    if (!device)
        return writeFailure(path, lastErrno());
    return writeStraight(path, device.get(), bytes);
}

bool outOfRoom(const SystemCode &code)
{
    return code.isErrno(ENOSPC) || code.isErrno(EDQUOT) || code.isErrno(EFBIG);
}

// Overwrites an existing file: first the room is made sure of, so that a
// full disk is reported before one old byte is touched; then written, cut
// to its new length and synced.
Status writeInPlace(const fs::path &path, int fd, const struct stat &old, std::string_view bytes)
{
    const std::uint64_t size = bytes.size();
    rlimit limit = {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && size > limit.rlim_cur)
        return writeFailure(path, SystemCode::fromErrno(EFBIG));
#if defined(__linux__)
    if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0) {
        const SystemCode error = lastErrno();
        if (outOfRoom(error)) {
            ::ftruncate(fd, old.st_size); // gives back what was reserved past the end
            return writeFailure(path, error);
        }
    }
#else
    (void)old;
#endif
    // From the first old byte overwritten to the sync, Ctrl+C would leave
    // the file half old, half new, however long the script is.
    const HeldStopSignals held;
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return writeFailure(path, lastErrno());
    std::size_t written = 0;
    if (const Status status = writeAll(fd, bytes, Writeback::Leave, &written); !status)
        return written == 0 ? writeFailure(path, status.error()) : partlyWritten(path, status.error());
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0 || ::fsync(fd) != 0)
        return partlyWritten(path, lastErrno());
    return {};
}

// What replace() did: the file is written, or it must be written in place
// because a replacement could not give the target what it had.
enum class Replacement { Done, WriteInPlace };

// Writes a whole new file beside the target and renames it over the target.
Result<Replacement> replace(const fs::path &path, const fs::path &target, int oldFd, const struct stat &old,
                            std::string_view bytes)
{
    const fs::path folder = folderOf(target);
    const Result<UniqueFd> folderFd = openFolder(folder);
    if (!folderFd)
        return Replacement::WriteInPlace;
    TemporaryFile temporary;
    if (!temporary.create(folderFd->get(), folder))
        return Replacement::WriteInPlace;
    if (!copyAttributes(oldFd, old, temporary.fd()))
        return Replacement::WriteInPlace;
    if (const Status written = writeAll(temporary.fd(), bytes, Writeback::Start); !written) {
        // In place needs only the room the file grows by.
        if (outOfRoom(written.error().code))
            return Replacement::WriteInPlace;
        return writeFailure(path, written.error());
    }
    if (::fsync(temporary.fd()) != 0)
        return writeFailure(path, lastErrno());
    if (const Status moved = temporary.moveTo(target.filename().native()); !moved) {
        // A bind-mounted file, a sticky folder, a filesystem without renames.
        const SystemCode &code = moved.error().code;
        if (code.isErrno(EBUSY) || code.isErrno(EXDEV) || code.isErrno(EPERM) || code.isErrno(EACCES)
            || code.isErrno(EROFS))
            return Replacement::WriteInPlace;
        return writeFailure(path, moved.error());
    }
    syncFolder(folder);
    return Replacement::Done;
}

Status writeExistingFile(const fs::path &path, std::string_view bytes)
{
    // Opening it for writing is what decides whether the user may write it,
    // for root as for anyone.
    const UniqueFd file(
        retryInterrupted([&] { return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); }));
    if (!file)
        return writeFailure(path, lastErrno());
    struct stat old = {};
    if (::fstat(file.get(), &old) != 0)
        return writeFailure(path, lastErrno());
    if (!S_ISREG(old.st_mode))
        return writeStraight(path, file.get(), bytes);
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);

    const Result<std::string> target = followLinks(path.native());
    if (!target)
        return writeFailure(path, target.error());
    if (old.st_nlink == 1) {
        const Result<Replacement> replaced = replace(path, *target, file.get(), old, bytes);
        if (!replaced)
            return replaced.error();
        if (*replaced == Replacement::Done)
            return {};
    }
    return writeInPlace(path, file.get(), old, bytes);
}

Status writeNewFile(const fs::path &path, std::string_view bytes)
{
    const Result<std::string> target = followLinks(path.native());
    if (!target)
        return writeFailure(path, target.error());
    const fs::path folder = folderOf(*target);
    const Result<UniqueFd> folderFd = openFolder(folder);
    if (!folderFd)
        return folderFailure(path, folder, folderFd.error().code);
    TemporaryFile temporary;
    if (const Status created = temporary.create(folderFd->get(), folder); !created)
        return folderFailure(path, folder, created.error().code);
    if (const Status written = writeAll(temporary.fd(), bytes, Writeback::Start); !written)
        return writeFailure(path, written.error());
    if (::fsync(temporary.fd()) != 0)
        return writeFailure(path, lastErrno());
    if (const Status moved = temporary.moveTo(fs::path(*target).filename().native()); !moved)
        return writeFailure(path, moved.error());
    syncFolder(folder);
    return {};
}

} // namespace

Status writeFile(const fs::path &path, std::string_view bytes)
{
    const QuietWriteSignals quiet;
    if (path.empty())
        return writeFailure(path, SystemCode::fromErrno(ENOENT));
    if (const std::optional<int> own = ownDescriptorNamed(path.native())) {
        if (standardStreamWasClosed(*own))
            return writeFailure(path, SystemCode::fromErrno(EBADF));
        return writeStraight(path, *own, bytes);
    }
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return writeNewFile(path, bytes);
        return writeFailure(path, lastErrno());
    }
    if (S_ISDIR(info.st_mode))
        return writeFailure(path, SystemCode::fromErrno(EISDIR));
    if (S_ISREG(info.st_mode))
        return writeExistingFile(path, bytes);
    if (S_ISSOCK(info.st_mode))
        return writeToSocket(path, bytes);
    return writeToDevice(path, bytes);
}

Status writeStandardOutput(std::string_view bytes)
{
    const QuietWriteSignals quiet;
    if (standardStreamWasClosed(STDOUT_FILENO))
        return standardOutputFailure(localized("write", "standard output is closed"));
    if (const Status written = writeAll(STDOUT_FILENO, bytes, Writeback::Leave); !written) {
        if (written.error().code.isErrno(EBADF))
            return standardOutputFailure(localized("write", "standard output is closed"));
        return standardOutputFailure(written.error());
    }
    return {};
}

} // namespace lumvrex
