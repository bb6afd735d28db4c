#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringView>

// Lines of Windows-1252 text, each ended by CR LF, collected in a large
// buffer and handed to the device a chunk at a time. After the first failed
// write, further lines are dropped and ok() stays false.
class LineOutput
{
public:
    static constexpr qsizetype kDefaultChunkBytes = qsizetype(1) << 20;

    explicit LineOutput(QIODevice &device, qsizetype chunkBytes = kDefaultChunkBytes);

    // ascii must be plain ASCII: it is copied without encoding.
    void line(QByteArrayView ascii);
    void line(QStringView text);
    void line(QByteArrayView asciiPrefix, QStringView value);
    void line(QByteArrayView asciiPrefix, qint64 number);

    // Writes what is still buffered. False if any write failed.
    bool finish();
    bool ok() const { return m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }

private:
    void endLine();
    void writeChunk();

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_chunkBytes;
    QString m_errorString;
};
