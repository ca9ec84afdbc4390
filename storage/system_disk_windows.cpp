#include "storage/system_disk.h"

#include "storage/durable_append.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <io.h>
#include <windows.h>

namespace tarvel {

void clearSystemError() {
    ::SetLastError(ERROR_SUCCESS);
}

int lastSystemError() {
    return int(::GetLastError());
}

// Whether another program holds the file open without letting it be replaced: Windows refuses
// the rename over such a file as "access denied", like a file the trainee may not write.
bool heldByAnotherProgram(const QString& path) {
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE probe = ::CreateFileW(native.c_str(), DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// Not in every toolchain's winerror.h.
constexpr DWORD kDiskQuotaExceeded = 1295;

// Windows' error codes (winerror.h) for the causes a trainee can act on; the rest are told by
// their number.
FileProblem problemFromSystemError(int code, const QString& path) {
    switch (DWORD(code)) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded:
    case ERROR_FILE_TOO_LARGE:
        return FileProblem::NoSpace;
    case ERROR_ACCESS_DENIED:
        // Windows refuses a folder opened as a file with the same code as a forbidden file.
        if (QFileInfo(path).isDir()) return FileProblem::IsFolder;
        return heldByAnotherProgram(path) ? FileProblem::InUse : FileProblem::NoPermission;
    case ERROR_FILE_READ_ONLY:
    case ERROR_PRIVILEGE_NOT_HELD:
        return FileProblem::NoPermission;
    case ERROR_WRITE_PROTECT:
        return FileProblem::ReadOnlyDisk;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileProblem::InUse;
    case ERROR_FILE_NOT_FOUND:
        return QFileInfo(QFileInfo(path).absolutePath()).isDir() ? FileProblem::FileMissing
                                                                 : FileProblem::FolderMissing;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        return FileProblem::FolderMissing;
    case ERROR_FILENAME_EXCED_RANGE:
        return FileProblem::NameTooLong;
    case ERROR_CANT_RESOLVE_FILENAME:
        return FileProblem::LinkLoop;
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NOT_READY:
        return FileProblem::InputOutput;
    default:
        return FileProblem::Other;
    }
}

std::optional<FileProblem> diskProblem(const QString& folder) {
    const std::wstring native = QDir::toNativeSeparators(folder).toStdWString();
    ULARGE_INTEGER available{};
    if (::GetDiskFreeSpaceExW(native.c_str(), &available, nullptr, nullptr) &&
        available.QuadPart == 0)
        return FileProblem::NoSpace;
    return std::nullopt;
}

// Flushing Qt's buffer hands the bytes to the system; only FlushFileBuffers puts them on the
// disk, so a power cut right after a closed receipt still finds it in the file.
bool syncToDisk(QFile& file) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    return handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle);
}

// Windows gives large pages only to a program with a privilege a trainee's account lacks.
void preferLargePages(void*, qsizetype) {}

} // namespace tarvel
