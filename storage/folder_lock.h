#pragma once
// One register per data folder. Two programs on the same files would each rewrite the journal
// from their own memory and erase the other's receipts, so the first takes a lock on the
// folder at start-up and a second is turned away before it touches any file. The lock of a
// program that crashed is recognised as stale (its process is gone) and taken over.

#include <QLockFile>
#include <QString>
#include <memory>

namespace tarvel {

class FolderLock {
  public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    enum class Outcome {
        Taken,       // this program holds the folder until the lock is destroyed
        HeldByOther, // another running program holds it
        Unavailable, // no lock can be made here (a folder that takes no new file): not held
    };
    Outcome take();

  private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace tarvel
