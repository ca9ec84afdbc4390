#include "app/folder_claim.h"

#include <cstdio>

namespace tarvel {

Started<std::unique_ptr<FolderLock>> claimFolder(const QString& folder, bool takeOverElsewhere,
                                                 MessageBoxes& messages) {
    auto lock = std::make_unique<FolderLock>(folder);
    FolderLock::Outcome outcome = lock->take();
    if (outcome == FolderLock::Outcome::HeldElsewhere) {
        const LockHolder other = lock->holder();
        std::fprintf(stderr, "%s\n",
                     qPrintable(folderHeldElsewhereMessage(folder, other.computer, other.since)));
        if (!takeOverElsewhere &&
            !messages.ask(folderTakeOverQuestion(folder, other.computer, other.since)))
            return takeOverDeclined();
        outcome = lock->takeOver();
    }
    switch (outcome) {
    case FolderLock::Outcome::Taken:
    case FolderLock::Outcome::Unavailable: // runs unlocked, as on a folder no lock fits
        break;
    case FolderLock::Outcome::HeldHere:
        return folderInUseProblem(folder);
    case FolderLock::Outcome::HeldElsewhere: {
        const LockHolder other = lock->holder();
        return folderNotTakenOverProblem(folder, other.computer, other.since);
    }
    }
    return lock;
}

} // namespace tarvel
