#include "runtime/chunked_output.h"

namespace lumvrex {

ChunkedOutput::ChunkedOutput(ByteSink &sink, std::size_t chunkBytes)
    : m_sink(sink)
    , m_buffer(std::make_unique_for_overwrite<char[]>(chunkBytes))
    , m_capacity(chunkBytes)
{ }

void ChunkedOutput::makeRoom(std::size_t bytes)
{
    writeBuffered();
    if (bytes > m_capacity) {
        m_buffer = std::make_unique_for_overwrite<char[]>(bytes);
        m_capacity = bytes;
    }
}

void ChunkedOutput::writeBuffered()
{
    if (m_status.ok() && m_used > 0)
        m_status = m_sink.write(std::string_view(m_buffer.get(), m_used));
    m_used = 0;
}

Status ChunkedOutput::finish()
{
    writeBuffered();
    return m_status;
}

} // namespace lumvrex
