// The journal file under real disk faults: told with its true cause, mended by the next receipt.

#include "support/disk_faults.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// Longer than a memory page, so it never fits in the file's last page on a full disk.
const QString kLongReceipt = kReceipt.repeated(200);

// The switch is undone on return: the caller goes on as root.
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
        writeDefaults(rig.files);
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

// A receipt, the fault, two long receipts (told once), the fault gone, a receipt: all four kept.
TEST_P(JournalUnderFault, IsToldWithItsCauseAndMendedByTheNextReceipt) {
    const Fault& fault = GetParam();
    DiskRig d;
    if (!d.start()) GTEST_SKIP() << "no tmpfs can be mounted here";
    d.rig.reg->journal().append(kReceipt);
    if (!fault.make(d)) GTEST_SKIP() << "the fault cannot be made here";
    {
        std::optional<AsNobody> user;
        if (fault.asNobody) user.emplace();
        d.rig.reg->journal().append(kLongReceipt);
        d.rig.reg->journal().append(kLongReceipt);
    }
    ASSERT_EQ(d.rig.messages.texts().size(), 1) << d.rig.messages.texts().join('|').toStdString();
    EXPECT_TRUE(d.rig.messages.texts().first().startsWith("Не удалось записать файл " +
                                                          QDir::toNativeSeparators(d.journalPath) +
                                                          ": " + fault.reason + "\n"))
        << d.rig.messages.texts().first().toStdString();
    fault.lift(d);
    d.rig.reg->journal().append(kReceipt);
    const QString all = kReceipt + kLongReceipt + kLongReceipt + kReceipt;
    EXPECT_EQ(d.fileBytes(), closeBytes(all));
    d.rig.reg->close();
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
};

INSTANTIATE_TEST_SUITE_P(Faults, JournalUnderFault, testing::ValuesIn(kFaults), rowName);

// A file holding every receipt is not written by the close: same bytes, inode and hard links.
struct CloseCase : NamedRow {
    std::function<bool(DiskRig&)> make;
    bool asNobody = false;
};

class CloseWithTheJournalOnDisk : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseWithTheJournalOnDisk, WritesNothingAndTellsNothing) {
    DiskRig d;
    if (!d.start()) GTEST_SKIP() << "no tmpfs can be mounted here";
    d.rig.reg->journal().append(kReceipt);
    const QString link = d.rig.files.path("link.txt");
    ASSERT_TRUE(::link(qPrintable(d.journalPath), qPrintable(link)) == 0);
    const ino_t inode = statOf(d.journalPath).st_ino;
    if (!GetParam().make(d)) GTEST_SKIP() << "the case cannot be made here";
    {
        std::optional<AsNobody> user;
        if (GetParam().asNobody) user.emplace();
        d.rig.reg->close();
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

// A hand-edited journal rewritten at start-up keeps its owner and mode, in place if need be.
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
            rig.reg->journal().append(kReceipt);
            rig.reg->close();
        }
        EXPECT_EQ(rig.messages.texts(), QStringList());
        EXPECT_EQ(rig.files.readBytes(kJournalFileName), closeBytes("a\r\nb\r\n" + kReceipt));
        const struct stat st = statOf(path);
        EXPECT_EQ(st.st_uid, AsNobody::uid());
        EXPECT_EQ(st.st_mode & 0777, folderWritable ? 0640u : 0660u);
    }
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

} // namespace
