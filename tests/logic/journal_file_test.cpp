#include "storage/codepage.h"
#include "storage/journal_file.h"
#include "storage/text_files.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace tarvel;
using namespace tarvel::test;

namespace {

// What bazasmen.txt must hold at every moment: the journal as the close writes it.
QByteArray closeBytes(const QString& journal) {
    return encodeWindows1251(journal).bytes + QByteArrayLiteral("\r\n");
}

// The inode of a file: unchanged by appends, new after a write through a temporary file.
quint64 inodeOf(const QString& path) {
#ifdef Q_OS_LINUX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return st.st_ino;
#else
    Q_UNUSED(path);
    return 0;
#endif
}

const QString kReceipt = QStringLiteral("\r\n   ИП ТОРБИН Т.Т.\r\n ИНН 771313131313\r\n"
                                        "******************\r\n\r\n 01  150 руб\r\nИТОГО\r\n"
                                        "150руб\r\nКАССИР ______\r\n          /_______/\r\n"
                                        "******************\r\n05.12.2026 21:30:15\r\n"
                                        "******************");

// The journal and its file at storage level: what the register does at start-up and on each
// journal append, without the keys.
struct JournalRig {
    TempDataDir files;
    RecordingMessages messages;
    PanelState panel;
    JournalFile file{files.path(kJournalFileName)};

    QString start() {
        const TapesLoad load = LoadTapes(panel, files.dataDir(), messages);
        return file.start(load, panel.TxtCHLK.text());
    }
    QString append(const QString& piece) {
        panel.TxtCHLK.append(piece);
        return file.append(piece, panel.TxtCHLK.text());
    }
    QByteArray bytes() const { return files.readBytes(kJournalFileName); }
    QString path() const { return files.path(kJournalFileName); }
};

struct StartCase {
    const char* name;
    std::optional<QByteArray> file; // nothing: no file at all (the first run)
    QString journal;                // the journal after start-up
    bool appendedInPlace;           // the file was brought up to date by an append
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.name;
}

class JournalStart : public testing::TestWithParam<StartCase> {};

// Whatever the file held, after start-up it holds the journal and CR LF, and every journal
// append keeps it so, as appends to the same file.
TEST_P(JournalStart, FileEqualsJournalAfterStartAndEveryAppend) {
    const StartCase& c = GetParam();
    JournalRig rig;
    rig.files.writeDefaults();
    if (c.file)
        rig.files.writeBytes(kJournalFileName, *c.file);
    else
        rig.files.remove(kJournalFileName);
    const quint64 inodeBefore = inodeOf(rig.path());

    EXPECT_EQ(rig.start(), QString());
    EXPECT_EQ(rig.panel.TxtCHLK.text(), c.journal);
    EXPECT_EQ(rig.bytes(), closeBytes(c.journal));
    EXPECT_EQ(rig.file.state(), JournalFile::State::Live);
    if (c.appendedInPlace) {
        EXPECT_EQ(inodeOf(rig.path()), inodeBefore);
    }

    const quint64 inodeLive = inodeOf(rig.path());
    for (const QString& piece :
         {kReceipt, QStringLiteral("\r\n ИС  1250.5 руб"), QStringLiteral("\r\nИС  0 руб"),
          kReceipt + QStringLiteral("\r\n СДАЧА  299 руб")}) {
        EXPECT_EQ(rig.append(piece), QString());
        EXPECT_EQ(rig.bytes(), closeBytes(rig.panel.TxtCHLK.text()));
    }
    EXPECT_EQ(inodeOf(rig.path()), inodeLive) << "appends must not rewrite the file";
}

INSTANTIATE_TEST_SUITE_P(
    Files, JournalStart,
    testing::Values(
        StartCase{"first_run_no_file", std::nullopt, QString(), false},
        StartCase{"empty_file", QByteArray(), QString(), true},
        StartCase{"written_by_the_register", encodeWindows1251(u"чек 1\r\n\r\nчек 2\r\n").bytes,
                  QStringLiteral("чек 1\r\n\r\nчек 2\r\n"), true},
        StartCase{"no_final_crlf", QByteArray("a\r\nb"), QStringLiteral("a\r\nb\r\n"), false},
        StartCase{"lone_lf", QByteArray("a\nb\r\n"), QStringLiteral("a\nb\r\n"), true},
        StartCase{"lone_cr", QByteArray("a\rb\r\n"), QStringLiteral("a\r\nb\r\n"), false},
        StartCase{"cr_cr_lf", QByteArray("a\r\r\n"), QStringLiteral("a\r\n\r\n"), false}),
    [](const auto& info) { return std::string(info.param.name); });

// Random pieces, some with characters the code page lacks and some without their leading
// CR LF: the file still equals the journal after each one.
TEST(JournalFile, AnySequenceOfAppendsKeepsTheFileEqualToTheJournal) {
    const QString alphabet = QStringLiteral("a Я1.\r\n☺€") + QString::fromUtf16(u"😀");
    std::mt19937 random(7);
    for (int run = 0; run < 16; ++run) {
        JournalRig rig;
        rig.files.writeDefaults();
        rig.files.writeBytes(kJournalFileName, run % 2 ? QByteArray("old\r\n") : QByteArray());
        ASSERT_EQ(rig.start(), QString());
        for (int step = 0; step < 6; ++step) {
            QString piece = random() % 5 ? kCrLf.toString() : QString();
            for (int k = int(random() % 12); k > 0; --k)
                piece += alphabet.mid(qsizetype(random() % alphabet.size()), 1);
            EXPECT_EQ(rig.append(piece), QString());
            ASSERT_EQ(rig.bytes(), closeBytes(rig.panel.TxtCHLK.text())) << run << "/" << step;
        }
    }
}

TEST(JournalFile, CharactersOutsideTheCodePageAreStoredAsQuestionMarks) {
    // Only the foreign character itself: the letters after it keep their bytes.
    EXPECT_EQ(encodeWindows1251(u"☺€Яё☺").bytes, QByteArray("?\x88\xDF\xB8?"));

    JournalRig rig;
    rig.files.writeDefaults();
    rig.start();
    rig.append(QStringLiteral("\r\nМагазин ☺"));
    EXPECT_EQ(rig.panel.TxtCHLK.text(), QStringLiteral("\r\nМагазин ☺"));
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("\r\nМагазин ?\r\n"));
    // Half of a surrogate pair is one unstorable character, also at the end of a piece; the
    // line end after it stays.
    rig.append(QStringLiteral("\r\n") + QChar(0xD83D) + QStringLiteral("\r\nx") + QChar(0xD83D));
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("\r\nМагазин ?\r\n?\r\nx?\r\n"));
    EXPECT_EQ(rig.bytes(), closeBytes(rig.panel.TxtCHLK.text()));
}

TEST(JournalFile, ExistingUnreadableJournalIsNeverWritten) {
    RegisterRig rig(QLatin1Char('.'), false);
    rig.files.remove(kJournalFileName);
    ASSERT_TRUE(QDir(rig.files.path({})).mkdir(kJournalFileName));
    rig.restart();
    ASSERT_EQ(rig.messages.shown.size(), 2);
    EXPECT_EQ(rig.messages.shown[0].text, kCannotFindFile);
    const QString told = rig.messages.shown[1].text;
    EXPECT_TRUE(told.contains(kJournalFileName)) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("только в памяти"))) << told.toStdString();

    rig.reg->journalAppend(kReceipt);
    rig.reg->journalAppend(kReceipt);
    EXPECT_EQ(rig.s().TxtCHLK.text(), kReceipt + kReceipt);
    rig.reg->Form_Unload();
    EXPECT_EQ(rig.messages.shown.size(), 2);
    EXPECT_TRUE(QFileInfo(rig.files.path(kJournalFileName)).isDir());
}

TEST(JournalFile, CloseWithoutStartUpLeavesTheStoredJournalAlone) {
    RegisterRig rig(QLatin1Char('.'), false);
    rig.files.writeText(kJournalFileName, QStringLiteral("старый чек\r\n"));
    rig.reg->journalAppend(kReceipt);
    rig.reg->Form_Unload();
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("старый чек\r\n"));
}

// A kill at any moment leaves the file as a close at that moment would have: the next run
// finds every closed receipt, with the same one extra empty line a close adds.
TEST(JournalFile, ReceiptsSurviveARegisterThatNeverClosed) {
    RegisterRig rig;
    rig.reg->journalAppend(kReceipt);
    rig.reg->journalAppend(QStringLiteral("\r\n ИС  150 руб"));
    const QString before = rig.s().TxtCHLK.text();
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(before));

    rig.restart(); // no Form_Unload: the process was killed
    EXPECT_EQ(rig.s().TxtCHLK.text(), before + QStringLiteral("\r\n"));
    EXPECT_TRUE(rig.messages.shown.isEmpty());
    rig.reg->Form_Unload();
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(before + QStringLiteral("\r\n")));
}

struct Interference {
    const char* name;
    void (*act)(const TempDataDir& files);
    const char* reason;
};

void PrintTo(const Interference& c, std::ostream* os) {
    *os << c.name;
}

class JournalAppendFails : public testing::TestWithParam<Interference> {};

// The file changes behind the register's back: the trainee is told once, nothing is appended
// to a file that no longer matches, and the close writes the whole journal.
TEST_P(JournalAppendFails, ToldOnceThenWrittenWholeAtClose) {
    RegisterRig rig;
    rig.reg->journalAppend(kReceipt);
    GetParam().act(rig.files);
    const QByteArray afterInterference = rig.files.readBytes(kJournalFileName);

    rig.reg->journalAppend(kReceipt);
    rig.reg->journalAppend(kReceipt);
    ASSERT_EQ(rig.messages.shown.size(), 1);
    const QString told = rig.messages.shown[0].text;
    EXPECT_TRUE(told.startsWith(QStringLiteral("Не удалось записать файл"))) << told.toStdString();
    EXPECT_TRUE(told.contains(kJournalFileName));
    EXPECT_TRUE(told.contains(QString::fromUtf8(GetParam().reason))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("при её выключении")));
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), afterInterference);

    rig.reg->Form_Unload();
    EXPECT_EQ(rig.messages.shown.size(), 1);
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes(kReceipt + kReceipt + kReceipt));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, JournalAppendFails,
    testing::Values(Interference{"removed",
                                 [](const TempDataDir& f) { f.remove(kJournalFileName); },
                                 "файл удалён"},
                    Interference{"edited",
                                 [](const TempDataDir& f) { f.writeBytes(kJournalFileName, "x"); },
                                 "изменён другой программой"}),
    [](const auto& info) { return std::string(info.param.name); });

#ifdef Q_OS_LINUX
// A full disk, made by a file size limit: the failed append is taken back, told once, and the
// close writes the journal once there is room again.
TEST(JournalFile, FullDiskLeavesNoHalfReceiptAndIsToldOnce) {
    JournalRig rig;
    rig.files.writeDefaults();
    ASSERT_EQ(rig.start(), QString());
    ASSERT_EQ(rig.append(kReceipt), QString());
    const QByteArray before = rig.bytes();

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = rlim_t(before.size() + 10);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const QString told = rig.append(kReceipt);
    const QString second = rig.append(kReceipt);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(told.contains(kJournalFileName)) << told.toStdString();
    EXPECT_EQ(second, QString());
    EXPECT_EQ(rig.file.state(), JournalFile::State::AtCloseOnly);
    EXPECT_EQ(rig.bytes(), before);
    ASSERT_TRUE(SaveJournal(rig.panel, rig.files.dataDir(), rig.messages));
    EXPECT_EQ(rig.bytes(), closeBytes(rig.panel.TxtCHLK.text()));
}
#endif

TEST(JournalFile, UnwritableDirectoryAtStartIsToldAndLeftToTheClose) {
    RecordingMessages messages;
    TempDataDir files;
    files.writeBytes(QStringLiteral("plain"), "x"); // a "directory" that is a regular file
    JournalFile file(files.path(QStringLiteral("plain/") + kJournalFileName));
    const QString told = file.start(TapesLoad{}, u"");
    EXPECT_TRUE(told.startsWith(QStringLiteral("Не удалось записать файл")));
    EXPECT_EQ(file.state(), JournalFile::State::AtCloseOnly);
    EXPECT_TRUE(file.writtenAtClose());
    EXPECT_EQ(file.append(kReceipt, kReceipt), QString()); // told once only
}

TEST(TapeBytes, CanonicalOnlyWhenTheFileRebuildsToItself) {
    const struct {
        QByteArray bytes;
        bool canonical;
    } cases[] = {
        {"", true},
        {"\r\n", true},
        {"a\r\n\r\nb\r\n", true},
        {"a\nb\r\n", true},
        {"a", false},
        {"a\r\nb", false},
        {"a\r", false},
        {"a\rb\r\n", false},
        {"a\r\r\n", false},
        {"\n", false},
        {"\xC0\x98\xFF\r\n", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isCanonicalTapeBytes(c.bytes), c.canonical) << c.bytes.toStdString();
        const QString decoded = decodeWindows1251(c.bytes);
        const QString rebuilt = rebuildTapeText(decoded);
        EXPECT_EQ(c.canonical, rebuilt == decoded && encodeWindows1251(rebuilt).bytes == c.bytes)
            << c.bytes.toStdString();
    }
}

// The check reads sixteen bytes at a time: a lone CR is found wherever it stands.
TEST(TapeBytes, LoneCrFoundAtEveryPositionOfALongFile) {
    for (qsizetype at = 0; at < 48; ++at) {
        QByteArray bytes(48, 'a');
        bytes.append("\r\n");
        EXPECT_TRUE(isCanonicalTapeBytes(bytes));
        bytes[at] = '\r';
        EXPECT_FALSE(isCanonicalTapeBytes(bytes)) << at;
        bytes.insert(at + 1, '\n');
        EXPECT_TRUE(isCanonicalTapeBytes(bytes)) << at;
    }
}

TEST(TapeBytes, LoadTellsWhetherTheJournalIsTheFileAsItIs) {
    JournalRig rig;
    rig.files.writeDefaults();
    rig.files.writeBytes(kJournalFileName, "a\r\n");
    EXPECT_TRUE(LoadTapes(rig.panel, rig.files.dataDir(), rig.messages).journalMatchesFile);
    // A second load appends to a journal that is no longer empty.
    EXPECT_FALSE(LoadTapes(rig.panel, rig.files.dataDir(), rig.messages).journalMatchesFile);
    EXPECT_EQ(rig.panel.TxtCHLK.text(), QStringLiteral("a\r\na\r\n"));
}

} // namespace
