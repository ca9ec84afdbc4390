#include "storage/folder_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <functional>

namespace tarvel {

namespace {

// The user's own place for the lock of `folder`: the runtime folder, which only the user may
// enter (Qt makes it mode 0700 and refuses one another user made), or the user's cache folder
// where the system gives none. Not the shared temporary folder, where anyone could put a file
// or a link at the lock's name first and keep the register from starting.
QString privateLockPath(const QString& folder) {
    QString place = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (place.isEmpty()) place = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (place.isEmpty() || !QDir().mkpath(place)) return {};
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty()) canonical = QFileInfo(folder).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(canonical), QCryptographicHash::Sha1).toHex();
    return QDir(place).filePath(QStringLiteral("tarvel-%1.lock").arg(QLatin1String(hash)));
}

QString folderLockPath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("tarvel.lock"));
}

// Computer names are the same in any letter case: Windows writes its own in capitals
// (COMPUTERNAME), while the host name the system reports may be in small letters.
bool sameComputerName(const QString& name) {
    return name.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

// The holder a lock file names: its lines are the process id, the program, the host name,
// the machine id and the boot id, as QLockFile writes them. Nothing when the file is missing,
// empty or cut short before the host name's line ends.
std::optional<LockHolder> holderOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    if (lines.size() < 4) return std::nullopt;
    bool number = false;
    const qint64 pid = lines[0].toLongLong(&number);
    if (!number || pid <= 0) return std::nullopt;
    LockHolder holder{pid, QString::fromUtf8(lines[2]), QFileInfo(path).lastModified(), false};
    // Computers set up from one disk image share a machine id, and many share a host name:
    // a lock is this computer's only when both agree.
    const QByteArray machine = lines.size() > 4 ? lines[3] : QByteArray();
    holder.here = (holder.computer.isEmpty() || sameComputerName(holder.computer)) &&
                  (machine.isEmpty() || machine == QSysInfo::machineUniqueId());
    return holder;
}

// Removes the lock at the lock's place when `stillStale` says so of what is there now. Under a
// guard lock, so that two programs never both remove one lock and then each take a new one.
// QLockFile removes nothing a live program on this computer still holds open.
bool removeWhile(QLockFile& lock,
                 const std::function<bool(const std::optional<LockHolder>&)>& stillStale) {
    QLockFile guard(lock.fileName() + QStringLiteral(".rmlock"));
    // A place that takes no file takes no guard either, for any program: go on without one.
    if (!guard.tryLock(0) && guard.error() == QLockFile::LockFailedError) return false;
    return stillStale(holderOf(lock.fileName())) && lock.removeStaleLockFile();
}

enum class Attempt { Taken, Held, Unavailable };

Attempt attempt(QLockFile& lock, std::optional<LockHolder>& holder) {
    const QString path = lock.fileName();
    // Another computer's lock is left to the trainee before QLockFile sees it: it would call
    // the lock of a computer cloned from this one (the same machine id) stale and remove it.
    holder = holderOf(path);
    if (holder && !holder->here) return Attempt::Held;
    if (lock.tryLock(0)) return Attempt::Taken;
    if (lock.error() != QLockFile::LockFailedError) return Attempt::Unavailable;
    holder = holderOf(path);
    if (holder) return Attempt::Held;
    // Empty or cut short: no program can ever be seen behind it, so it would block the folder
    // for good. A program that is writing its lock this very moment holds the file open, and
    // QLockFile does not remove it then.
    if (removeWhile(lock, [](const auto& now) { return !now; }) && lock.tryLock(0))
        return Attempt::Taken;
    return lock.error() == QLockFile::LockFailedError ? Attempt::Held : Attempt::Unavailable;
}

std::unique_ptr<QLockFile> lockAt(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // A register runs for hours: its lock never grows stale with age, only when the process
    // that took it is gone.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

FolderLock::FolderLock(const QString& folder) : folder_(folder) {}

FolderLock::~FolderLock() = default;

FolderLock::Outcome FolderLock::take() {
    const QString privatePath = private_ ? QString() : privateLockPath(folder_);
    std::optional<LockHolder> holder;
    if (!privatePath.isEmpty()) {
        auto lock = lockAt(privatePath);
        const Attempt result = attempt(*lock, holder);
        if (result == Attempt::Held) return held(holder, privatePath);
        if (result == Attempt::Taken) private_ = std::move(lock);
    }
    // The folder's own lock, held beside the private one. A folder that takes no new file has
    // none: the private lock keeps the folder then.
    const QString path = folderLockPath(folder_);
    auto lock = lockAt(path);
    switch (attempt(*lock, holder)) {
    case Attempt::Taken:
        own_ = std::move(lock);
        return Outcome::Taken;
    case Attempt::Held:
        return held(holder, path);
    case Attempt::Unavailable:
        break;
    }
    return private_ ? Outcome::Taken : Outcome::Unavailable;
}

// A lock that is not another computer's is a running program's on this one.
FolderLock::Outcome FolderLock::held(const std::optional<LockHolder>& holder, const QString& path) {
    if (!holder || holder->here) return Outcome::HeldHere;
    holder_ = *holder;
    heldAt_ = path;
    return Outcome::HeldElsewhere;
}

FolderLock::Outcome FolderLock::takeOver() {
    if (!heldAt_.isEmpty()) {
        QLockFile lock(heldAt_);
        const LockHolder told = holder_;
        removeWhile(lock, [&told](const auto& now) { return now && !now->here && *now == told; });
    }
    return take();
}

} // namespace tarvel
