#pragma once
// The data folder taken for this register before it touches a file. A running register on
// this computer keeps its folder: the second is turned away. Another computer's lock (a USB
// stick or a network folder that computer held, maybe switched off since) is the trainee's to
// judge: the box names the computer and the time and asks before the folder is taken over;
// in a room of computers `--take-over` takes it without asking.

#include "register/services.h"
#include "storage/folder_lock.h"

#include <memory>

namespace tarvel {

// The lock held on `folder`, or nothing when this register must not start (the trainee has
// been told why, also on standard error, or has answered No).
std::unique_ptr<FolderLock> claimFolder(const QString& folder, bool takeOverElsewhere,
                                        MessageBoxes& messages);

} // namespace tarvel
