#include "runtime/file_writer.h"

#include "runtime/standard_streams.h"
#include "runtime/system_error_text.h"
#include "runtime/write_failure.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;

template <typename Call> auto retryInterrupted(Call call)
{
    decltype(call()) result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

class UniqueFd
{
public:
    explicit UniqueFd(int fd = -1)
        : m_fd(fd)
    { }
    ~UniqueFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    UniqueFd(UniqueFd &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    { }
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd;
};

// While a write runs, a reader that went away or a file-size limit give an
// error to report instead of ending the process (and the window with it).
class QuietWriteSignals
{
public:
    QuietWriteSignals()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &m_oldPipe);
        ::sigaction(SIGXFSZ, &ignore, &m_oldFileSize);
    }
    ~QuietWriteSignals()
    {
        ::sigaction(SIGPIPE, &m_oldPipe, nullptr);
        ::sigaction(SIGXFSZ, &m_oldFileSize, nullptr);
    }
    QuietWriteSignals(const QuietWriteSignals &) = delete;
    QuietWriteSignals &operator=(const QuietWriteSignals &) = delete;

private:
    struct sigaction m_oldPipe = {};
    struct sigaction m_oldFileSize = {};
};

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Holds back Ctrl+C and termination for a short step that must not be cut
// in two; they arrive as soon as it is over.
class HeldStopSignals
{
public:
    HeldStopSignals()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : kStopSignals)
            sigaddset(&held, signal);
        ::pthread_sigmask(SIG_BLOCK, &held, &m_old);
    }
    ~HeldStopSignals() { ::pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }
    HeldStopSignals(const HeldStopSignals &) = delete;
    HeldStopSignals &operator=(const HeldStopSignals &) = delete;

private:
    sigset_t m_old{};
};

// A named temporary file is removed when the process is stopped by a signal
// while it exists. Only one exists at a time.
namespace temporary_name_cleanup {

char g_path[4096];
volatile std::sig_atomic_t g_armed = 0;
struct sigaction g_previous[std::size(kStopSignals)];
bool g_installed[std::size(kStopSignals)];

void removeAndStop(int signal)
{
    if (g_armed)
        ::unlink(g_path);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (kStopSignals[i] == signal)
            ::sigaction(signal, &g_previous[i], nullptr);
    }
    ::raise(signal); // delivered with the previous action once this returns
}

void arm(const std::string &path)
{
    if (path.size() >= sizeof g_path)
        return;
    std::memcpy(g_path, path.c_str(), path.size() + 1);
    g_armed = 1;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction current = {};
        ::sigaction(kStopSignals[i], nullptr, &current);
        // An ignored signal stops nothing, so nothing needs removing.
        g_installed[i] = current.sa_handler != SIG_IGN;
        if (!g_installed[i])
            continue;
        struct sigaction cleanup = {};
        cleanup.sa_handler = removeAndStop;
        sigemptyset(&cleanup.sa_mask);
        ::sigaction(kStopSignals[i], &cleanup, &g_previous[i]);
    }
}

void disarm()
{
    g_armed = 0;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (g_installed[i])
            ::sigaction(kStopSignals[i], &g_previous[i], nullptr);
        g_installed[i] = false;
    }
}

} // namespace temporary_name_cleanup

class DescriptorSink final : public ByteSink
{
public:
    DescriptorSink(int fd, bool startWriteback)
        : m_fd(fd)
        , m_startWriteback(startWriteback)
    { }

    Status write(std::string_view bytes) override
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                // A descriptor handed over non-blocking: wait until it takes more.
                pollfd ready = {m_fd, POLLOUT, 0};
                ::poll(&ready, 1, -1);
                continue;
            }
            if (written <= 0) {
                // A short write followed by a write of nothing still means
                // the device took no more.
                return failed(written < 0 ? errno : EIO);
            }
            startWriteback(static_cast<std::uint64_t>(written));
            m_written += static_cast<std::uint64_t>(written);
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return {};
    }

    std::uint64_t written() const { return m_written; }
    int error() const { return m_error; }

private:
    Status failed(int error)
    {
        m_error = error;
        return writeFailed(systemErrorText(m_error));
    }

    // Asks the kernel to start putting what was just written on disk, so
    // the disk works while the rest is produced and the final sync finds
    // less to do. Only a hint.
    void startWriteback([[maybe_unused]] std::uint64_t length)
    {
#if defined(__linux__)
        if (m_startWriteback) {
            ::sync_file_range(m_fd, static_cast<off_t>(m_written), static_cast<off_t>(length),
                              SYNC_FILE_RANGE_WRITE);
        }
#endif
    }

    int m_fd;
    bool m_startWriteback;
    std::uint64_t m_written = 0;
    int m_error = 0;
};

std::string reason(int error)
{
    return systemErrorText(error);
}

// The descriptor a name such as /dev/stdout or /proc/self/fd/1 stands for.
// Such names are written through the descriptor itself: opening them anew
// fails for sockets, and their targets must never be replaced.
std::optional<int> ownDescriptorNamed(const std::string &name)
{
    if (name == "/dev/stdout")
        return 1;
    if (name == "/dev/stderr")
        return 2;
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

fs::path folderOf(const fs::path &file)
{
    const fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// The name a chain of symbolic links ends at (itself when it is no link),
// whether or not that file exists. 0 or the errno.
int followLinks(const std::string &name, std::string &final)
{
    final = name;
    for (int hops = 0;; ++hops) {
        struct stat info = {};
        if (::lstat(final.c_str(), &info) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode))
            return 0;
        if (hops == kMaxLinkHops)
            return ELOOP;
        std::vector<char> target(static_cast<std::size_t>(std::max<off_t>(info.st_size, 255)) + 1);
        const ssize_t length = ::readlink(final.c_str(), target.data(), target.size());
        if (length < 0)
            return errno;
        const fs::path link(std::string(target.data(), static_cast<std::size_t>(length)));
        final = link.is_absolute() ? link.native() : (fs::path(final).parent_path() / link).native();
    }
}

// What a folder's descriptor is opened as: one that cannot list the folder
// still serves to create and rename files in it.
UniqueFd openFolder(const fs::path &folder)
{
#if defined(O_PATH)
    const int flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
    return UniqueFd(retryInterrupted([&] { return ::open(folder.c_str(), flags); }));
}

// Puts a folder's new entries on disk. Some filesystems cannot, which
// changes nothing about the file itself.
void syncFolder(const fs::path &folder)
{
    const UniqueFd readable(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (readable)
        ::fsync(readable.get());
}

std::string randomName()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string name = ".lumvrex-";
    for (int i = 0; i < 8; ++i)
        name += kLetters[device() % (sizeof kLetters - 1)];
    return name;
}

// A file being written in a folder before it takes its real name: unnamed
// (O_TMPFILE) where the filesystem allows, so that nothing stays behind
// whatever happens; otherwise a hidden name that is removed on failure and
// on SIGINT, SIGTERM or SIGHUP.
class TemporaryFile
{
public:
    // 0 or the errno.
    int create(int folderFd, const fs::path &folder)
    {
        m_folderFd = folderFd;
        m_folder = folder;
#if defined(O_TMPFILE)
        m_fd = UniqueFd(retryInterrupted(
            [&] { return ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); }));
        if (m_fd)
            return 0;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return errno;
#endif
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = randomName();
            m_fd = UniqueFd(retryInterrupted([&] {
                return ::openat(folderFd, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            }));
            if (m_fd) {
                m_name = name;
                temporary_name_cleanup::arm((folder / name).native());
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    ~TemporaryFile()
    {
        if (!m_name.empty()) {
            ::unlinkat(m_folderFd, m_name.c_str(), 0);
            temporary_name_cleanup::disarm();
        }
    }
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const
    {
        return m_fd.get();
    }

    // Gives the written file its real name in the folder, replacing what has
    // that name. 0 or the errno.
    int moveTo(const std::string &name)
    {
        if (!m_name.empty()) {
            const HeldStopSignals held;
            if (::renameat(m_folderFd, m_name.c_str(), m_folderFd, name.c_str()) != 0)
                return errno;
            m_name.clear();
            temporary_name_cleanup::disarm();
            return 0;
        }
        // An unnamed file can only be linked to a free name; the rename that
        // replaces the old file follows at once, with stop signals held back
        // so that the hidden name cannot stay.
        if (link(name) == 0)
            return 0;
        if (errno != EEXIST)
            return errno;
        const HeldStopSignals held;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string hidden = randomName();
            if (link(hidden) != 0) {
                if (errno == EEXIST)
                    continue;
                return errno;
            }
            if (::renameat(m_folderFd, hidden.c_str(), m_folderFd, name.c_str()) != 0) {
                const int error = errno;
                ::unlinkat(m_folderFd, hidden.c_str(), 0);
                return error;
            }
            return 0;
        }
        return EEXIST;
    }

private:
    int link(const std::string &name) const
    {
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
        if (::linkat(AT_FDCWD, self.c_str(), m_folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
#if defined(AT_EMPTY_PATH)
        // Without /proc, only a process that may look up any file can do this.
        if (errno == ENOENT && ::linkat(m_fd.get(), "", m_folderFd, name.c_str(), AT_EMPTY_PATH) == 0)
            return 0;
#endif
        return -1;
    }

    UniqueFd m_fd;
    int m_folderFd = -1;
    fs::path m_folder;
    std::string m_name; // empty while unnamed or once moved
};

std::map<std::string, std::string> extendedAttributes(int fd, bool &readable)
{
    std::map<std::string, std::string> attributes;
    readable = true;
    const ssize_t listSize = ::flistxattr(fd, nullptr, 0);
    if (listSize < 0) {
        readable = errno == ENOTSUP;
        return attributes;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize) + 1);
    const ssize_t listed = ::flistxattr(fd, names.data(), names.size());
    if (listed < 0) {
        readable = false;
        return attributes;
    }
    for (std::size_t at = 0; at < static_cast<std::size_t>(listed);) {
        const std::string name(names.data() + at);
        at += name.size() + 1;
        const ssize_t valueSize = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        std::string value(static_cast<std::size_t>(std::max<ssize_t>(valueSize, 0)), '\0');
        if (valueSize < 0 || ::fgetxattr(fd, name.c_str(), value.data(), value.size()) != valueSize) {
            readable = false;
            return attributes;
        }
        attributes[name] = value;
    }
    return attributes;
}

// Gives the new file everything of the old one that a user can see besides
// its bytes: owner, group, mode (setuid, setgid and sticky too), ACLs and
// extended attributes. False when any of it cannot be given, checked by
// reading it back.
bool copyAttributes(int from, const struct stat &old, int to)
{
    if (::fchown(to, old.st_uid, old.st_gid) != 0)
        return false;
    // After the owner: changing it clears the setuid and setgid bits.
    if (::fchmod(to, old.st_mode & 07777) != 0)
        return false;
    bool readable = false;
    const auto wanted = extendedAttributes(from, readable);
    if (!readable)
        return false;
    // A default ACL of the folder may have given the new file an ACL of
    // its own.
    for (const auto &[name, value] : extendedAttributes(to, readable)) {
        if (!wanted.contains(name))
            ::fremovexattr(to, name.c_str());
    }
    for (const auto &[name, value] : wanted) {
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    }
    struct stat now = {};
    if (::fstat(to, &now) != 0)
        return false;
    const auto given = extendedAttributes(to, readable);
    return readable && now.st_uid == old.st_uid && now.st_gid == old.st_gid
        && (now.st_mode & 07777) == (old.st_mode & 07777) && given == wanted;
}

// Writes everything to a descriptor and syncs it. 0 or the errno, with the
// number of bytes written.
int writeAll(int fd, const ByteProducer &bytes, bool startWriteback, std::uint64_t &written)
{
    DescriptorSink sink(fd, startWriteback);
    const Status status = bytes.writeTo(sink);
    written = sink.written();
    if (!status)
        return sink.error();
    return 0;
}

Status writeStraight(const fs::path &path, int fd, const ByteProducer &bytes)
{
    std::uint64_t written = 0;
    if (const int error = writeAll(fd, bytes, false, written))
        return writeFailure(path, reason(error));
    return {};
}

Status writeToSocket(const fs::path &path, const ByteProducer &bytes)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path)
        return writeFailure(path, reason(ENAMETOOLONG));
    std::memcpy(address.sun_path, path.c_str(), path.native().size() + 1);
    int error = 0;
    for (const int type : {SOCK_STREAM, SOCK_SEQPACKET, SOCK_DGRAM}) {
        const UniqueFd socket(::socket(AF_UNIX, type | SOCK_CLOEXEC, 0));
        if (!socket)
            return writeFailure(path, reason(errno));
        if (retryInterrupted([&] {
                return ::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address);
            })
            == 0)
            return writeStraight(path, socket.get(), bytes);
        error = errno;
        if (error != EPROTOTYPE)
            break;
    }
    return writeFailure(path, reason(error));
}

Status writeToDevice(const fs::path &path, const ByteProducer &bytes)
{
    const UniqueFd device(
        retryInterrupted([&] { return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC); }));
    if (!device)
        return writeFailure(path, reason(errno));
    return writeStraight(path, device.get(), bytes);
}

bool outOfRoom(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// Overwrites an existing file: first the room is made sure of, so that a
// full disk is reported before one old byte is touched; then written, cut
// to its new length and synced.
Status writeInPlace(const fs::path &path, int fd, const struct stat &old, const ByteProducer &bytes)
{
    const std::uint64_t size = bytes.size();
    rlimit limit = {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && size > limit.rlim_cur)
        return writeFailure(path, reason(EFBIG));
#if defined(__linux__)
    if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0) {
        const int error = errno;
        if (outOfRoom(error)) {
            ::ftruncate(fd, old.st_size); // gives back what was reserved past the end
            return writeFailure(path, reason(error));
        }
    }
#else
    (void)old;
#endif
    // The write is short and must not be cut in two by Ctrl+C.
    const HeldStopSignals held;
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return writeFailure(path, reason(errno));
    std::uint64_t written = 0;
    if (const int error = writeAll(fd, bytes, false, written)) {
        if (written == 0)
            return writeFailure(path, reason(error));
        return partlyWritten(path, reason(error));
    }
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0 || ::fsync(fd) != 0)
        return partlyWritten(path, reason(errno));
    return {};
}

// Writes a whole new file beside the target and renames it over the target.
// nullopt when this cannot give the target what it had, and the file must
// be written in place instead.
std::optional<Status> replace(const fs::path &path, const fs::path &target, int oldFd, const struct stat &old,
                              const ByteProducer &bytes)
{
    const fs::path folder = folderOf(target);
    const UniqueFd folderFd = openFolder(folder);
    if (!folderFd)
        return std::nullopt;
    TemporaryFile temporary;
    if (temporary.create(folderFd.get(), folder) != 0)
        return std::nullopt;
    if (!copyAttributes(oldFd, old, temporary.fd()))
        return std::nullopt;
    std::uint64_t written = 0;
    if (const int error = writeAll(temporary.fd(), bytes, true, written)) {
        // In place needs only the room the file grows by.
        if (outOfRoom(error))
            return std::nullopt;
        return writeFailure(path, reason(error));
    }
    if (::fsync(temporary.fd()) != 0)
        return writeFailure(path, reason(errno));
    if (const int error = temporary.moveTo(target.filename().native())) {
        // A bind-mounted file, a sticky folder, a filesystem without renames.
        if (error == EBUSY || error == EXDEV || error == EPERM || error == EACCES || error == EROFS)
            return std::nullopt;
        return writeFailure(path, reason(error));
    }
    syncFolder(folder);
    return Status{};
}

Status writeExistingFile(const fs::path &path, const ByteProducer &bytes)
{
    // Opening it for writing is what decides whether the user may write it,
    // for root as for anyone.
    const UniqueFd file(
        retryInterrupted([&] { return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); }));
    if (!file)
        return writeFailure(path, reason(errno));
    struct stat old = {};
    if (::fstat(file.get(), &old) != 0)
        return writeFailure(path, reason(errno));
    if (!S_ISREG(old.st_mode))
        return writeStraight(path, file.get(), bytes);
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);

    std::string target;
    if (const int error = followLinks(path.native(), target))
        return writeFailure(path, reason(error));
    if (old.st_nlink == 1) {
        if (std::optional<Status> replaced = replace(path, target, file.get(), old, bytes))
            return *replaced;
    }
    return writeInPlace(path, file.get(), old, bytes);
}

Status writeNewFile(const fs::path &path, const ByteProducer &bytes)
{
    std::string target;
    if (const int error = followLinks(path.native(), target))
        return writeFailure(path, reason(error));
    const fs::path folder = folderOf(target);
    const UniqueFd folderFd = openFolder(folder);
    if (!folderFd)
        return folderFailure(path, folder, reason(errno));
    TemporaryFile temporary;
    if (const int error = temporary.create(folderFd.get(), folder))
        return folderFailure(path, folder, reason(error));
    std::uint64_t written = 0;
    if (const int error = writeAll(temporary.fd(), bytes, true, written))
        return writeFailure(path, reason(error));
    if (::fsync(temporary.fd()) != 0)
        return writeFailure(path, reason(errno));
    if (const int error = temporary.moveTo(fs::path(target).filename().native()))
        return writeFailure(path, reason(error));
    syncFolder(folder);
    return {};
}

} // namespace

Status writeFile(const fs::path &path, const ByteProducer &bytes)
{
    const QuietWriteSignals quiet;
    if (path.empty())
        return writeFailure(path, reason(ENOENT));
    if (const std::optional<int> own = ownDescriptorNamed(path.native())) {
        if (standardStreamWasClosed(*own))
            return writeFailure(path, reason(EBADF));
        return writeStraight(path, *own, bytes);
    }
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return writeNewFile(path, bytes);
        return writeFailure(path, reason(errno));
    }
    if (S_ISDIR(info.st_mode))
        return writeFailure(path, reason(EISDIR));
    if (S_ISREG(info.st_mode))
        return writeExistingFile(path, bytes);
    if (S_ISSOCK(info.st_mode))
        return writeToSocket(path, bytes);
    return writeToDevice(path, bytes);
}

Status writeStandardOutput(const ByteProducer &bytes)
{
    const QuietWriteSignals quiet;
    if (standardStreamWasClosed(STDOUT_FILENO))
        return standardOutputFailure("standard output is closed");
    std::uint64_t written = 0;
    if (const int error = writeAll(STDOUT_FILENO, bytes, false, written))
        return standardOutputFailure(error == EBADF ? "standard output is closed" : reason(error));
    return {};
}

} // namespace lumvrex
