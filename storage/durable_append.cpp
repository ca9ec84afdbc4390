#include "storage/durable_append.h"

#include "storage/text_files.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tarvel {

bool syncToDisk(QFile& file) {
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#elif defined(Q_OS_DARWIN)
    return ::fsync(file.handle()) == 0;
#else
    return ::fdatasync(file.handle()) == 0;
#endif
}

QString appendDurably(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    // Unbuffered: nothing of a failed append waits in a buffer to be written after the file
    // has been cut back.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fileErrorReason(file);
    const qint64 size = file.size();
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !syncToDisk(file)) {
        const QString reason = fileErrorReason(file);
        file.resize(size);
        return reason;
    }
    return {};
}

} // namespace tarvel
