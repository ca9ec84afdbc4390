#pragma once
// One register per data folder. Two programs on the same files would each rewrite the journal
// from their own memory and erase the other's receipts, so the first takes a lock on the
// folder at start-up and a second is turned away before it touches any file.
//
// A folder has its lock in two places, and a program holds both: the user's own lock for that
// folder in the user's private runtime folder (always writable, never shared with another
// user, so nobody can block it in advance), and `tarvel.lock` in the folder itself when the
// folder takes a new file. Two copies of one user always meet at the first, whether the folder
// is full or not; copies of other users or other computers meet at the second.
//
// The lock of a program that crashed (its process is gone) is taken over, and so is a lock
// that cannot be read (empty or cut short by a power cut while it was written). The lock of
// another computer is never judged from here: its holder is told, and only takeOver() with
// the trainee's consent removes it.

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>

namespace tarvel {

// Who holds a lock, as its file says.
struct LockHolder {
    qint64 pid = 0;
    QString computer;  // the host name the holder wrote
    QDateTime since;   // when the lock was taken (the file's time)
    bool here = false; // held by a program on this computer

    bool operator==(const LockHolder&) const = default;
};

class FolderLock {
  public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    enum class Outcome {
        Taken,         // this program holds the folder until the lock is destroyed
        HeldHere,      // a running program on this computer holds it
        HeldElsewhere, // another computer's lock is there: see holder()
        Unavailable,   // no lock can be made in either place: not held
    };
    Outcome take();

    // The other computer's holder, after take() or takeOver() answered HeldElsewhere.
    const LockHolder& holder() const { return holder_; }

    // After HeldElsewhere: removes that computer's lock, if it is still the one holder()
    // told of, and takes the folder. A lock of this computer is never removed here.
    Outcome takeOver();

  private:
    Outcome held(const std::optional<LockHolder>& holder, const QString& path);

    QString folder_;
    std::unique_ptr<QLockFile> private_; // the user's own lock for this folder
    std::unique_ptr<QLockFile> own_;     // tarvel.lock in the folder
    LockHolder holder_;
    QString heldAt_; // the lock file holder_ was read from
};

} // namespace tarvel
