#pragma once
// What each operating system says about files, behind one set of calls: the cause of a failed
// call, the state of a disk, and the flush that puts written bytes on it. One source file per
// system (system_disk_posix.cpp, system_disk_windows.cpp); the rest of storage/ is the same
// everywhere.

#include "storage/file_error.h"

#include <QString>
#include <optional>

namespace tarvel {

// Full or mounted read-only, as the disk under `folder` shows it now; nothing when neither or
// when the system does not tell.
std::optional<FileProblem> diskProblem(const QString& folder);

// Asks the system to back `bytes` at `data` (memory about to be written through) with large
// pages where it has them: a journal of hundreds of megabytes then costs hundreds of page
// faults, not hundreds of thousands, each of which holds up the program's other thread too.
void preferLargePages(void* data, qsizetype bytes);

} // namespace tarvel
