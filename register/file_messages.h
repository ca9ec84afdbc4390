#pragma once
// What the register tells the trainee about its files, composed from the storage's typed
// errors: one style for every file and every cause, in Russian.

#include "storage/file_error.h"

#include <QString>

namespace tarvel {

// The message for a data file that is missing or cannot be read.
inline const QString kCannotFindFile = QStringLiteral("Не могу найти File");

// A path as the trainee's system writes it, its middle cut out when it would run off a box.
QString shownPath(const QString& path);

// The cause, for example "нет места на диске".
QString reasonText(const FileError& error);

// "Не удалось записать файл <path>: <reason>" — the first line of every failed write.
QString writeFailureMessage(const FileError& error);

// The journal could not be read at start-up; it is kept in memory only.
QString journalUnreadableMessage(const FileError& error);
// A journal piece did not reach the file.
QString journalAppendFailedMessage(const FileError& error);
// The close could not write the journal.
QString journalNotSavedMessage(const FileError& error);

} // namespace tarvel
