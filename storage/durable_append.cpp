#include "storage/durable_append.h"

#include <QFile>
#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tarvel {

// Flushing Qt's buffer hands the bytes to the system; only this puts them on the disk, so a
// power cut right after a closed receipt still finds it in the file.
bool syncToDisk(QFile& file) {
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#elif defined(Q_OS_DARWIN)
    return ::fsync(file.handle()) == 0;
#else
    return ::fdatasync(file.handle()) == 0;
#endif
}

std::optional<FileError> appendDurably(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    // Unbuffered: nothing of a failed append waits in a buffer to be written after the file
    // has been cut back.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fileErrorOf(path, errno, file);
    const qint64 size = file.size();
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !syncToDisk(file)) {
        const FileError error = fileErrorOf(path, errno, file);
        file.resize(size);
        return error;
    }
    return std::nullopt;
}

} // namespace tarvel
