#include "runtime/descriptor_posix.h"

#include "runtime/system.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace lumvrex {

UniqueFd::~UniqueFd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Status DescriptorSink::write(std::string_view bytes)
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
            // A short write followed by a write of nothing still means the
            // device took no more.
            return systemError(Error::Kind::WriteFailed, SystemCode::fromErrno(written < 0 ? errno : EIO));
        }
        startWriteback(static_cast<std::uint64_t>(written));
        m_written += static_cast<std::uint64_t>(written);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// Asks the kernel to start putting what was just written on disk, so the
// disk works while the rest is produced and the final sync finds less to
// do. Only a hint.
void DescriptorSink::startWriteback([[maybe_unused]] std::uint64_t length)
{
#if defined(__linux__)
    if (m_writeback == Writeback::Start) {
        ::sync_file_range(m_fd, static_cast<off_t>(m_written), static_cast<off_t>(length),
                          SYNC_FILE_RANGE_WRITE);
    }
#endif
}

Status writeAll(int fd, const ByteProducer &bytes, Writeback writeback)
{
    DescriptorSink sink(fd, writeback);
    return bytes.writeTo(sink);
}

} // namespace lumvrex
