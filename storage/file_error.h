#pragma once
// Why a file could not be read or written, as a value: the storage layer reports the cause and
// the file, and whoever talks to the trainee turns it into words.

#include <QString>
#include <system_error>

class QFileDevice;

namespace tarvel {

enum class FileProblem {
    NoSpace,          // the disk (or the user's quota) is full
    NoPermission,     // access denied, or the file is marked unchangeable
    ReadOnlyDisk,     // the file system is mounted read-only
    FileMissing,      // no such file
    FolderMissing,    // the folder that should hold the file does not exist
    IsFolder,         // a folder stands where the file should be
    NotAFile,         // a pipe, a socket or a device stands where the file should be
    InputOutput,      // the disk reported an input/output error
    NameTooLong,      // the path (or one of its names) is longer than the system takes
    LinkLoop,         // symbolic links on the way lead round in a circle
    ChangedElsewhere, // the file's size is not what this program last wrote
    Undecodable,      // the bytes could not be turned into text whole
    NameNotUtf8,      // the file's name holds bytes that are not UTF-8: it cannot be opened
    InUse,            // another program holds the file open and lets no one else in (Windows)
    WouldShorten,     // writing would leave the file shorter than what it holds
    Other,            // any other system error; `systemCode` tells which
};

struct FileError {
    QString path;
    FileProblem reason = FileProblem::Other;
    int systemCode = 0; // the system's error code behind the problem, 0 when none is known
    bool operator==(const FileError&) const = default;
};

// The problem an errno value of the C library stands for. ENOENT is told apart by whether
// `path`'s folder exists and whether its name could be read (storage/file_names.h).
FileProblem problemFromErrno(int error, const QString& path);

// The system's own record of why the last file call failed: errno on Linux, the thread's last
// error on Windows (Qt's file calls there go to the Win32 API, which leaves errno alone).
// Cleared right before a call and read right after it.
void clearSystemError();
int lastSystemError();

// The problem a code from lastSystemError() stands for.
FileProblem problemFromSystemError(int code, const QString& path);

// The same for an error of std::filesystem, which reports the C library's errno values or the
// system's own codes.
FileProblem problemFromErrorCode(const std::error_code& error, const QString& path);

// Why `path` cannot be reached when it looks absent: missing, its folder missing, a loop of
// symbolic links, or a name too long (all look the same to QFileInfo::exists).
FileError absenceOf(const QString& path);

// The error of a failed operation on `file`: from `systemError` (lastSystemError() read right
// after the failing call, 0 when the call does not set it) where it says something, otherwise
// from what Qt recorded and what the disk shows now.
FileError fileErrorOf(const QString& path, int systemError, const QFileDevice& file);

} // namespace tarvel
