#include "storage/tapes.h"
#include "support/fakes.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

class StorageFiles : public testing::Test {
  protected:
    TempDataDir files;
    RecordingMessages messages;
    PanelState panel;
    JournalLoad load() { return LoadTapes(panel, files.dataDir(), messages).journal; }
};

// An empty header file gives an empty tape; the journal is appended to what the journal holds,
// and a journal of k lines is saved as k + 1.
TEST_F(StorageFiles, LoadTapesThenSaveJournal) {
    files.writeBytes(kHeaderFileName, {});
    files.writeText(kJournalFileName, QStringLiteral("a\r\nб\r\n"));
    panel.TxtCHL.setText(kDefaultHeader);
    panel.TxtCHLK.setText(QStringLiteral("old"));
    EXPECT_EQ(load(), JournalLoad::Loaded);
    EXPECT_EQ(panel.TxtCHL.text(), QString());
    EXPECT_EQ(panel.TxtCHLK.text(), QStringLiteral("olda\r\nб\r\n"));
    panel.TxtCHLK.setText(QStringLiteral("a\r\nб\r\n"));
    ASSERT_TRUE(SaveJournal(panel, files.dataDir(), messages));
    EXPECT_EQ(files.readText(kJournalFileName), QStringLiteral("a\r\nб\r\n\r\n"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

// An unreadable journal is kept apart from a missing one, so that it is never written over.
TEST_F(StorageFiles, MissingAndUnreadableFilesAreTold) {
    EXPECT_EQ(load(), JournalLoad::Missing);
    ASSERT_TRUE(QDir(files.path({})).mkdir(kJournalFileName));
    EXPECT_EQ(load(), JournalLoad::Unreadable);
    EXPECT_EQ(messages.texts(), QStringList(4, kCannotFindFile));
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Tarvel"));
}

// Tests run as root, so the targets are a path under a regular file and a directory.
TEST_F(StorageFiles, UnwritableJournalIsToldByNameAndReason) {
    files.writeBytes(QStringLiteral("plain"), "x");
    EXPECT_FALSE(SaveJournal(panel, DataDir(files.path(QStringLiteral("plain"))), messages));
    ASSERT_TRUE(QDir(files.path({})).mkdir(kJournalFileName));
    EXPECT_FALSE(SaveJournal(panel, files.dataDir(), messages));
    ASSERT_EQ(messages.shown.size(), 2);
    for (const QString& told : messages.texts())
        EXPECT_TRUE(told.startsWith(QStringLiteral("Не удалось записать файл")) &&
                    told.contains(kJournalFileName) && told.contains(QStringLiteral("каталог")))
            << told.toStdString();
}

} // namespace
