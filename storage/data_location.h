#pragma once
// Which folder holds the register's files, and making it ready before the register starts.
//
// The rule, in this order:
//   1. a folder named on the command line (--data-dir): that folder, created when missing;
//   2. the executable's own folder when it already holds any of the three data files: a copy
//      run from the build folder or a USB stick works exactly as it always has;
//   3. otherwise (an installed copy: its bin/ holds no data files) the trainee's own data
//      folder, ~/.local/share/Tarvel on Linux, %APPDATA%\Tarvel on Windows. Data files never go
//      into bin/ (or Program Files), not even for root.
// A folder from rule 1 or 3 gets the default files copied in where it lacks them; an existing
// file is never replaced. The executable's own folder is taken as it is.

#include "storage/file_error.h"
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvel {

// The trainee's own data folder as the help names it on this system.
QString perUserFolderHint();

// The three candidates of the rule, as paths.
struct DataFolderPlaces {
    QString requested;     // --data-dir; empty when not given
    QString executableDir; // the folder of the running executable
    QString perUserDir;    // the trainee's own data folder; empty when the system has none
};

enum class DataFolderSource { Requested, BesideExecutable, PerUser };

struct DataFolderChoice {
    QString path;
    DataFolderSource source;
};

// Picks the folder by the rule. Only looks at the disk, never writes.
DataFolderChoice chooseDataFolder(const DataFolderPlaces& places);

// Where the default files are found: <prefix>/share/tarvel for an installed copy in
// <prefix>/bin, and share/tarvel beside the executable in the build folder.
QStringList defaultFileFolders(const QString& executableDir);

struct DataFolderError {
    enum class Kind {
        NoFolder,     // the system names no per-user data folder
        NotAFolder,   // a file, not a folder, stands at the path or on the way to it
        NotWritable,  // the folder (or the one it would be created in) may not be written
        CannotCreate, // creating the folder failed
        CannotSeed,   // copying a default file in failed
    };
    Kind kind;
    QString folder; // the data folder as chosen
    // What stood in the way: the file or folder and the system's cause (NotAFile for a file
    // where a folder should be); none for NoFolder.
    std::optional<FileError> cause;
    QString file; // for CannotSeed: the default file that could not be copied
};

struct DataFolderReady {
    std::optional<QString> folder; // the folder, ready for the register
    std::optional<DataFolderError> error;
};

// Creates the chosen folder when missing and copies in every default file it lacks, taken
// from the first of `defaultFolders` that exists (sub-folders such as exercises/ included).
// When the folder cannot be made or written, nothing is created or written anywhere.
DataFolderReady prepareDataFolder(const DataFolderChoice& choice,
                                  const QStringList& defaultFolders);

} // namespace tarvel
