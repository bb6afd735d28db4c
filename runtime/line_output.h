#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringView>

// Windows-1252 text with CR LF line ends, collected in a large buffer and
// handed to the device a chunk at a time. After the first failed write,
// further output is dropped and ok() stays false.
class LineOutput
{
public:
    static constexpr qsizetype kDefaultChunkBytes = qsizetype(1) << 20;

    explicit LineOutput(QIODevice &device, qsizetype chunkBytes = kDefaultChunkBytes);

    // Pieces of a line. ascii must be plain ASCII (or already encoded): it is
    // copied unchanged.
    void write(QByteArrayView ascii);
    void writeEncoded(QStringView text);
    void writeNumber(qint64 number);
    void endLine() { write(QByteArrayView("\r\n", 2)); }

    // Whole lines.
    void line(QByteArrayView ascii)
    {
        write(ascii);
        endLine();
    }
    void line(QStringView text)
    {
        writeEncoded(text);
        endLine();
    }
    void line(QByteArrayView asciiPrefix, QStringView value)
    {
        write(asciiPrefix);
        writeEncoded(value);
        endLine();
    }

    // Writes what is still buffered. False if any write failed.
    bool finish();
    bool ok() const { return m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }

private:
    char *reserve(qsizetype bytes);
    void writeBuffered();

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    qint64 m_written = 0; // bytes handed to the device so far
    QString m_errorString;
};
