// The real program killed in the middle of its work. A copy of the tarvel executable runs
// offscreen in a temporary directory of its own (the register keeps its files beside the
// executable), rings up receipts through its TARVEL_KEYS hook and is killed with SIGKILL:
// bazasmen.txt must already hold every receipt closed before the kill, and the next run must
// start with them in its journal.

#include "storage/codepage.h"
#include "storage/data_dir.h"
#include "support/fakes.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tarvel::test {
namespace {

// Control names of the panel's keys and their captions, for the same presses on a register in
// this process.
using Keys = std::vector<std::pair<const char*, const char*>>;

QString controlNames(const Keys& keys) {
    QStringList names;
    for (const auto& [name, caption] : keys)
        names << QString::fromLatin1(name);
    return names.join(QLatin1Char(' '));
}

QString captions(const Keys& keys) {
    QStringList out;
    for (const auto& [name, caption] : keys)
        out << QString::fromUtf8(caption);
    return out.join(QLatin1Char(' '));
}

// The date and time of a total block come from the computer's clock and locale: each becomes
// "<stamp>" before texts are compared.
QString withoutStamps(QString text) {
    static const QRegularExpression stamp(QStringLiteral("(\r\n\\*{18}\r\n)[^\r\n]*(\r\n\\*{18})"));
    return text.replace(stamp, QStringLiteral("\\1<stamp>\\2"));
}

// One run of the real program in the rig's directory.
class RealProgram {
  public:
    RealProgram(const TempDataDir& dir, const QString& keys) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TARVEL_KEYS"), keys);
        // Receipts are printed on the default printer: point the print system at nothing, so
        // no paper comes out of a developer's printer.
        env.insert(QStringLiteral("CUPS_SERVER"), dir.path(QStringLiteral("no-cups.sock")));
        process_.setProcessEnvironment(env);
        process_.setProgram(dir.path(QStringLiteral("tarvel")));
        process_.start();
    }
    ~RealProgram() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // Waits until the hook has pressed every key.
    bool waitForKeys(int count) {
        const QByteArray done =
            QByteArrayLiteral("TARVEL_KEYS pressed ") + QByteArray::number(count);
        while (!output_.contains(done)) {
            if (!process_.waitForReadyRead(30000)) return false;
            output_ += process_.readAllStandardOutput();
        }
        return true;
    }
    QString errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }
    QProcess& process() { return process_; }

  private:
    QProcess process_;
    QByteArray output_;
};

// A cash receipt with change, one paid by card in department 02, one closed without change, and
// one left open: three closed receipts and one sale that never closed.
const Keys kRun = {
    {"Command1", "1"},     {"Command5", "5"},     {"Command0", "0"},   {"CommandVV", "ВВ"},
    {"Command5", "5"},     {"Command1", "1"},     {"CommandVV", "ВВ"}, {"CommandEnter", "="},
    {"NL", "НЛ"},          {"Command5", "5"},     {"Btn00", "00"},     {"CommandVV", "ВВ"},
    {"Btn2V", "2В"},       {"Command2", "2"},     {"Command5", "5"},   {"CommandVV", "ВВ"},
    {"CommandEnter", "="}, {"PROC", "%"},         {"Command9", "9"},   {"Command9", "9"},
    {"CommandVV", "ВВ"},   {"CommandEnter", "="}, {"CommandVV", "ВВ"}, {"Command7", "7"},
    {"CommandVV", "ВВ"},
};

// The next run: journal mode and 1Д bring the journal to the front and write the shift report.
const Keys kNextRun = {{"KZ", "КЗ"}, {"Btn1D", "1Д"}};

TEST(CrashTest, KilledRegisterKeepsEveryClosedReceipt) {
    TempDataDir dir;
    dir.writeDefaults();
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARVEL_EXECUTABLE), dir.path(QStringLiteral("tarvel"))));

    // What the journal holds after those presses, from the same register in this process.
    RegisterRig expected;
    expected.press(captions(kRun));
    const QString journal = expected.s().TxtCHLK.text();
    ASSERT_EQ(journal.count(QStringLiteral("ИТОГО")), 3);

    {
        RealProgram program(dir, controlNames(kRun));
        ASSERT_TRUE(program.waitForKeys(int(kRun.size()))) << program.errors().toStdString();
        // No close sequence runs: the file holds what each closing appended at once.
        program.process().kill();
        ASSERT_TRUE(program.process().waitForFinished(30000));
        EXPECT_EQ(program.process().exitStatus(), QProcess::CrashExit);
    }
    const QString afterKill = dir.readText(kJournalFileName);
    EXPECT_EQ(withoutStamps(afterKill), withoutStamps(journal + kCrLf.toString()));
    EXPECT_FALSE(afterKill.contains(QStringLiteral(" 01  7 руб"))) << "the open receipt";

    // Started again, the register has them in its journal: it adds its report after them, and
    // its close (SIGTERM, as at a shutdown) writes the journal it holds, all of it.
    expected.restart();
    expected.press(captions(kNextRun));
    {
        RealProgram program(dir, controlNames(kNextRun));
        ASSERT_TRUE(program.waitForKeys(int(kNextRun.size()))) << program.errors().toStdString();
        EXPECT_EQ(withoutStamps(dir.readText(kJournalFileName)),
                  withoutStamps(expected.s().TxtCHLK.text() + kCrLf.toString()))
            << "before the close";
        program.process().terminate();
        ASSERT_TRUE(program.process().waitForFinished(30000));
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.process().exitCode(), 0);
    }
    const QString afterClose = dir.readText(kJournalFileName);
    EXPECT_TRUE(afterClose.startsWith(afterKill));
    EXPECT_TRUE(afterClose.endsWith(QStringLiteral("\r\n ИС  0 руб\r\n")));
    EXPECT_EQ(withoutStamps(afterClose),
              withoutStamps(expected.s().TxtCHLK.text() + kCrLf.toString()));
}

} // namespace
} // namespace tarvel::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
