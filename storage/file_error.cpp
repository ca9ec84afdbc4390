#include "storage/file_error.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

namespace tarvel {

namespace {

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

// What the disk under the folder shows now, for a failure whose errno was lost on the way
// (Qt's QSaveFile reports a failed commit without one).
FileProblem problemSeenOnDisk(const QString& path, FileProblem otherwise) {
    if (!QFileInfo(folderOf(path)).isDir()) return FileProblem::FolderMissing;
#ifdef Q_OS_UNIX
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(folderOf(path)).constData(), &disk) == 0) {
        if (disk.f_flag & ST_RDONLY) return FileProblem::ReadOnlyDisk;
        if (disk.f_bavail == 0) return FileProblem::NoSpace;
    }
#endif
    return otherwise;
}

} // namespace

FileProblem problemFromErrno(int error, const QString& path) {
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT // no disk quotas in the Windows C library's errors
    case EDQUOT:
#endif
    case EFBIG:
        return FileProblem::NoSpace;
    case EACCES:
    case EPERM:
        return FileProblem::NoPermission;
    case EROFS:
        return FileProblem::ReadOnlyDisk;
    case ENOENT:
        return QFileInfo(folderOf(path)).isDir() ? FileProblem::FileMissing
                                                 : FileProblem::FolderMissing;
    case ENOTDIR:
        return FileProblem::FolderMissing;
    case EISDIR:
        return FileProblem::IsFolder;
    case ENXIO:
        return FileProblem::NotAFile;
    case EIO:
        return FileProblem::InputOutput;
    default:
        return FileProblem::Other;
    }
}

FileError fileErrorOf(const QString& path, int savedErrno, const QFileDevice& file) {
    if (savedErrno != 0) return {path, problemFromErrno(savedErrno, path), savedErrno};
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return {path, FileProblem::NoSpace, 0};
    case QFileDevice::PermissionsError:
        return {path, FileProblem::NoPermission, 0};
    default:
        return {path, problemSeenOnDisk(path, FileProblem::InputOutput), 0};
    }
}

} // namespace tarvel
