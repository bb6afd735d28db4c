#include "runtime/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace {

// A target that is a symbolic link going round in a loop. QSaveFile would
// silently replace such a link with a plain file.
bool isSymlinkLoop(const QString &path, QString *reason)
{
#if defined(Q_OS_UNIX)
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return false;
    if (::stat(name.constData(), &info) == 0 || errno != ELOOP)
        return false;
    *reason = QString::fromLocal8Bit(std::strerror(ELOOP));
    return true;
#else
    Q_UNUSED(path);
    Q_UNUSED(reason);
    return false;
#endif
}

} // namespace

FileWriteResult writeFileAtomically(const QString &path,
                                    const std::function<bool(QIODevice &, QString *error)> &fill)
{
    QString reason;
    if (isSymlinkLoop(path, &reason))
        return {false, reason};

    // QSaveFile would say so in words of its own; the system's are clearer
    // beside its other reasons.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir() && !existing.isWritable())
        return {false, QString::fromLocal8Bit(std::strerror(EACCES))};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};

    QString error;
    bool written = fill(file, &error);
    // commit() resets the device's error, so the reason is taken first.
    if (written && !file.flush()) {
        written = false;
        error = file.errorString();
    }
    if (!written) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return {false, error.isEmpty() ? file.errorString() : error};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}
