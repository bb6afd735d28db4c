#include "runtime/line_output.h"

#include "runtime/windows1252.h"

LineOutput::LineOutput(QIODevice &device, qsizetype chunkBytes)
    : m_device(device)
    , m_chunkBytes(chunkBytes)
{
    m_buffer.reserve(chunkBytes + 4096);
}

void LineOutput::line(QByteArrayView ascii)
{
    m_buffer.append(ascii);
    endLine();
}

void LineOutput::line(QStringView text)
{
    windows1252::append(m_buffer, text);
    endLine();
}

void LineOutput::line(QByteArrayView asciiPrefix, QStringView value)
{
    m_buffer.append(asciiPrefix);
    windows1252::append(m_buffer, value);
    endLine();
}

void LineOutput::line(QByteArrayView asciiPrefix, qint64 number)
{
    m_buffer.append(asciiPrefix);
    m_buffer.append(QByteArray::number(number));
    endLine();
}

void LineOutput::endLine()
{
    m_buffer.append("\r\n", 2);
    if (m_buffer.size() >= m_chunkBytes)
        writeChunk();
}

void LineOutput::writeChunk()
{
    // A short write (a file-size limit reached mid-chunk) reports no error;
    // writing the rest then fails with the reason.
    const char *data = m_buffer.constData();
    qint64 remaining = m_buffer.size();
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
    }
    m_buffer.resize(0); // keeps the reserved capacity
}

bool LineOutput::finish()
{
    writeChunk();
    return ok();
}
