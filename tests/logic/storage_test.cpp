// The journal file under the faults a real disk has: each is told with its true cause, the
// receipts wait in memory, and the next receipt after the fault is gone brings the file back.

#include "storage/data_location.h"
#include "storage/folder_lock.h"
#include "storage/journal_file.h"
#include "storage/text_files.h"
#include "support/disk_faults.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QSysInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// Longer than a page of memory, so that it never fits in what a full disk has left in the
// file's last page.
const QString kLongReceipt = kReceipt.repeated(200);

bool canActAsNobody() {
    return AsNobody().active();
}

struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// A started register whose folder is a 1 MiB disk of its own.
struct DiskRig {
    RegisterRig rig{QLatin1Char('.'), false};
    SmallDisk disk{rig.files.folder(), 1 << 20};
    QString journalPath = rig.files.path(kJournalFileName);

    bool start() {
        if (!disk.mounted()) return false;
        rig.files.writeDefaults();
        rig.restart();
        return true;
    }
    QByteArray fileBytes() const { return rig.files.readBytes(kJournalFileName); }
    QString journal() { return rig.s().TxtCHLK.text(); }
};

struct Fault : NamedRow {
    QString reason;                     // as the trainee reads it
    std::function<bool(DiskRig&)> make; // false: cannot be made here
    std::function<void(DiskRig&)> lift; // the fault gone again
    bool asNobody = false;              // the register runs as an ordinary user
};

class JournalUnderFault : public testing::TestWithParam<Fault> {};

// One receipt on disk, the fault, two long receipts (told once), the fault gone, one more
// receipt: the file holds all four.
TEST_P(JournalUnderFault, IsToldWithItsCauseAndMendedByTheNextReceipt) {
    const Fault& fault = GetParam();
    DiskRig d;
    if (!d.start()) GTEST_SKIP() << "no tmpfs can be mounted here";
    d.rig.reg->journalAppend(kReceipt);
    if (!fault.make(d)) GTEST_SKIP() << "the fault cannot be made here";
    {
        std::optional<AsNobody> user;
        if (fault.asNobody) user.emplace();
        d.rig.reg->journalAppend(kLongReceipt);
        d.rig.reg->journalAppend(kLongReceipt);
    }
    ASSERT_EQ(d.rig.messages.texts().size(), 1) << d.rig.messages.texts().join('|').toStdString();
    EXPECT_TRUE(d.rig.messages.texts().first().startsWith("Не удалось записать файл " +
                                                          QDir::toNativeSeparators(d.journalPath) +
                                                          ": " + fault.reason + "\n"))
        << d.rig.messages.texts().first().toStdString();
    fault.lift(d);
    d.rig.reg->journalAppend(kReceipt);
    const QString all = kReceipt + kLongReceipt + kLongReceipt + kReceipt;
    EXPECT_EQ(d.fileBytes(), closeBytes(all));
    d.rig.reg->Form_Unload();
    EXPECT_EQ(d.fileBytes(), closeBytes(all));
    EXPECT_EQ(d.rig.messages.texts().size(), 1);
}

const Fault kFaults[] = {
    {"DiskFull", "нет места на диске",
     [](DiskRig& d) {
         d.disk.fill("filler");
         return true;
     },
     [](DiskRig& d) { d.rig.files.remove("filler"); }},
    {"DiskReadOnly", "диск доступен только для чтения",
     [](DiskRig& d) { return d.disk.remount(true); }, [](DiskRig& d) { d.disk.remount(false); }},
    {"FileMarkedUnchangeable", "нет прав доступа",
     [](DiskRig& d) { return setImmutable(d.journalPath, true); },
     [](DiskRig& d) { setImmutable(d.journalPath, false); }},
    {"NoWritePermission", "нет прав доступа",
     [](DiskRig& d) { return canActAsNobody() && ::chmod(qPrintable(d.journalPath), 0644) == 0; },
     [](DiskRig&) {}, true},
    {"FileRemoved", "файл не найден", [](DiskRig& d) { return QFile::remove(d.journalPath); },
     [](DiskRig&) {}},
    {"FileChangedElsewhere", "файл изменён другой программой",
     [](DiskRig& d) {
         d.rig.files.writeBytes(kJournalFileName, "x");
         return true;
     },
     [](DiskRig&) {}},
};

INSTANTIATE_TEST_SUITE_P(Faults, JournalUnderFault, testing::ValuesIn(kFaults), rowName);

// Where the file already holds every receipt, the close has nothing to write: it tells
// nothing, and the file keeps its bytes, its inode and its hard links.
struct CloseCase : NamedRow {
    std::function<bool(DiskRig&)> make;
    bool asNobody = false;
};

class CloseWithTheJournalOnDisk : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseWithTheJournalOnDisk, WritesNothingAndTellsNothing) {
    DiskRig d;
    if (!d.start()) GTEST_SKIP() << "no tmpfs can be mounted here";
    d.rig.reg->journalAppend(kReceipt);
    const QString link = d.rig.files.path("link.txt");
    ASSERT_TRUE(::link(qPrintable(d.journalPath), qPrintable(link)) == 0);
    const ino_t inode = statOf(d.journalPath).st_ino;
    if (!GetParam().make(d)) GTEST_SKIP() << "the case cannot be made here";
    {
        std::optional<AsNobody> user;
        if (GetParam().asNobody) user.emplace();
        d.rig.reg->Form_Unload();
    }
    EXPECT_EQ(d.rig.messages.texts(), QStringList());
    EXPECT_EQ(d.fileBytes(), closeBytes(kReceipt));
    EXPECT_EQ(statOf(d.journalPath).st_ino, inode);
    EXPECT_EQ(d.rig.files.readBytes("link.txt"), closeBytes(kReceipt));
}

const CloseCase kCloseCases[] = {
    {"DiskFull",
     [](DiskRig& d) {
         d.disk.fill("filler");
         return true;
     }},
    {"FolderTakesNoNewFile",
     [](DiskRig& d) { return canActAsNobody() && ::chmod(qPrintable(d.journalPath), 0666) == 0; },
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, CloseWithTheJournalOnDisk, testing::ValuesIn(kCloseCases), rowName);

// A journal edited by hand is rewritten once at start-up into the register's form: in place
// where the folder takes no new file, and keeping the file's owner and mode.
TEST(JournalRewrite, KeepsOwnerAndModeAndWorksInAFolderThatTakesNoNewFile) {
    for (const bool folderWritable : {true, false}) {
        SCOPED_TRACE(folderWritable ? "folder writable" : "folder takes no new file");
        RegisterRig rig(QLatin1Char('.'), false);
        const QString path = rig.files.path(kJournalFileName);
        rig.files.writeBytes(kJournalFileName, "a\rb");
        if (!canActAsNobody()) GTEST_SKIP() << "needs root";
        ASSERT_EQ(::chown(qPrintable(path), AsNobody::uid(), AsNobody::uid()), 0);
        ASSERT_EQ(::chmod(qPrintable(path), folderWritable ? 0640 : 0660), 0);
        ASSERT_EQ(::chmod(qPrintable(rig.files.folder()), 0755), 0);
        {
            std::optional<AsNobody> user;
            if (!folderWritable) user.emplace();
            rig.restart();
            rig.reg->journalAppend(kReceipt);
            rig.reg->Form_Unload();
        }
        EXPECT_EQ(rig.messages.texts(), QStringList());
        EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes("a\r\nb\r\n" + kReceipt));
        const struct stat st = statOf(path);
        EXPECT_EQ(st.st_uid, AsNobody::uid());
        EXPECT_EQ(st.st_mode & 0777, folderWritable ? 0640u : 0660u);
    }
}

// The journal is read on a worker thread; should the file grow after it was read, start-up
// does not replace it by the shorter journal it read: the file keeps every byte, and the
// journal is kept in memory only.
TEST(JournalRewrite, StartUpNeverShortensTheFile) {
    TempDataDir files;
    const QByteArray grown = "a\rb\r\nwritten meanwhile";
    files.writeBytes(kJournalFileName, grown);
    JournalFile journal(files.path(kJournalFileName));
    const std::optional<FileError> error =
        journal.start(JournalLoad::Loaded, /*journalIsFileText=*/false, u"a\r\nb\r\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->reason, FileProblem::WouldShorten);
    EXPECT_EQ(files.readBytes(kJournalFileName), grown);
    EXPECT_FALSE(journal.close(u"a\r\nb\r\n\r\nчек")) << "memory only: nothing to write";
    EXPECT_EQ(files.readBytes(kJournalFileName), grown);
}

// One register per folder: a second lock on the folder is refused while the first is held,
// even when asked to take it over; the lock of a process that died is taken over.
TEST(FolderLockTest, OneHolderPerFolder) {
    TempDataDir files;
    const QString folder = files.folder();
    {
        FolderLock first(folder);
        ASSERT_EQ(first.take(), FolderLock::Outcome::Taken);
        FolderLock second(folder);
        EXPECT_EQ(second.take(), FolderLock::Outcome::HeldHere);
        EXPECT_EQ(second.takeOver(), FolderLock::Outcome::HeldHere);
        EXPECT_TRUE(QFile::exists(files.path("tarvel.lock")));
    }
    const pid_t child = ::fork(); // takes the lock and dies without letting it go
    if (child == 0) {
        FolderLock lock(folder);
        ::_exit(lock.take() == FolderLock::Outcome::Taken ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(files.path("tarvel.lock")));
    FolderLock afterCrash(folder);
    EXPECT_EQ(afterCrash.take(), FolderLock::Outcome::Taken);
}

// A folder that takes no new file (a full disk) is held by the user's own lock alone, and stays
// held when space comes back and its tarvel.lock could be made: a second copy started then is
// refused. A lock someone put at the shared temporary folder's name for it blocks nothing.
TEST(FolderLockTest, FullFolderStaysHeldWhenSpaceComesBack) {
    TempDataDir files;
    const SmallDisk disk(files.folder(), 256 << 10);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(files.folder()), QCryptographicHash::Sha1)
            .toHex();
    QLockFile squatter(QDir::temp().filePath("tarvel-" + hash + ".lock"));
    ASSERT_TRUE(squatter.tryLock(0));
    disk.fill("filler");
    FolderLock first(files.folder());
    EXPECT_EQ(first.take(), FolderLock::Outcome::Taken);
    EXPECT_FALSE(QFile::exists(files.path("tarvel.lock")));
    files.remove("filler");
    FolderLock second(files.folder());
    EXPECT_EQ(second.take(), FolderLock::Outcome::HeldHere);
}

// What a tarvel.lock found in the folder means. @host and @machine are this computer's name and
// machine id.
struct LeftLock : NamedRow {
    QByteArray content;
    FolderLock::Outcome outcome;
    const char* computer = ""; // for HeldElsewhere: the computer told of
};

class LockLeftInTheFolder : public testing::TestWithParam<LeftLock> {};

// A lock of another computer is told with its computer and time and taken over on request; one
// that cannot be read is taken over at once. Either way the folder ends up held by this one.
TEST_P(LockLeftInTheFolder, IsTakenOverOrToldOf) {
    const LeftLock& row = GetParam();
    TempDataDir files;
    QByteArray content = row.content;
    content.replace("@host", QSysInfo::machineHostName().toUtf8())
        .replace("@machine", QSysInfo::machineUniqueId());
    files.writeBytes("tarvel.lock", content);
    const QDateTime since(QDate(2026, 12, 5), QTime(21, 30));
    QFile file(files.path("tarvel.lock"));
    ASSERT_TRUE(file.open(QIODevice::Append) &&
                file.setFileTime(since, QFileDevice::FileModificationTime));
    file.close();

    FolderLock lock(files.folder());
    ASSERT_EQ(lock.take(), row.outcome);
    if (row.outcome == FolderLock::Outcome::HeldElsewhere) {
        EXPECT_EQ(lock.holder().computer,
                  QString(row.computer).replace("@host", QSysInfo::machineHostName()));
        EXPECT_EQ(lock.holder().since, since);
        EXPECT_EQ(lock.holder().pid, 4242);
        EXPECT_EQ(files.readBytes("tarvel.lock"), content);
        EXPECT_EQ(lock.takeOver(), FolderLock::Outcome::Taken);
    }
    const QByteArray now = files.readBytes("tarvel.lock");
    EXPECT_TRUE(now.startsWith(QByteArray::number(::getpid()) + "\n")) << now.toStdString();
}

const LeftLock kLeftLocks[] = {
    {{"Empty"}, "", FolderLock::Outcome::Taken},
    {{"Zeros"}, QByteArray(64, '\0'), FolderLock::Outcome::Taken},
    {{"CutShortInTheHostName"}, "4242\ntarvel\nkas", FolderLock::Outcome::Taken},
    {{"NoProcessNumber"}, "tarvel\n@host\n@machine\n", FolderLock::Outcome::Taken},
    {{"AnotherComputer"}, "4242\ntarvel\nkassa-7\n", FolderLock::Outcome::HeldElsewhere, "kassa-7"},
    // Set up from this computer's disk image: Qt alone would call its lock stale.
    {{"ComputerOfTheSameImage"},
     "4242\ntarvel\nkassa-7\n@machine\nboot\n",
     FolderLock::Outcome::HeldElsewhere,
     "kassa-7"},
    {{"ComputerOfTheSameName"},
     "4242\ntarvel\n@host\nother-machine\nboot\n",
     FolderLock::Outcome::HeldElsewhere,
     "@host"},
};

INSTANTIATE_TEST_SUITE_P(Locks, LockLeftInTheFolder, testing::ValuesIn(kLeftLocks), rowName);

// Another computer's lock is taken over only as it was told: one that another computer put
// there meanwhile stays, and is told of in turn.
TEST(FolderLockTest, TakesOverOnlyTheLockToldOf) {
    TempDataDir files;
    files.writeBytes("tarvel.lock", "4242\ntarvel\nkassa-7\n");
    FolderLock lock(files.folder());
    ASSERT_EQ(lock.take(), FolderLock::Outcome::HeldElsewhere);
    files.writeBytes("tarvel.lock", "5151\ntarvel\nkassa-9\n");
    EXPECT_EQ(lock.takeOver(), FolderLock::Outcome::HeldElsewhere);
    EXPECT_EQ(lock.holder().computer, "kassa-9");
    EXPECT_EQ(files.readBytes("tarvel.lock"), "5151\ntarvel\nkassa-9\n");
}

// The causes no test can make on demand, from the errno a failed call leaves.
TEST(FileProblems, CausesFromTheSystemsErrorNumbers) {
    TempDataDir files;
    const QString inFolder = files.path("f");
    const QString noFolder = files.path("none/f");
    const std::tuple<int, QString, QString> cases[] = {
        {EIO, inFolder, "ошибка ввода-вывода на диске"},
        {EDQUOT, inFolder, "нет места на диске"},
        {ENOENT, inFolder, "файл не найден"},
        {ENOENT, noFolder, "нет такого каталога"},
        // A name in windows-1251 read as UTF-8: each such byte becomes U+FFFD.
        {ENOENT, files.path("\uFFFD\uFFFD.toml"),
         "имя файла не в кодировке UTF-8, открыть его нельзя — переименуйте файл"},
        {EISDIR, inFolder, "на этом месте стоит каталог"},
        {ENAMETOOLONG, inFolder, "слишком длинный путь или имя файла"},
        {ELOOP, inFolder, "символические ссылки замыкаются в круг"},
        {EMFILE, inFolder, "системная ошибка 24"},
    };
    for (const auto& [error, path, text] : cases)
        EXPECT_EQ(reasonText({path, problemFromErrno(error, path), error}), text) << error;
}

// A file that cannot be reached is not simply "missing": a loop of links and a name longer
// than the system takes say so, for a file read and for a data folder to be made.
TEST(FileProblems, UnreachablePathsSayWhy) {
    TempDataDir files;
    QFile::link(files.path("b"), files.path("a"));
    QFile::link(files.path("a"), files.path("b"));
    const QString tooLong = files.path(QString(300, 'x'));
    const std::tuple<QString, FileProblem> cases[] = {
        {files.path("a"), FileProblem::LinkLoop},
        {tooLong, FileProblem::NameTooLong},
        {files.path("none"), FileProblem::FileMissing},
    };
    for (const auto& [path, problem] : cases) {
        const FileBytes read = readFileBytes(path);
        ASSERT_TRUE(read.error);
        EXPECT_EQ(read.error->reason, problem) << path.toStdString();
    }
    const DataFolderReady folder =
        prepareDataFolder({tooLong + "/Tarvel", DataFolderSource::Requested}, {});
    ASSERT_TRUE(folder.error && folder.error->cause);
    EXPECT_EQ(folder.error->cause->reason, FileProblem::NameTooLong);
}

// The code page converts sixteen characters at a time where it can and one by one elsewhere:
// what stands at or across the border of sixteen converts as anywhere else, and each character
// windows-1251 lacks is listed once.
struct Conversion : NamedRow {
    QString text;
    QByteArray bytes;
    QString unencodable;
};

class CodePage : public testing::TestWithParam<Conversion> {};

TEST_P(CodePage, EncodesAndDecodesOneByteForOneCharacter) {
    const Conversion& c = GetParam();
    const EncodedText encoded = encodeWindows1251(c.text);
    EXPECT_TRUE(encoded.bytes == c.bytes);
    EXPECT_EQ(encoded.unencodable, c.unencodable);
    if (c.unencodable.isEmpty()) {
        EXPECT_TRUE(decodeWindows1251(c.bytes) == c.text);
    }
}

QByteArray everyByte() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

const QChar kHigh(0xD83D), kLow(0xDE00); // the halves of 😀

const Conversion kConversions[] = {
    {"EveryByteComesBack", *decodeWindows1251(everyByte()), everyByte(), ""},
    {"PairAcrossTheSixteenBorder", QString(15, u'a') + QStringLiteral("😀б"),
     QByteArray(15, 'a') + "?\xe1", QStringLiteral("😀")},
    {"LettersOfTheTableAmongRussianOnes", QStringLiteral("Ёлка № 5 за 20 €, чай\u00a0Ωмега Ω!"),
     "\xa8\xeb\xea\xe0 \xb9 5 \xe7\xe0 20 \x88, \xf7\xe0\xe9\xa0?\xec\xe5\xe3\xe0 ?!",
     QStringLiteral("Ω")},
    {"RussianAlphabetEnds", QStringLiteral("аАяЯ-АБВГДЕЖЗИЙКЛМНОП"),
     "\xe0\xc0\xff\xdf-\xc0\xc1\xc2\xc3\xc4\xc5\xc6\xc7\xc8\xc9\xca\xcb\xcc\xcd\xce\xcf", ""},
    {"TableCharactersBesideTheAlphabetSixteenAtATime",
     QString(16, QChar(0x0457)) + QString(16, QChar(0x0410)) + QString(16, QChar(0x007F)) +
         QString(16, QChar(0x040F)) + QString(16, QChar(0x0098)),
     QByteArray(16, '\xbf') + QByteArray(16, '\xc0') + QByteArray(16, '\x7f') +
         QByteArray(16, '\x8f') + QByteArray(16, '\x98'),
     ""},
    {"ForeignBesideTheAlphabetSixteenAtATime",
     QString(16, QChar(0x0450)) + QString(16, QChar(0x0080)) + QString(16, QChar(0x0400)),
     QByteArray(48, '?'), QStringLiteral("\u0450\u0080\u0400")},
    {"HalfPairAtTheEnd", QStringLiteral("a") + kHigh, "a?", QString(kHigh)},
    {"LowHalfKeepsTheLineEndAfterIt", QString(kLow) + QStringLiteral("\r\n"), "?\r\n",
     QString(kLow)},
    {"HalvesThatSpellAListedPair", QString(kHigh) + u'x' + kLow + kHigh + kLow + kHigh, "?x???",
     QString(kHigh) + kLow},
};

INSTANTIATE_TEST_SUITE_P(Texts, CodePage, testing::ValuesIn(kConversions), rowName);

// The program's table against the converter it replaced (ICU's, through Qt): each byte read
// alike, alone and among others, and each UTF-16 unit written alike, sixteen times over so
// that it meets the sixteen-wide path too. Where a character cannot be stored, the converter
// reports an error or writes nothing (half a pair waits for its other half); the program writes
// "?" and lists it. Qt without ICU has no such converter, and this test has nothing to compare.
TEST(CodePageTable, AgreesWithTheSystemsConverter) {
    if (!QStringDecoder("windows-1251").isValid()) GTEST_SKIP() << "no windows-1251 in this Qt";
    EXPECT_EQ(*decodeWindows1251(everyByte()), QStringDecoder("windows-1251").decode(everyByte()));
    QStringList differences;
    for (int b = 0; b < 256; ++b) {
        const QByteArray sixteen(16, char(b));
        if (decodeWindows1251(sixteen) != QStringDecoder("windows-1251").decode(sixteen))
            differences += QStringLiteral("byte %1").arg(b, 2, 16);
    }
    for (int unit = 0; unit < 0x10000; ++unit) {
        const QChar c{char16_t(unit)};
        QStringEncoder encoder("windows-1251");
        const QByteArray byte = encoder.encode(QStringView(&c, 1));
        const bool stored = !encoder.hasError() && byte.size() == 1;
        const EncodedText ours = encodeWindows1251(QString(16, c));
        if (ours.bytes != (stored ? byte.repeated(16) : QByteArray(16, '?')) ||
            ours.unencodable != (stored ? QString() : QString(c)))
            differences += QStringLiteral("U+%1").arg(unit, 4, 16, QLatin1Char('0'));
    }
    EXPECT_EQ(differences, QStringList());
}

} // namespace
