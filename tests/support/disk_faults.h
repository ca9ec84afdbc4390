#pragma once
// The faults a real disk has, made real for a test: a small tmpfs mounted over a folder (full
// disk, read-only disk), a file marked unchangeable, and file access as an ordinary user.
// Each needs root; where it cannot be made, the test is skipped, not failed.

#include <QString>

namespace tarvel::test {

// A tmpfs of `bytes` mounted over `folder` for the object's lifetime. The folder's own
// content is hidden meanwhile.
class SmallDisk {
  public:
    SmallDisk(const QString& folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    // Fills the free space with a file named `name` in the folder; `leave` bytes stay free.
    void fill(const QString& name, qint64 leave = 0) const;
    bool remount(bool readOnly) const;

  private:
    QString folder_;
    bool mounted_ = false;
};

// File access from this thread as the user "nobody" (its file-system identity only), for
// the object's lifetime: permissions bind as they do for a trainee.
class AsNobody {
  public:
    AsNobody();
    ~AsNobody();
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;
    bool active() const { return active_; }
    static unsigned uid();

  private:
    bool active_ = false;
};

// Sets or clears the "immutable" flag of a file (chattr +i); false when the file system or
// the user's rights do not allow it.
bool setImmutable(const QString& path, bool on);

} // namespace tarvel::test
