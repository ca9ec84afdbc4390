// Windows lets no test mount a small disk of its own: the tests that need one skip there.

#include "support/disk_faults.h"

namespace tarvel::test {

SmallDisk::SmallDisk(const QString& folder, qint64) : folder_(folder) {}
SmallDisk::~SmallDisk() = default;
void SmallDisk::fill(const QString&, qint64) const {}
bool SmallDisk::remount(bool) const {
    return false;
}

} // namespace tarvel::test
