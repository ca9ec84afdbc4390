#include "storage/codepage.h"
#include "storage/tapes.h"
#include "storage/text_files.h"
#include "support/fakes.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

struct LineCase {
    const char* name;
    const char16_t* file;
    const char16_t* tape;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class TapeLineRules : public testing::TestWithParam<LineCase> {};

TEST_P(TapeLineRules, RebuildLineByLine) {
    EXPECT_EQ(rebuildTapeText(QStringView(GetParam().file)), QString::fromUtf16(GetParam().tape));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TapeLineRules,
    testing::Values(LineCase{"empty", u"", u""}, LineCase{"crlf", u"a\r\nb\r\n", u"a\r\nb\r\n"},
                    LineCase{"last_line_open", u"a\r\nb", u"a\r\nb\r\n"},
                    LineCase{"lone_cr_ends_a_line", u"a\rb\r", u"a\r\nb\r\n"},
                    LineCase{"lf_stays_in_line", u"a\nb\n", u"a\nb\n\r\n"},
                    LineCase{"empty_lines_kept", u"\r\n\r\nx\r\n", u"\r\n\r\nx\r\n"},
                    LineCase{"cr_cr_lf", u"a\r\r\n", u"a\r\n\r\n"},
                    LineCase{"lf_after_crlf", u"a\r\n\nb", u"a\r\n\nb\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Codepage, RoundTripsCyrillicAndNamesWhatItCannotStore) {
    const QString text = QStringLiteral("ИП ТОРБИН Т.Т. ёЁ №");
    const EncodedText enc = encodeWindows1251(text);
    EXPECT_TRUE(enc.unencodable.isEmpty());
    EXPECT_EQ(enc.bytes.size(), text.size());
    EXPECT_EQ(decodeWindows1251(enc.bytes), text);

    const EncodedText bad = encodeWindows1251(QStringLiteral("Цена ☺ 5 € ☺ 😀"));
    EXPECT_EQ(bad.unencodable, QStringLiteral("☺😀")); // € is in windows-1251
    EXPECT_EQ(decodeWindows1251(bad.bytes), QStringLiteral("Цена ? 5 € ? ?"));
}

class StorageTest : public testing::Test {
protected:
    TempDataDir files;
    RecordingMessages messages;
    PanelState panel;
};

TEST_F(StorageTest, LoadTapesReadsHeaderAndAppendsJournal) {
    files.writeText(kHeaderFileName, QStringLiteral("Шапка\r\nвторая"));
    files.writeText(kJournalFileName, QStringLiteral("j1\r\nj2\r\n"));
    panel.TxtCHLK.setText(QStringLiteral("old"));
    const TapesLoad load = LoadTapes(panel, files.dataDir(), messages);
    EXPECT_EQ(panel.TxtCHL.text(), QStringLiteral("Шапка\r\nвторая\r\n"));
    EXPECT_EQ(load.header, panel.TxtCHL.text());
    EXPECT_EQ(panel.TxtCHLK.text(), QStringLiteral("oldj1\r\nj2\r\n"));
    EXPECT_EQ(load.journal, JournalLoad::Loaded);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(StorageTest, EmptyHeaderFileGivesEmptyTapeWithoutMessage) {
    files.writeBytes(kHeaderFileName, {});
    files.writeBytes(kJournalFileName, {});
    LoadTapes(panel, files.dataDir(), messages);
    EXPECT_EQ(panel.TxtCHL.text(), QString());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(StorageTest, MissingHeaderStillLoadsTheJournal) {
    panel.TxtCHL.setText(kDefaultHeader);
    files.writeText(kJournalFileName, QStringLiteral("чек\r\n"));
    const TapesLoad load = LoadTapes(panel, files.dataDir(), messages);
    EXPECT_EQ(messages.texts(), QStringList{kCannotFindFile});
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Tarvel"));
    EXPECT_EQ(panel.TxtCHL.text(), kDefaultHeader);
    EXPECT_FALSE(load.header);
    EXPECT_EQ(panel.TxtCHLK.text(), QStringLiteral("чек\r\n"));
}

TEST_F(StorageTest, MissingOrUnreadableJournalIsToldAndKeptApart) {
    files.writeDefaults();
    files.remove(kJournalFileName);
    EXPECT_EQ(LoadTapes(panel, files.dataDir(), messages).journal, JournalLoad::Missing);
    EXPECT_EQ(messages.texts(), QStringList{kCannotFindFile});

    QDir(files.path({})).mkdir(kJournalFileName); // a directory where the file should be
    EXPECT_EQ(LoadTapes(panel, files.dataDir(), messages).journal, JournalLoad::Unreadable);
}

TEST_F(StorageTest, JournalOfKLinesIsSavedAsKPlusOne) {
    files.writeDefaults();
    files.writeText(kJournalFileName, QStringLiteral("a\r\nб\r\nc\r\n"));
    LoadTapes(panel, files.dataDir(), messages);
    ASSERT_TRUE(SaveJournal(panel, files.dataDir(), messages));
    EXPECT_EQ(files.readText(kJournalFileName), QStringLiteral("a\r\nб\r\nc\r\n\r\n"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(StorageTest, UnwritableJournalIsToldAndOldFileStaysWhole) {
    // Tests run as root, where permissions stop nothing: put the file under a regular file.
    files.writeBytes(QStringLiteral("plain"), "x");
    panel.TxtCHLK.setText(QStringLiteral("чек"));
    EXPECT_FALSE(SaveJournal(panel, DataDir(files.path(QStringLiteral("plain"))), messages));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(kJournalFileName));
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("Не удалось записать файл")));

    QDir(files.path({})).mkdir(kJournalFileName);
    EXPECT_FALSE(SaveJournal(panel, files.dataDir(), messages));
    EXPECT_EQ(messages.shown.size(), 2);
}

TEST_F(StorageTest, HeaderSaveRoundTrips) {
    struct Case {
        QString typed;
        QString reloaded;
    } cases[] = {
        {QStringLiteral("a\r\nb\r\n"), QStringLiteral("a\r\nb\r\n\r\n")}, // two lines give three
        {QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb\r\n")},         // no final CR LF
        {kDefaultHeader, kDefaultHeader + QStringLiteral("\r\n")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(saveHeader(files.dataDir(), c.typed), QString());
        EXPECT_EQ(files.readText(kHeaderFileName), c.typed + QStringLiteral("\r\n"));
        EXPECT_EQ(readHeader(files.dataDir()), c.reloaded);
    }
}

TEST_F(StorageTest, HeaderSaveRefusesCharactersOutsideTheCodePage) {
    files.writeText(kHeaderFileName, QStringLiteral("старое\r\n"));
    const QString message = saveHeader(files.dataDir(), QStringLiteral("Магазин ☺\r\n"));
    EXPECT_TRUE(message.contains(QStringLiteral("☺")));
    EXPECT_EQ(files.readText(kHeaderFileName), QStringLiteral("старое\r\n"));
}

TEST_F(StorageTest, HeaderSaveToADirectoryNamesFileAndReason) {
    QDir(files.path({})).mkdir(kHeaderFileName);
    const QString message = saveHeader(files.dataDir(), QStringLiteral("x"));
    EXPECT_TRUE(message.contains(kHeaderFileName));
    EXPECT_TRUE(message.contains(QStringLiteral("каталог")));
}

} // namespace
