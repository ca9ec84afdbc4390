// A folder another register holds: refused for a copy here; another computer's lock is asked about.

#include "app/folder_claim.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QByteArray kOtherComputersLock = "4242\ntarvel\nkassa-7\n";
const char* const kLiveCopy = "уже работает другая запущенная касса";

struct Claim : NamedRow {
    bool liveCopyHere;   // else another computer's lock is in the folder
    bool takeOver;       // --take-over
    bool answer;         // Yes to the question
    bool started;        // the register may start
    int questions;       // how many were asked
    const char* refusal; // a part of the message shown, "" for none
};

class ClaimFolder : public testing::TestWithParam<Claim> {};

TEST_P(ClaimFolder, AsksOnlyOfAnotherComputersLock) {
    const Claim& row = GetParam();
    TempDataDir files;
    FolderLock liveCopy(files.folder());
    if (row.liveCopyHere) {
        ASSERT_EQ(liveCopy.take(), FolderLock::Outcome::Taken);
    } else {
        files.writeBytes("tarvel.lock", kOtherComputersLock);
        QFile file(files.path("tarvel.lock"));
        ASSERT_TRUE(file.open(QIODevice::Append) &&
                    file.setFileTime(QDateTime(QDate(2026, 12, 5), QTime(21, 30)),
                                     QFileDevice::FileModificationTime));
    }
    RecordingMessages messages;
    messages.answer = row.answer;
    const Started<std::unique_ptr<FolderLock>> lock =
        claimFolder(files.folder(), row.takeOver, messages);
    if (!lock) tellStartProblem(lock.problem(), messages);

    EXPECT_EQ(bool(lock), row.started);
    ASSERT_EQ(messages.asked.size(), row.questions);
    for (const QString& question : messages.asked)
        for (const QString& part : {QDir::toNativeSeparators(files.folder()), QString("kassa-7"),
                                    QString("с 05.12.2026 21:30"), QString("Возможно, это след"),
                                    QString("Занять папку")})
            EXPECT_TRUE(question.contains(part)) << question.toStdString();
    const QString shown = messages.texts().join('|');
    if (*row.refusal) {
        EXPECT_TRUE(shown.contains(row.refusal)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QDir::toNativeSeparators(files.folder())));
    } else {
        EXPECT_TRUE(shown.isEmpty()) << shown.toStdString();
    }
    if (!row.liveCopyHere && !row.started) {
        EXPECT_EQ(files.readBytes("tarvel.lock"), kOtherComputersLock) << "left as it was";
    }
}

const Claim kClaims[] = {
    {{"OtherComputerAnsweredYes"}, false, false, true, true, 1, ""},
    {{"OtherComputerAnsweredNo"}, false, false, false, false, 1, ""},
    {{"OtherComputerWithTakeOver"}, false, true, false, true, 0, ""},
    {{"LiveCopyHere"}, true, false, true, false, 0, kLiveCopy},
    {{"LiveCopyHereEvenWithTakeOver"}, true, true, true, false, 0, kLiveCopy},
};

INSTANTIATE_TEST_SUITE_P(Locks, ClaimFolder, testing::ValuesIn(kClaims), rowName);

} // namespace
