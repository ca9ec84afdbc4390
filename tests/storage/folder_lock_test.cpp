// The folder lock, the same on every system: one register per folder, and what a lock left in
// the folder by another computer or by a crash means.

#include "storage/folder_lock.h"
#include "support/temp_files.h"
#include "support/named_rows.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// One register per folder: a second lock on the folder is refused while the first is held,
// even when asked to take it over.
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
    EXPECT_TRUE(now.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + "\n"))
        << now.toStdString();
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

} // namespace
