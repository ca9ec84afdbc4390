// The journal on Windows, held by another program (a backup, an antivirus scan) while receipts
// close.

#include "support/fakes.h"
#include "support/held_elsewhere.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// The journal held by another program while receipts close: the trainee is told once, with
// the cause, the receipts wait in memory, and the first receipt after the file is let go
// brings the file up to date.
TEST(WindowsJournalHeld, IsToldAndCaughtUpAfter) {
    RegisterRig rig;
    rig.reg->journalAppend(kReceipt);
    {
        const HeldElsewhere backup(rig.files.path(kJournalFileName));
        rig.reg->journalAppend(kReceipt);
        rig.reg->journalAppend(kReceipt);
    }
    ASSERT_EQ(rig.messages.texts().size(), 1);
    EXPECT_TRUE(
        rig.messages.texts().first().contains(": файл занят другой программой — закройте её\n"))
        << rig.messages.texts().first().toStdString();
    rig.reg->journalAppend(kReceipt);
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(kReceipt.repeated(4)));
}

} // namespace
