#include "storage/file_names.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace tarvel {

bool isUnreadableName(const QString& path) {
    return path.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(path);
}

// Elsewhere names are UTF-16 and every one reads.
QStringList unreadableNames(const QString& folder) {
    QStringList names;
#ifdef Q_OS_UNIX
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (entry->d_type != DT_DIR && QFile::encodeName(QFile::decodeName(name)) != name)
            names << QFile::decodeName(name);
    }
    ::closedir(dir);
#else
    Q_UNUSED(folder);
#endif
    return names;
}

std::filesystem::path filesystemPath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace tarvel
