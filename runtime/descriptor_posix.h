#pragma once

#include "runtime/result.h"

#include <cerrno>
#include <cstddef>
#include <string_view>
#include <utility>

namespace lumvrex {

// The errno of the call that just failed.
inline SystemCode lastErrno()
{
    return SystemCode::fromErrno(errno);
}

// Calls again while a signal cut the call short.
template <typename Call> auto retryInterrupted(Call call)
{
    decltype(call()) result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

// A descriptor, closed at the end of its life.
class UniqueFd
{
public:
    explicit UniqueFd(int fd = -1)
        : m_fd(fd)
    { }
    ~UniqueFd();
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

// Whether the kernel is asked to start putting each written piece on disk:
// worth it for a file that is synced at the end, never for a device.
enum class Writeback { Start, Leave };

// Writes every byte to the descriptor, waiting on one handed over
// non-blocking; nothing is synced. Errors carry the system's reason and its
// errno; written, where given, is told how many bytes the descriptor took
// before the failure.
Status writeAll(int fd, std::string_view bytes, Writeback writeback, std::size_t *written = nullptr);

} // namespace lumvrex
