#include "storage/data_location.h"

#include "storage/data_dir.h"
#include "storage/file_names.h"
#include "storage/text_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace tarvel {

namespace {

using Kind = DataFolderError::Kind;

bool holdsDataFile(const QString& dir) {
    for (const QString& name : {kHeaderFileName, kJournalFileName, kGoodsFileName})
        if (QFileInfo::exists(dir + QLatin1Char('/') + name)) return true;
    return false;
}

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The nearest folder on the way to `path` that exists (or a file standing in the way).
QString nearestExisting(const QString& path) {
    QString at = path;
    while (!QFileInfo::exists(at)) {
        const QString up = QFileInfo(at).path();
        if (up == at) break;
        at = up;
    }
    return at;
}

// Checks that `path` is a folder that may be written; `folder` is the data folder it is for.
std::optional<DataFolderError> checkWritableFolder(const QString& path, const QString& folder) {
    const QFileInfo info(path);
    if (!info.isDir())
        return DataFolderError{
            Kind::NotAFolder, folder, FileError{path, FileProblem::NotAFile}, {}};
    if (!info.isWritable())
        return DataFolderError{
            Kind::NotWritable, folder, FileError{path, FileProblem::NoPermission}, {}};
    return std::nullopt;
}

// Makes sure the folder exists and may be written. Everything that can be checked is checked
// before the first folder is created, so a refusal leaves the disk as it was.
std::optional<DataFolderError> makeFolder(const QString& folder) {
    if (QFileInfo::exists(folder)) return checkWritableFolder(folder, folder);
    if (auto refused = checkWritableFolder(nearestExisting(folder), folder)) return refused;
    std::error_code error;
    std::filesystem::create_directories(filesystemPath(folder), error);
    if (error) {
        const FileError cause{folder, problemFromErrorCode(error, folder), error.value()};
        return DataFolderError{Kind::CannotCreate, folder, cause, {}};
    }
    return std::nullopt;
}

// Copies a file to a place that holds none, whole or not at all: a default seeded as an empty
// file on a full disk would stay empty for good, since an existing file is never replaced.
std::optional<FileError> copyWhole(const QString& from, const QString& to) {
    const FileBytes read = readFileBytes(from);
    if (read.error) return read.error;
    const QString folder = QFileInfo(to).path();
    clearSystemError();
    if (!QDir().mkpath(folder)) {
        const int error = lastSystemError();
        return FileError{folder, problemFromSystemError(error, folder), error};
    }
    return writeFileWhole(to, read.bytes);
}

std::optional<DataFolderError> seedDefaults(const QString& folder, const QStringList& sources) {
    QString source;
    for (const QString& candidate : sources)
        if (QFileInfo(candidate).isDir()) {
            source = candidate;
            break;
        }
    // Without defaults the register starts as it does with a missing file: it says so.
    if (source.isEmpty()) return std::nullopt;

    QDirIterator files(source, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString name = QDir(source).relativeFilePath(from);
        const QString to = folder + QLatin1Char('/') + name;
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) continue; // never replaced
        if (const std::optional<FileError> cause = copyWhole(from, to))
            return DataFolderError{Kind::CannotSeed, folder, cause, name};
    }
    return std::nullopt;
}

} // namespace

QString perUserFolderHint() {
#ifdef Q_OS_WIN
    return QStringLiteral("%APPDATA%\\Tarvel");
#else
    return QStringLiteral("~/.local/share/Tarvel");
#endif
}

DataFolderChoice chooseDataFolder(const DataFolderPlaces& places) {
    if (!places.requested.isEmpty())
        return {absolute(places.requested), DataFolderSource::Requested};
    if (holdsDataFile(places.executableDir))
        return {places.executableDir, DataFolderSource::BesideExecutable};
    const QString perUser = places.perUserDir.isEmpty() ? QString() : absolute(places.perUserDir);
    return {perUser, DataFolderSource::PerUser};
}

QStringList defaultFileFolders(const QString& executableDir) {
    return {absolute(executableDir + QStringLiteral("/../share/tarvel")),
            absolute(executableDir + QStringLiteral("/share/tarvel"))};
}

DataFolderReady prepareDataFolder(const DataFolderChoice& choice,
                                  const QStringList& defaultFolders) {
    if (choice.source == DataFolderSource::BesideExecutable) return {choice.path, std::nullopt};
    if (choice.path.isEmpty()) return {std::nullopt, DataFolderError{Kind::NoFolder, {}, {}, {}}};
    if (auto refused = makeFolder(choice.path)) return {std::nullopt, refused};
    if (auto failed = seedDefaults(choice.path, defaultFolders)) return {std::nullopt, failed};
    return {choice.path, std::nullopt};
}

} // namespace tarvel
