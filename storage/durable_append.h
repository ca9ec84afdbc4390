#pragma once
// Appends that survive a crash or a power cut: the bytes are on the disk when the call
// returns, and a failed append leaves no half line behind when the file system allows it.

#include <QByteArrayView>
#include <QString>

class QFile;

namespace tarvel {

// Puts what was written to `file` on the disk (not only into the system's cache).
bool syncToDisk(QFile& file);

// Appends `bytes` to the file at `path`, creating it when absent. Returns an empty string on
// success, or the reason in Russian.
QString appendDurably(const QString& path, QByteArrayView bytes);

} // namespace tarvel
