#pragma once

#include "runtime/byte_sink.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace lumvrex {

// Collects bytes in a buffer and hands them to a sink a chunk at a time.
// After the first failed write further output is dropped, and finish()
// reports that failure.
class ChunkedOutput
{
public:
    static constexpr std::size_t kDefaultChunkBytes = std::size_t(256) << 10;

    explicit ChunkedOutput(ByteSink &sink, std::size_t chunkBytes = kDefaultChunkBytes);

    void append(std::string_view bytes)
    {
        if (!bytes.empty())
            std::memcpy(reserve(bytes.size()), bytes.data(), bytes.size());
    }

    // A text of at most kShortBytes bytes, read from a place that has
    // kShortBytes readable bytes: copied in one fixed-size move.
    static constexpr std::size_t kShortBytes = 16;
    void appendShort(const char *bytes, std::size_t size)
    {
        std::memcpy(reserve(kShortBytes), bytes, kShortBytes);
        m_used -= kShortBytes - size;
    }

    bool ok() const { return m_status.ok(); }
    // Writes what is still buffered.
    Status finish();

private:
    char *reserve(std::size_t bytes)
    {
        if (m_used + bytes > m_capacity)
            makeRoom(bytes);
        char *at = m_buffer.get() + m_used;
        m_used += bytes;
        return at;
    }
    void makeRoom(std::size_t bytes);
    void writeBuffered();

    ByteSink &m_sink;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    std::size_t m_used = 0;
    Status m_status;
};

} // namespace lumvrex
