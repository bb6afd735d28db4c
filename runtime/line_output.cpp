#include "runtime/line_output.h"

#include "runtime/windows1252.h"

#include <QFileDevice>

#include <charconv>
#include <cstring>

#if defined(Q_OS_LINUX)
#include <fcntl.h>
#endif

namespace {

// Asks the kernel to start putting a just-written range of a file on disk,
// so that the disk works while the rest is produced and the final sync finds
// less to do. Only a hint: failures are ignored.
void startWriteback(QIODevice &device, qint64 offset, qint64 length)
{
#if defined(Q_OS_LINUX)
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (file && file->handle() >= 0)
        ::sync_file_range(file->handle(), offset, length, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(device);
    Q_UNUSED(offset);
    Q_UNUSED(length);
#endif
}

} // namespace

LineOutput::LineOutput(QIODevice &device, qsizetype chunkBytes)
    : m_device(device)
    , m_buffer(chunkBytes, Qt::Uninitialized)
{ }

char *LineOutput::reserve(qsizetype bytes)
{
    if (m_used + bytes > m_buffer.size()) {
        writeBuffered();
        if (bytes > m_buffer.size())
            m_buffer.resize(bytes);
    }
    char *at = m_buffer.data() + m_used;
    m_used += bytes;
    return at;
}

void LineOutput::write(QByteArrayView ascii)
{
    std::memcpy(reserve(ascii.size()), ascii.data(), std::size_t(ascii.size()));
}

void LineOutput::writeEncoded(QStringView text)
{
    windows1252::encodeInto(reserve(text.size()), text);
}

void LineOutput::writeNumber(qint64 number)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    write(QByteArrayView(digits, end - digits));
}

void LineOutput::writeBuffered()
{
    // A short write (a file-size limit reached mid-chunk) reports no error;
    // writing the rest then fails with the reason.
    const char *data = m_buffer.constData();
    qint64 remaining = m_used;
    const qint64 offset = m_written;
    while (ok() && remaining > 0) {
        const qint64 written = m_device.write(data, remaining);
        if (written <= 0) {
            m_errorString = m_device.errorString();
            if (m_errorString.isEmpty())
                m_errorString = QStringLiteral("the data could not be written");
            break;
        }
        data += written;
        remaining -= written;
        m_written += written;
    }
    if (ok() && m_used > 0)
        startWriteback(m_device, offset, m_used);
    m_used = 0;
}

bool LineOutput::finish()
{
    writeBuffered();
    return ok();
}
