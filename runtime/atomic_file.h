#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

struct FileWriteResult
{
    bool ok = false;
    QString error; // the system's reason when !ok
};

// Writes a file through a temporary file beside it that replaces the target
// only after everything was written and synced. On any failure the target
// keeps its old bytes and no temporary file stays behind. fill() returns false
// (after setting *error when it knows why) to abandon the write.
FileWriteResult writeFileAtomically(const QString &path,
                                    const std::function<bool(QIODevice &, QString *error)> &fill);
