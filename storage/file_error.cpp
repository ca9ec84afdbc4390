#include "storage/file_error.h"

#include "storage/file_names.h"
#include "storage/system_disk.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tarvel {

namespace {

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

// What the disk under the folder shows now, for a failure whose errno was lost on the way
// (Qt's QSaveFile reports a failed commit without one).
FileProblem problemSeenOnDisk(const QString& path, FileProblem otherwise) {
    if (!QFileInfo(folderOf(path)).isDir()) return FileProblem::FolderMissing;
    return diskProblem(folderOf(path)).value_or(otherwise);
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
        if (isUnreadableName(path)) return FileProblem::NameNotUtf8;
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
    case ENAMETOOLONG:
        return FileProblem::NameTooLong;
    case ELOOP:
        return FileProblem::LinkLoop;
    default:
        return FileProblem::Other;
    }
}

FileError absenceOf(const QString& path) {
    std::error_code error;
    [[maybe_unused]] const auto status = std::filesystem::status(filesystemPath(path), error);
    if (!error) return {path, problemFromErrno(ENOENT, path), ENOENT};
    return {path, problemFromErrorCode(error, path), error.value()};
}

FileProblem problemFromErrorCode(const std::error_code& error, const QString& path) {
    if (error.category() == std::system_category())
        return problemFromSystemError(error.value(), path);
    return problemFromErrno(error.value(), path);
}

FileError fileErrorOf(const QString& path, int systemError, const QFileDevice& file) {
    if (systemError != 0) return {path, problemFromSystemError(systemError, path), systemError};
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
