#include "support/disk_faults.h"

#include <QFile>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/fsuid.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace tarvel::test {

namespace {

constexpr unsigned kNobody = 65534;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

} // namespace

SmallDisk::SmallDisk(const QString& folder, qint64 bytes) : folder_(folder) {
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    mounted_ =
        ::mount("tarvel-test", native(folder).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(native(folder_).constData(), MNT_DETACH);
}

void SmallDisk::fill(const QString& name, qint64 leave) const {
    QFile filler(folder_ + QLatin1Char('/') + name);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    // Whatever is left in smaller pieces, so that not a byte stays free.
    while (filler.write("f", 1) == 1) {
    }
    if (leave > 0) filler.resize(filler.size() - leave);
}

bool SmallDisk::remount(bool readOnly) const {
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return ::mount(nullptr, native(folder_).constData(), nullptr, flags, nullptr) == 0;
}

AsNobody::AsNobody() {
    if (::geteuid() != 0) return;
    ::setfsgid(kNobody);
    ::setfsuid(kNobody);
    active_ = int(::setfsuid(uid_t(-1))) == int(kNobody);
}

AsNobody::~AsNobody() {
    if (::geteuid() != 0) return;
    ::setfsuid(0);
    ::setfsgid(0);
}

unsigned AsNobody::uid() {
    return kNobody;
}

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(native(path).constData(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace tarvel::test
