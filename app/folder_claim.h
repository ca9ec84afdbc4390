#pragma once
// The data folder taken for this register before it touches a file. A running register on
// this computer keeps its folder: the second is turned away. Another computer's lock (a USB
// stick or a network folder that computer held, maybe switched off since) is the trainee's to
// judge: the box names the computer and the time and asks before the folder is taken over;
// in a room of computers `--take-over` takes it without asking.

#include "app/start_problem.h"
#include "register/services.h"
#include "storage/folder_lock.h"

#include <memory>

namespace tarvel {

// The lock held on `folder`, or why this register must not start (the trainee has answered
// No, or is yet to be told). Another computer's lock is told on standard error before the
// question, whatever the answer.
Started<std::unique_ptr<FolderLock>> claimFolder(const QString& folder, bool takeOverElsewhere,
                                                 MessageBoxes& messages);

} // namespace tarvel
