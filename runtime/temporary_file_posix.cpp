#include "runtime/temporary_file_posix.h"

#include "runtime/system.h"
#include "runtime/temporary_name.h"
#include "runtime/write_signals_posix.h"

#include <algorithm>
#include <map>
#include <vector>

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;

Error failedWith(SystemCode code)
{
    return systemError(Error::Kind::WriteFailed, code);
}

Error failedWithErrno()
{
    return failedWith(lastErrno());
}

using Attributes = std::map<std::string, std::string>;

// A filesystem without extended attributes has none to copy.
Result<Attributes> extendedAttributes(int fd)
{
    Attributes attributes;
    const ssize_t listSize = ::flistxattr(fd, nullptr, 0);
    if (listSize < 0) {
        if (errno == ENOTSUP)
            return attributes;
        return failedWithErrno();
    }
    std::vector<char> names(static_cast<std::size_t>(listSize) + 1);
    const ssize_t listed = ::flistxattr(fd, names.data(), names.size());
    if (listed < 0)
        return failedWithErrno();
    for (std::size_t at = 0; at < static_cast<std::size_t>(listed);) {
        const std::string name(names.data() + at);
        at += name.size() + 1;
        const ssize_t valueSize = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        if (valueSize < 0)
            return failedWithErrno();
        std::string value(static_cast<std::size_t>(valueSize), '\0');
        if (::fgetxattr(fd, name.c_str(), value.data(), value.size()) != valueSize)
            return failedWith(SystemCode::fromErrno(EIO)); // changed while read
        attributes[name] = value;
    }
    return attributes;
}

} // namespace

Result<UniqueFd> openFolder(const fs::path &folder)
{
#if defined(O_PATH)
    const int flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
    UniqueFd fd(retryInterrupted([&] { return ::open(folder.c_str(), flags); }));
    if (!fd)
        return failedWithErrno();
    return fd;
}

void syncFolder(const fs::path &folder)
{
    const UniqueFd readable(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (readable)
        ::fsync(readable.get());
}

Status TemporaryFile::create(int folderFd, const fs::path &folder)
{
    m_folderFd = folderFd;
#if defined(O_TMPFILE)
    m_fd = UniqueFd(
        retryInterrupted([&] { return ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); }));
    if (m_fd)
        return {};
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return failedWithErrno();
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = temporaryName();
        m_fd = UniqueFd(retryInterrupted(
            [&] { return ::openat(folderFd, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666); }));
        if (m_fd) {
            m_name = name;
            temporary_name_cleanup::arm((folder / name).native());
            return {};
        }
        if (errno != EEXIST)
            return failedWithErrno();
    }
    return failedWith(SystemCode::fromErrno(EEXIST));
}

TemporaryFile::~TemporaryFile()
{
    if (!m_name.empty()) {
        ::unlinkat(m_folderFd, m_name.c_str(), 0);
        temporary_name_cleanup::disarm();
    }
}

Status TemporaryFile::moveTo(const std::string &name)
{
    if (!m_name.empty()) {
        const HeldStopSignals held;
        if (::renameat(m_folderFd, m_name.c_str(), m_folderFd, name.c_str()) != 0)
            return failedWithErrno();
        m_name.clear();
        temporary_name_cleanup::disarm();
        return {};
    }
    // An unnamed file can only be linked to a free name; the rename that
    // replaces the old file follows at once, with stop signals held back so
    // that the hidden name cannot stay.
    Status linked = link(name);
    if (linked || !linked.error().code.isErrno(EEXIST))
        return linked;
    const HeldStopSignals held;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string hidden = temporaryName();
        if (Status linkedHidden = link(hidden); !linkedHidden) {
            if (linkedHidden.error().code.isErrno(EEXIST))
                continue;
            return linkedHidden;
        }
        if (::renameat(m_folderFd, hidden.c_str(), m_folderFd, name.c_str()) != 0) {
            const Error renameFailed = failedWithErrno();
            ::unlinkat(m_folderFd, hidden.c_str(), 0);
            return renameFailed;
        }
        return {};
    }
    return failedWith(SystemCode::fromErrno(EEXIST));
}

Status TemporaryFile::link(const std::string &name) const
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
    if (::linkat(AT_FDCWD, self.c_str(), m_folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return {};
#if defined(AT_EMPTY_PATH)
    // Without /proc, only a process that may look up any file can do this.
    if (errno == ENOENT && ::linkat(m_fd.get(), "", m_folderFd, name.c_str(), AT_EMPTY_PATH) == 0)
        return {};
#endif
    return failedWithErrno();
}

Status copyAttributes(int from, const struct stat &old, int to)
{
    if (::fchown(to, old.st_uid, old.st_gid) != 0)
        return failedWithErrno();
    // After the owner: changing it clears the setuid and setgid bits.
    if (::fchmod(to, old.st_mode & 07777) != 0)
        return failedWithErrno();
    const Result<Attributes> wanted = extendedAttributes(from);
    if (!wanted)
        return wanted.error();
    // A default ACL of the folder may have given the new file an ACL of
    // its own.
    if (const Result<Attributes> inherited = extendedAttributes(to)) {
        for (const auto &[name, value] : *inherited) {
            if (!wanted->contains(name))
                ::fremovexattr(to, name.c_str());
        }
    }
    for (const auto &[name, value] : *wanted) {
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return failedWithErrno();
    }
    struct stat now = {};
    if (::fstat(to, &now) != 0)
        return failedWithErrno();
    const Result<Attributes> given = extendedAttributes(to);
    if (!given)
        return given.error();
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid || (now.st_mode & 07777) != (old.st_mode & 07777)
        || *given != *wanted)
        return failedWith(SystemCode::fromErrno(EPERM)); // the filesystem kept something of its own
    return {};
}

} // namespace lumvrex
