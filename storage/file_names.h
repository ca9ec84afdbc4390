#pragma once
// File names the system keeps as bytes that are not UTF-8: a file named on Windows in its own
// code page and copied over, say. Qt reads each such byte as U+FFFD, so no file has the name
// it gives, and its folder listings leave such files out altogether.

#include <QStringList>
#include <filesystem>

namespace tarvel {

// A path so read: it holds U+FFFD and names no file.
bool isUnreadableName(const QString& path);

// The names in `folder` (folders left aside) that Qt's listings leave out, as Qt reads them.
QStringList unreadableNames(const QString& folder);

// `path` as std::filesystem takes it: the bytes Qt would use on Linux, UTF-16 on Windows (a
// narrow name there goes through the ANSI code page and loses every letter outside it).
std::filesystem::path filesystemPath(const QString& path);

} // namespace tarvel
