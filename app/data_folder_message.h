#pragma once
// What the trainee is told when the data folder cannot be used or another register holds it.

#include "storage/data_location.h"

#include <QDateTime>
#include <QString>

namespace tarvel {

// The message box text, in Russian, naming the folder and the reason.
QString dataFolderMessage(const DataFolderError& error);

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
