// The real program killed in the middle of its work: the key driver (the program as main()
// builds it, clicking the keys named on its command line) runs offscreen over a temporary data
// folder, rings up receipts and is killed with SIGKILL. bazasmen.txt must already hold every
// closed receipt, and the next run must start with them in its journal.

#include "storage/folder_lock.h"
#include "support/disk_faults.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace tarvel::test {
namespace {

// A cash receipt with change, one paid by card in department 02, one closed without change and
// one left open. The next run writes the shift report in journal mode.
const QString kRun = "1 5 0 ВВ = НЛ 5 00 ВВ 2В 2 ВВ = % 9 ВВ = ВВ 7 ВВ";
const QString kNextRun = "КЗ 1Д";

// The date and time of a total block come from the computer's clock and locale.
QString withoutStamps(QString text) {
    static const QRegularExpression stamp("(\r\n\\*{18}\r\n)[^\r\n]*(\r\n\\*{18})");
    return text.replace(stamp, "\\1<stamp>\\2");
}

// Starts the driver over the folder and waits until it has pressed every key.
void pressKeys(QProcess& program, const TempDataDir& dir, const QString& captions) {
    QStringList arguments = {dir.dataDir().path()};
    for (const Key key : keysOf(captions))
        arguments << keyName(key).toString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("CUPS_SERVER", dir.path("no-cups.sock")); // no paper from a real printer
    env.insert("XDG_CONFIG_HOME", dir.path("config"));   // the panel's size stays in the test
    program.setProcessEnvironment(env);
    program.start(TARVEL_KEY_DRIVER, arguments);
    QByteArray output;
    while (!output.contains("pressed " + QByteArray::number(arguments.size() - 1))) {
        ASSERT_TRUE(program.waitForReadyRead(30000)) << program.readAllStandardError().data();
        output += program.readAllStandardOutput();
    }
}

TEST(CrashTest, KilledRegisterKeepsEveryClosedReceipt) {
    RegisterRig expected; // the journal those presses give, from a register in this process
    expected.press(kRun);
    ASSERT_EQ(expected.s().TxtCHLK.text().count("ИТОГО"), 3);
    TempDataDir dir;
    writeDefaults(dir);
    QProcess killed;
    ASSERT_NO_FATAL_FAILURE(pressKeys(killed, dir, kRun));
    killed.kill(); // no close sequence: the file holds what each closing appended at once
    ASSERT_TRUE(killed.waitForFinished(30000));
    const QString afterKill = dir.readText(kJournalFileName);
    EXPECT_EQ(withoutStamps(afterKill), withoutStamps(expected.s().TxtCHLK.text() + "\r\n"));
    EXPECT_FALSE(afterKill.contains(" 01  7 руб")) << "the open receipt";

    // The next run adds its report after them, and its close (SIGTERM) writes them back.
    expected.restart();
    expected.press(kNextRun);
    QProcess next;
    ASSERT_NO_FATAL_FAILURE(pressKeys(next, dir, kNextRun));
    next.terminate();
    ASSERT_TRUE(next.waitForFinished(30000));
    EXPECT_EQ(next.exitStatus(), QProcess::NormalExit);
    const QString afterClose = dir.readText(kJournalFileName);
    EXPECT_TRUE(afterClose.startsWith(afterKill) && afterClose.endsWith("\r\n ИС  0 руб\r\n"));
    EXPECT_EQ(withoutStamps(afterClose), withoutStamps(expected.s().TxtCHLK.text() + "\r\n"));
}

// A second copy started on the same folder is turned away with a message naming the folder,
// before it touches a file: the first copy's journal and header stay as they are.
TEST(CrashTest, SecondRegisterOnTheSameFolderIsRefused) {
    TempDataDir dir;
    writeDefaults(dir);
    QProcess first;
    ASSERT_NO_FATAL_FAILURE(pressKeys(first, dir, "1 5 0 ВВ = НЛ 5 00 ВВ")); // one cash receipt
    const QByteArray journal = dir.readBytes(kJournalFileName);
    const QByteArray header = dir.readBytes(kHeaderFileName);
    ASSERT_TRUE(journal.contains("\xc8\xd2\xce\xc3\xce")); // "ИТОГО": a closed receipt

    QProcess second;
    second.setProcessEnvironment(first.processEnvironment());
    second.setReadChannel(QProcess::StandardError);
    second.start(TARVEL_EXECUTABLE, {"--data-dir", dir.dataDir().path()});
    QString refusal;
    while (!refusal.contains(QDir::toNativeSeparators(dir.folder()))) {
        ASSERT_TRUE(second.waitForReadyRead(30000)) << "no refusal on standard error";
        refusal += QString::fromLocal8Bit(second.readAllStandardError());
    }
    EXPECT_TRUE(refusal.contains("уже работает другая запущенная касса")) << refusal.toStdString();
    second.kill(); // its message box waits for a click no one gives here
    second.waitForFinished(30000);
    EXPECT_EQ(dir.readBytes(kJournalFileName), journal);
    EXPECT_EQ(dir.readBytes(kHeaderFileName), header);
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(dir.readBytes(kJournalFileName), journal);
}

// A data folder that takes no new file (its disk full) is held by the first copy through its
// user's own lock. Space is freed: a second copy, which could now make tarvel.lock in the
// folder, must still be refused, and every receipt of the first reaches the journal.
TEST(CrashTest, FullFolderGettingSpaceIsNotTakenBySecondRegister) {
    TempDataDir dir;
    const SmallDisk disk(dir.folder(), 256 << 10);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    writeDefaults(dir);
    // The journal's page has room for the first copy's receipt; a new file finds none.
    dir.writeBytes(kJournalFileName, closeBytes(kReceipt));
    disk.fill("filler");
    QProcess first;
    ASSERT_NO_FATAL_FAILURE(pressKeys(first, dir, "1 5 0 ВВ = НЛ 5 00 ВВ"));
    ASSERT_FALSE(QFile::exists(dir.path("tarvel.lock")));
    dir.remove("filler");

    QProcess second;
    second.setProcessEnvironment(first.processEnvironment());
    second.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments = {dir.dataDir().path()};
    for (const Key key : keysOf("2 7 ВВ = НЛ 3 00 ВВ"))
        arguments << keyName(key).toString();
    second.start(TARVEL_KEY_DRIVER, arguments);
    QString said;
    while (!said.contains(QDir::toNativeSeparators(dir.folder())) && !said.contains("pressed")) {
        ASSERT_TRUE(second.waitForReadyRead(30000)) << said.toStdString();
        said += QString::fromLocal8Bit(second.readAll());
    }
    EXPECT_TRUE(said.contains("уже работает другая запущенная касса")) << said.toStdString();
    second.kill(); // its message box waits for a click no one gives here
    second.waitForFinished(30000);
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    const QString journal = dir.readText(kJournalFileName);
    EXPECT_TRUE(journal.startsWith(kReceipt) && journal.contains(" 01  150 руб\r\n"))
        << journal.toStdString();
    EXPECT_FALSE(journal.contains(" 01  27 руб")) << "the second copy rang a receipt";
}

// Two trainees on one computer, each with a folder of their own: both registers run at once,
// neither is turned away by the other's lock, and each journal holds only its own receipt.
TEST(CrashTest, RegistersOnTwoFoldersRunSideBySide) {
    struct Trainee {
        QString keys, sale; // the receipt rung, and its sale line in the journal
    };
    const Trainee trainees[2] = {{"1 5 0 ВВ = НЛ 5 00 ВВ", " 01  150 руб\r\n"},
                                 {"2 7 ВВ = НЛ 3 00 ВВ", " 01  27 руб\r\n"}};
    TempDataDir dirs[2];
    QProcess registers[2];
    for (int i = 0; i < 2; ++i) { // the second starts while the first still runs
        writeDefaults(dirs[i]);
        ASSERT_NO_FATAL_FAILURE(pressKeys(registers[i], dirs[i], trainees[i].keys))
            << "register " << i;
    }
    for (int i = 0; i < 2; ++i) {
        registers[i].terminate();
        ASSERT_TRUE(registers[i].waitForFinished(30000));
        EXPECT_EQ(registers[i].exitStatus(), QProcess::NormalExit) << "register " << i;
        RegisterRig expected;
        expected.press(trainees[i].keys);
        const QString journal = dirs[i].readText(kJournalFileName);
        EXPECT_EQ(withoutStamps(journal), withoutStamps(expected.s().TxtCHLK.text() + "\r\n"));
        EXPECT_TRUE(journal.contains(trainees[i].sale)) << "register " << i;
        EXPECT_FALSE(journal.contains(trainees[1 - i].sale)) << "register " << i;
    }
}

// A signal (a closed terminal, a logout) while a start-up dialog waits for an answer: the
// program ends and frees its folder, never running on without a window and holding the lock.
struct DialogCase : NamedRow {
    QStringList arguments; // after --data-dir, over a folder holding all three traps
};

class SignalDuringDialogTest : public testing::TestWithParam<DialogCase> {};

TEST_P(SignalDuringDialogTest, EndsAndFreesTheFolder) {
    const DialogCase& c = GetParam();
    TempDataDir dir;
    writeDefaults(dir);
    dir.writeBytes("bad.toml", "это не упражнение");
    QDir(dir.folder()).mkpath("two");
    dir.writeBytes("two/1.toml", "x");
    dir.writeBytes("two/2.toml", "y");
    dir.writeBytes("keys", "a file where the key logs' folder goes");
    dir.writeBytes("good.toml", "title = \"Чай\"\ntask = \"Пробейте чай\"\n[[receipt]]\n"
                                "line = [{ department = 1, amount = \"78.50\" }]\n");

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", dir.path("config"));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dir.folder());
    program.start(TARVEL_EXECUTABLE, QStringList{"--data-dir", dir.folder()} + c.arguments);
    ASSERT_TRUE(program.waitForStarted(30000));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(dir.path("tarvel.lock")) && waited.elapsed() < 30000)
        QThread::msleep(20);
    QThread::msleep(1500); // the panel is up and the dialog waits
    ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().data();
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(15000)) << "still running after SIGTERM";
    program.kill();
    program.waitForFinished(5000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    FolderLock next(dir.folder());
    EXPECT_EQ(next.take(), FolderLock::Outcome::Taken);
    EXPECT_EQ(dir.readBytes(kJournalFileName), closeBytes({})) << "the close sequence ran";
}

const DialogCase kDialogs[] = {
    {"BadExerciseMessage", {"--exercise", "bad.toml"}},
    {"ExerciseChooser", {"--exercise", "two"}},
    {"KeyLogFailureMessage", {"--exercise", "good.toml", "--trainee", "Иванова"}},
    // And what the end tells after that (where the new exercise went) asks no one either.
    {"NewExerciseMessageAtTheEnd", {"--new-exercise", "new.toml"}},
};

INSTANTIATE_TEST_SUITE_P(StartUp, SignalDuringDialogTest, testing::ValuesIn(kDialogs), rowName);

} // namespace
} // namespace tarvel::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
