// Every closed receipt reaches the disk, not only the system's cache: the flush the system
// offers for it is watched from inside this program (sync/sync_spy.h).

#include "support/fakes.h"
#include "sync/sync_spy.h"

#include <QFileInfo>
#include <gtest/gtest.h>

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
        syncsSeen().clear();
        const qsizetype before = rig.s().TxtCHLK.text().size();
        rig.press(keys);
        ASSERT_GT(rig.s().TxtCHLK.text().size(), before) << "nothing was journaled";
        const qint64 size = QFileInfo(path).size();
        bool synced = false;
        for (const SyncSeen& sync : syncsSeen())
            synced =
                synced || (sync.path.compare(path, Qt::CaseInsensitive) == 0 && sync.size == size);
        EXPECT_TRUE(synced) << syncsSeen().size() << " syncs, none of the journal at its new size";
    }
}

} // namespace
} // namespace tarvel::test
