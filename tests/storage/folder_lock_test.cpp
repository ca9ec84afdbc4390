// The folder lock on every system: one register per folder, and locks left by others or a crash.

#include "storage/folder_lock.h"
#include "support/named_rows.h"
#include "support/temp_files.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;
using enum tarvel::FolderLock::Outcome;

namespace {

// A second lock is refused while the first is held, even when asked to take it over.
TEST(FolderLockTest, OneHolderPerFolder) {
    TempDataDir files;
    FolderLock first(files.folder()), second(files.folder());
    ASSERT_EQ(first.take(), Taken);
    EXPECT_EQ(second.take(), HeldHere);
    EXPECT_EQ(second.takeOver(), HeldHere);
    EXPECT_TRUE(QFile::exists(files.path("tarvel.lock")));
}

// A tarvel.lock found in the folder; @host and @machine are this computer's name and id.
struct LeftLock : NamedRow {
    QByteArray content;
    FolderLock::Outcome outcome;
    const char* computer = ""; // for HeldElsewhere: the computer told of
};

class LockLeftInTheFolder : public testing::TestWithParam<LeftLock> {};

// Another computer's lock is told of and taken over on request; an unreadable one at once.
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
    if (row.outcome == HeldElsewhere) {
        EXPECT_EQ(lock.holder().computer,
                  QString(row.computer).replace("@host", QSysInfo::machineHostName()));
        EXPECT_EQ(lock.holder().since, since);
        EXPECT_EQ(lock.holder().pid, 4242);
        EXPECT_EQ(files.readBytes("tarvel.lock"), content);
        EXPECT_EQ(lock.takeOver(), Taken);
    }
    const QByteArray now = files.readBytes("tarvel.lock");
    EXPECT_TRUE(now.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + "\n"))
        << now.toStdString();
}

const LeftLock kLeftLocks[] = {
    {{"Empty"}, "", Taken},
    {{"Zeros"}, QByteArray(64, '\0'), Taken},
    {{"CutShortInTheHostName"}, "4242\ntarvel\nkas", Taken},
    {{"NoProcessNumber"}, "tarvel\n@host\n@machine\n", Taken},
    {{"AnotherComputer"}, "4242\ntarvel\nkassa-7\n", HeldElsewhere, "kassa-7"},
    // Set up from this computer's disk image: Qt alone would call its lock stale.
    {{"SameImage"}, "4242\ntarvel\nkassa-7\n@machine\nboot\n", HeldElsewhere, "kassa-7"},
    {{"SameName"}, "4242\ntarvel\n@host\nother-machine\nboot\n", HeldElsewhere, "@host"},
};

INSTANTIATE_TEST_SUITE_P(Locks, LockLeftInTheFolder, testing::ValuesIn(kLeftLocks), rowName);

// A lock another computer put there after the one told of stays, and is told of in turn.
TEST(FolderLockTest, TakesOverOnlyTheLockToldOf) {
    TempDataDir files;
    files.writeBytes("tarvel.lock", "4242\ntarvel\nkassa-7\n");
    FolderLock lock(files.folder());
    ASSERT_EQ(lock.take(), HeldElsewhere);
    files.writeBytes("tarvel.lock", "5151\ntarvel\nkassa-9\n");
    EXPECT_EQ(lock.takeOver(), HeldElsewhere);
    EXPECT_EQ(lock.holder().computer, "kassa-9");
    EXPECT_EQ(files.readBytes("tarvel.lock"), "5151\ntarvel\nkassa-9\n");
}

} // namespace
