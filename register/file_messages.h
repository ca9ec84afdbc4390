#pragma once
// What the register tells the trainee about its files, composed from the storage's typed
// errors: one style for every file and every cause, in Russian.

#include "storage/file_error.h"

#include <QDateTime>
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

// A second register was started on a folder another one is working with.
QString folderInUseMessage(const QString& folder);

// The folder's lock is another computer's, taken at `since`: which computer, and that the lock
// may be left over from a computer switched off (or a USB stick pulled) with the register on.
QString folderHeldElsewhereMessage(const QString& folder, const QString& computer,
                                   const QDateTime& since);
// The question that follows it: take the folder over for this register?
QString folderTakeOverQuestion(const QString& folder, const QString& computer,
                               const QDateTime& since);
// The other computer's lock could not be removed.
QString folderNotTakenOverMessage(const QString& folder, const QString& computer,
                                  const QDateTime& since);

} // namespace tarvel
