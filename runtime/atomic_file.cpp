#include "runtime/atomic_file.h"

#include <QSaveFile>

FileWriteResult writeFileAtomically(const QString &path,
                                    const std::function<bool(QIODevice &, QString *error)> &fill)
{
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
