#pragma once

#include "runtime/descriptor_posix.h"
#include "runtime/result.h"

#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace lumvrex {

// A folder's descriptor, to create and rename files in it: one that cannot
// list the folder still serves.
Result<UniqueFd> openFolder(const std::filesystem::path &folder);

// Puts a folder's new entries on disk. Some filesystems cannot, which
// changes nothing about the file itself.
void syncFolder(const std::filesystem::path &folder);

// A file being written in a folder before it takes its real name: unnamed
// (O_TMPFILE) where the filesystem allows, so that nothing stays behind
// whatever happens; otherwise a hidden name that is removed on failure and
// on SIGINT, SIGTERM or SIGHUP. Errors carry the system's reason and errno.
class TemporaryFile
{
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // folder is what folderFd was opened from.
    Status create(int folderFd, const std::filesystem::path &folder);

    int fd() const { return m_fd.get(); }

    // Gives the written file its real name in the folder, replacing what has
    // that name.
    Status moveTo(const std::string &name);

private:
    Status link(const std::string &name) const;

    UniqueFd m_fd;
    int m_folderFd = -1;
    std::string m_name; // empty while unnamed or once moved
};

// Gives the new file everything of the old one that a user can see besides
// its bytes: owner, group, mode (setuid, setgid and sticky too), ACLs and
// extended attributes, checked by reading them back. An Error when any of
// it cannot be given.
Status copyAttributes(int from, const struct stat &old, int to);

} // namespace lumvrex
