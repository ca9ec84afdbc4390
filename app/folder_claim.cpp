#include "app/folder_claim.h"

#include "app/data_folder_message.h"

#include <cstdio>

namespace tarvel {

namespace {

void tellOnStandardError(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void refuse(const QString& refusal, MessageBoxes& messages) {
    tellOnStandardError(refusal);
    messages.show(refusal, kProgramTitle, MessageBoxes::Icon::Critical);
}

} // namespace

std::unique_ptr<FolderLock> claimFolder(const QString& folder, bool takeOverElsewhere,
                                        MessageBoxes& messages) {
    auto lock = std::make_unique<FolderLock>(folder);
    FolderLock::Outcome outcome = lock->take();
    if (outcome == FolderLock::Outcome::HeldElsewhere) {
        const LockHolder other = lock->holder();
        tellOnStandardError(folderHeldElsewhereMessage(folder, other.computer, other.since));
        if (!takeOverElsewhere &&
            !messages.ask(folderTakeOverQuestion(folder, other.computer, other.since)))
            return nullptr;
        outcome = lock->takeOver();
    }
    switch (outcome) {
    case FolderLock::Outcome::Taken:
    case FolderLock::Outcome::Unavailable: // runs unlocked, as on a folder no lock fits
        return lock;
    case FolderLock::Outcome::HeldHere:
        refuse(folderInUseMessage(folder), messages);
        break;
    case FolderLock::Outcome::HeldElsewhere: {
        const LockHolder other = lock->holder();
        refuse(folderNotTakenOverMessage(folder, other.computer, other.since), messages);
        break;
    }
    }
    return nullptr;
}

} // namespace tarvel
