#include "storage/system_disk.h"

#include "storage/durable_append.h"

#include <QFile>
#include <cerrno>
#include <cstdint>
#include <sys/mman.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tarvel {

void clearSystemError() {
    errno = 0;
}

int lastSystemError() {
    return errno;
}

FileProblem problemFromSystemError(int code, const QString& path) {
    return problemFromErrno(code, path);
}

std::optional<FileProblem> diskProblem(const QString& folder) {
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(folder).constData(), &disk) != 0) return std::nullopt;
    if (disk.f_flag & ST_RDONLY) return FileProblem::ReadOnlyDisk;
    if (disk.f_bavail == 0) return FileProblem::NoSpace;
    return std::nullopt;
}

// Flushing Qt's buffer hands the bytes to the system; only this puts them on the disk, so a
// power cut right after a closed receipt still finds it in the file.
bool syncToDisk(QFile& file) {
#ifdef Q_OS_DARWIN
    return ::fsync(file.handle()) == 0;
#else
    return ::fdatasync(file.handle()) == 0;
#endif
}

void preferLargePages(void* data, qsizetype bytes) {
#ifdef MADV_HUGEPAGE
    // Only whole pages inside the range are advised; the call fails harmlessly where the
    // system has no large pages.
    const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = (std::uintptr_t(data) + page - 1) / page * page;
    const std::uintptr_t end = (std::uintptr_t(data) + std::uintptr_t(bytes)) / page * page;
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

} // namespace tarvel
