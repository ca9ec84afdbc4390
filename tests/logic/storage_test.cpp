#include "storage/tapes.h"
#include "support/fakes.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// An empty header file gives an empty tape. The journal is appended to what the journal holds,
// so it is no longer the file as it is and may not be kept up by appends to the file.
TEST(Storage, LoadTapesTakesTheFilesAsTheyAre) {
    TempDataDir files;
    RecordingMessages messages;
    PanelState panel;
    files.writeBytes(kHeaderFileName, {});
    files.writeText(kJournalFileName, QStringLiteral("a\r\nб\r\n"));
    panel.TxtCHLK.setText(QStringLiteral("old"));
    const TapesLoad load = LoadTapes(panel, files.dataDir(), messages);
    EXPECT_TRUE(load.journal == JournalLoad::Loaded && !load.journalMatchesFile);
    EXPECT_EQ(panel.TxtCHL.text(), QString());
    EXPECT_EQ(panel.TxtCHLK.text(), QStringLiteral("olda\r\nб\r\n"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

// A failed close is told by file name and reason, not taken for a saved journal.
TEST(Storage, FailedJournalSaveIsToldByNameAndReason) {
    TempDataDir files;
    RecordingMessages messages;
    files.writeBytes(QStringLiteral("plain"), "x"); // a regular file where the folder should be
    const DataDir dir(files.path(QStringLiteral("plain")));
    EXPECT_FALSE(SaveJournal(PanelState(), dir, messages));
    EXPECT_EQ(messages.texts().join(u'|'),
              "Не удалось записать файл " +
                  QDir::toNativeSeparators(dir.filePath(kJournalFileName)) +
                  ": нет такого каталога\nЖурнал (контрольная лента) не сохранён.");
}

// A tape file is taken as it is when its line breaks are the register's: every byte of the code
// page decodes to a character that encodes back to that byte.
TEST(Storage, EveryByteComesBackThroughTheCodePage) {
    for (int b = 0; b < 256; ++b) {
        const char c = char(b);
        EXPECT_EQ(encodeWindows1251(decodeWindows1251(QByteArrayView(&c, 1))).bytes,
                  QByteArray(1, c))
            << b;
    }
}

} // namespace
