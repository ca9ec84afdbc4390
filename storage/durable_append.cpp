#include "storage/durable_append.h"

#include <QFile>

namespace tarvel {

std::optional<FileError> appendDurably(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    // Unbuffered: nothing of a failed append waits in a buffer to be written after the file
    // has been cut back.
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fileErrorOf(path, lastSystemError(), file);
    const qint64 size = file.size();
    clearSystemError();
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !syncToDisk(file)) {
        const FileError error = fileErrorOf(path, lastSystemError(), file);
        file.resize(size);
        return error;
    }
    return std::nullopt;
}

} // namespace tarvel
