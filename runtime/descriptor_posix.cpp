#include "runtime/descriptor_posix.h"

#include "runtime/system.h"

#include <algorithm>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace lumvrex {

UniqueFd::~UniqueFd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Status writeAll(int fd, std::string_view bytes, [[maybe_unused]] Writeback writeback, std::size_t *written)
{
    // A piece at a time, each followed by the hint to start putting it on
    // disk, so that the disk works while the rest is handed over and the
    // final sync finds little left to do.
    constexpr std::size_t kPieceBytes = std::size_t(256) << 10;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t took = ::write(fd, bytes.data() + done, std::min(bytes.size() - done, kPieceBytes));
        if (took < 0 && errno == EINTR)
            continue;
        if (took < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A descriptor handed over non-blocking: wait until it takes more.
            pollfd ready = {fd, POLLOUT, 0};
            ::poll(&ready, 1, -1);
            continue;
        }
        if (took <= 0) {
            if (written)
                *written = done;
            // A short write followed by a write of nothing still means the
            // device took no more.
            return systemError(Error::Kind::WriteFailed, SystemCode::fromErrno(took < 0 ? errno : EIO));
        }
#if defined(__linux__)
        if (writeback == Writeback::Start)
            ::sync_file_range(fd, static_cast<off_t>(done), took, SYNC_FILE_RANGE_WRITE);
#endif
        done += static_cast<std::size_t>(took);
    }
    return {};
}

} // namespace lumvrex
