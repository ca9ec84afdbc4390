#pragma once
// Appends that survive a crash or a power cut: the bytes are on the disk when the call
// returns, and a failed append leaves no half line behind when the file system allows it.

#include "storage/file_error.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

class QFile;

namespace tarvel {

// Puts what was written to `file` on the disk (not only into the system's cache); one for each
// system, in system_disk_*.cpp.
bool syncToDisk(QFile& file);

// Appends `bytes` to the file at `path`, creating it when absent; the error when it failed.
std::optional<FileError> appendDurably(const QString& path, QByteArrayView bytes);

} // namespace tarvel
