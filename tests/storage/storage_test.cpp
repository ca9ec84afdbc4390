// Files on real disks and between processes: a grown journal, dead or full-disk locks, bad paths.

#include "storage/data_location.h"
#include "storage/folder_lock.h"
#include "storage/journal_file.h"
#include "storage/text_files.h"
#include "support/disk_faults.h"
#include "support/named_rows.h"
#include "support/temp_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// A file grown after the worker thread read it is never replaced by the shorter journal read.
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

// The lock of a process that died is taken over.
TEST(FolderLockTest, HolderThatDiedLeavesNoLock) {
    TempDataDir files;
    const QString folder = files.folder();
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

// A full folder stays held when space comes back; a squatter at the temp lock's name blocks none.
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

// A link loop or a too-long name is no "missing file", for a read and for a data folder.
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

} // namespace
