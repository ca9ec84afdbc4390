// A journal file larger than 2^29 bytes (from that size on, Qt's windows-1251 converter, used
// before the program had its own table, silently gave nothing): start-up takes it whole, adds
// its one CR LF, and the close writes nothing. The file is sparse (zero bytes cost no disk) and
// removed afterwards.

#include "support/fakes.h"

#include <gtest/gtest.h>

namespace tarvel::test {
namespace {

TEST(BigJournal, OverHalfAGibibyteLoadsWholeAndKeepsEveryByte) {
    constexpr qint64 kSize = (qint64(1) << 29) + 4096;
    RegisterRig rig(QLatin1Char('.'), false);
    const QString path = rig.files.path(kJournalFileName);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(kSize - 4));
        ASSERT_TRUE(file.seek(kSize - 4) && file.write("\xc0\r\n\xff", 4) == 4);
    }
    // Not in the register's form (the last line has no CR LF): start-up rewrites it whole.
    rig.restart();
    EXPECT_EQ(rig.messages.texts(), QStringList());
    const QString& journal = rig.s().TxtCHLK.text();
    ASSERT_EQ(journal.size(), kSize + 2);
    EXPECT_EQ(journal.right(6), QStringLiteral("А\r\nя\r\n"));
    QFile file(path);
    ASSERT_EQ(file.size(), kSize + 4);
    rig.reg->journal().append(u"\r\nчек");
    rig.reg->close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly) && file.size() == kSize + 9);
    EXPECT_EQ(file.read(4096), QByteArray(4096, '\0'));
    ASSERT_TRUE(file.seek(kSize - 4));
    EXPECT_EQ(file.readAll(), QByteArray("\xc0\r\n\xff\r\n\r\n\xf7\xe5\xea\r\n"));
    file.remove();
}

} // namespace
} // namespace tarvel::test
