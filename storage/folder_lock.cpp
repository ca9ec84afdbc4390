#include "storage/folder_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace tarvel {

namespace {

// Where the lock of a folder that takes no new file goes instead: the temporary folder, under
// a name made from the folder's canonical path, so every program on that folder finds it.
QString lockBesideTemporaries(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(canonical), QCryptographicHash::Sha1).toHex();
    return QDir::temp().filePath(QStringLiteral("tarvel-%1.lock").arg(QLatin1String(hash)));
}

} // namespace

FolderLock::FolderLock(const QString& folder) : folder_(folder) {}

FolderLock::~FolderLock() = default;

FolderLock::Outcome FolderLock::take() {
    for (const QString& path :
         {QDir(folder_).filePath(QStringLiteral("tarvel.lock")), lockBesideTemporaries(folder_)}) {
        auto lock = std::make_unique<QLockFile>(path);
        // A register runs for hours: its lock never grows stale with age, only when the
        // process that took it is gone.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            return Outcome::Taken;
        }
        if (lock->error() == QLockFile::LockFailedError) return Outcome::HeldByOther;
    }
    return Outcome::Unavailable;
}

} // namespace tarvel
