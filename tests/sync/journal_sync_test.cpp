// Every closed receipt reaches the disk, not only the system's cache: this program puts its
// own fdatasync in front of the C library's, notes which file each call synced and how large
// it was then, and passes the call on.

#include "support/fakes.h"

#include <QFileInfo>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct SyncSeen {
    QString path;
    qint64 size = 0;
};
QList<SyncSeen> gSyncs;

} // namespace

extern "C" int fdatasync(int fd) {
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fdatasync"));
    const QString link = QStringLiteral("/proc/self/fd/%1").arg(fd);
    const QFileInfo file(QFileInfo(link).symLinkTarget());
    gSyncs.append({file.absoluteFilePath(), file.size()});
    return real(fd);
}

namespace tarvel::test {
namespace {

// Each journal piece, a receipt closed by ВВ among them, is synced with the file at its new
// size before the register goes on.
TEST(JournalSync, EveryPieceIsSyncedToDiskAsItIsWritten) {
    RegisterRig rig;
    const QString path = QFileInfo(rig.files.path(kJournalFileName)).absoluteFilePath();
    const std::pair<const char*, QString> steps[] = {
        {"cash receipt", "1 5 0 ВВ = ВВ"},
        {"card receipt", "2 0 0 ВВ = %"},
        {"shift report", "КЗ 1Д"},
    };
    for (const auto& [name, keys] : steps) {
        SCOPED_TRACE(name);
        gSyncs.clear();
        const qsizetype before = rig.s().TxtCHLK.text().size();
        rig.press(keys);
        ASSERT_GT(rig.s().TxtCHLK.text().size(), before) << "nothing was journaled";
        const qint64 size = QFileInfo(path).size();
        bool synced = false;
        for (const SyncSeen& sync : gSyncs)
            synced = synced || (sync.path == path && sync.size == size);
        EXPECT_TRUE(synced) << gSyncs.size() << " syncs, none of the journal at its new size";
    }
}

} // namespace
} // namespace tarvel::test
