// A recorded run played back in a scratch copy of the data folder, at its times over the speed.

#include "exercises/exercise_file.h"
#include "exercises/exercise_session.h"
#include "exercises/replay.h"
#include "exercises/results_file.h"
#include "exercises/variants.h"
#include "storage/codepage.h"
#include "storage/folder_lock.h"
#include "storage/text_files.h"
#include "support/named_rows.h"
#include "support/trainee.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// A register over a folder of the test's choosing.
struct FolderRegister {
    FakeClock clock;
    FakeRegional regional;
    RecordingMessages messages;
    NoticeBoxes notices{messages};
    RecordingPrinter printer;
    FakeProgramEnd programEnd;
    CashRegister reg;
    explicit FolderRegister(const QString& folder)
        : reg({clock, regional, printer, programEnd, DataDir(folder)}) {
        reg.addListener(notices);
        reg.start();
    }
    // Plays `entries` to their end, each alarm rung at once; how many were played.
    qsizetype play(const QList<KeyLogEntry>& entries, double speed,
                   ReplayPlayer::Hooks hooks = {}) {
        ReplayPlayer player(reg, entries, speed, alarm, std::move(hooks));
        player.start();
        while (alarm.ring()) {
        }
        EXPECT_TRUE(player.finished());
        return player.played();
    }
    ManualAlarm alarm;
};

QByteArray withoutDateAndTime(QByteArray journal) {
    static const QRegularExpression stamp(
        QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d"));
    return decodeWindows1251(journal)
        .value()
        .replace(stamp, QStringLiteral("<дата время>"))
        .toUtf8();
}

// A new header typed in КР mode, change, a card, a mistake put right; then the power key.
const char* const kRun = "КР 3Т ⌨ КР 1Д 9 9 . 5 ВВ = НЛ 1 0 0 ВВ 6 4 ВВ СБ 2В 1 2 ВВ = % VKL";

TEST(Replay, ReproducesTheJournalAndHeaderOfTheRun) {
    RegisterRig original(QLatin1Char('.'), /*load=*/false);
    original.files.writeText(kHeaderFileName, QStringLiteral("  МАГАЗИН «У ДОМА»\r\n"));
    original.files.writeText(QStringLiteral("spravoch.txt"), QStringLiteral("Хлеб 45.50\r\n"));
    original.restart();
    ManualStopwatch stopwatch;
    ManualAlarm noLimit;
    ExerciseSession session({original.files.path(""), QStringLiteral("Петров"), "0.1",
                             original.s().TxtCHL.text(), std::nullopt},
                            original.clock, stopwatch, noLimit, original.messages);
    session.listenTo(*original.reg);
    session.begin();
    QString keys = QString::fromUtf8(kRun);
    work(
        original, keys.remove(QStringLiteral(" VKL")),
        QStringLiteral("ООО «РОМАШКА» \\n\r\nИНН 7701234567\r\n")); // "\\n" typed stays two letters
    original.reg->press(Key::Power);

    const KeyLogRead log = readKeyLog(session.keyLogPath());
    ASSERT_TRUE(log.log) << log.error.toStdString();
    ReplayFolder folder;
    ASSERT_EQ(folder.prepare(log.log->head, original.files.path("")), QString());
    FolderRegister replay(folder.path());
    replay.clock.date = QDate(2027, 1, 9); // the replay runs on another day
    int steps = 0;
    bool finished = false;
    replay.play(log.log->entries, 4, {{}, [&] { ++steps; }, [&] { finished = true; }});

    EXPECT_TRUE(finished);
    EXPECT_EQ(steps, log.log->entries.size() - 1); // all but the power key
    EXPECT_EQ(replay.programEnd.ended, 0);         // the panel stays to be looked at
    const QDir replayed(folder.path());
    const auto bytes = [](const QString& path) { return readFileBytes(path).bytes; };
    EXPECT_EQ(withoutDateAndTime(bytes(replayed.filePath(kJournalFileName))),
              withoutDateAndTime(original.files.readBytes(kJournalFileName)));
    EXPECT_NE(bytes(replayed.filePath(kJournalFileName)),
              original.files.readBytes(kJournalFileName)); // the dates did differ
    EXPECT_EQ(bytes(replayed.filePath(kHeaderFileName)), original.files.readBytes(kHeaderFileName));
    EXPECT_EQ(bytes(replayed.filePath("spravoch.txt")), original.files.readBytes("spravoch.txt"));
    EXPECT_EQ(replay.messages.texts(), original.messages.texts());
}

// Beside a live register the scratch folder gets its goods, not its lock; one left by a killed
// replay goes at the next start, one whose replay runs stays.
TEST(ReplayFolder, StartsBesideALiveRegisterAndCleansUpAfterAKilledOne) {
    TempDataDir data;
    writeDefaults(data);
    data.writeText(kGoodsFileName, QStringLiteral("Хлеб 45.50\r\n"));
    FolderLock working(data.folder());
    ASSERT_EQ(working.take(), FolderLock::Outcome::Taken);
    ReplayFolder running;
    ASSERT_EQ(running.prepare(KeyLogHead{}, data.folder()), QString());
    EXPECT_EQ(FolderLock(running.path()).take(), FolderLock::Outcome::Taken);
    EXPECT_TRUE(QFileInfo::exists(QDir(running.path()).filePath(kGoodsFileName)));

    const QString killed = QDir::temp().filePath(
        "tarvel-replay-killed" + QString::number(QCoreApplication::applicationPid()));
    QDir().mkpath(killed);
    // The lock as the system's QLockFile writes it on this computer, of a process now gone.
    const QString lock = killed + "/replay.lock";
    QByteArray content;
    {
        QLockFile live(lock);
        ASSERT_TRUE(live.tryLock(0));
        content = readFileBytes(lock).bytes;
    }
    content.replace(0, content.indexOf('\n'), "999999999");
    ASSERT_FALSE(writeFileWhole(lock, content));
    ReplayFolder::removeAbandoned();
    EXPECT_FALSE(QFileInfo::exists(killed));
    EXPECT_TRUE(QFileInfo::exists(running.path()));
}

// An amount as its keys: "45.50" is "4 5 . 5 0".
QString amountKeys(Kopecks amount) {
    return formatMoney(amount).split(QString(), Qt::SkipEmptyParts).join(u' ');
}

// The keys that solve the sample exam with drawn amounts, for the amounts of `exercise`.
QString examKeys(const Exercise& exercise) {
    const auto line = [&](qsizetype item, qsizetype index) {
        return amountKeys(exercise.items[item].receipt.lines[index].amount);
    };
    return QStringLiteral("%1 ВВ = НЛ %2 ВВ 3Т %3 ВВ 4С %4 ВВ = НЛ 1 0 0 0 ВВ 2В %5 ВВ = %")
        .arg(line(0, 0), amountKeys(exercise.items[0].receipt.tenders[0]), line(1, 0), line(1, 1),
             line(2, 0));
}

// The seed in the log's head draws the trainee's amounts again: the replayed keys pass them.
TEST(Replay, VariantRunRechecksWithTheSeedFromItsLog) {
    const ExerciseLoad sample = readExerciseFile(
        QStringLiteral(TARVEL_SOURCE_DIR "/data/exercises/12_ekzamen_varianty.toml"));
    ASSERT_TRUE(sample.exercise) << sample.error.toStdString();
    const Exercise run = exerciseForRun(*sample.exercise, 20'261'207);
    RegisterRig original;
    ManualStopwatch stopwatch;
    ManualAlarm limit;
    ExerciseSession session(
        {original.files.path(""), QStringLiteral("Петров"), "0.1", original.s().TxtCHL.text(), run},
        original.clock, stopwatch, limit, original.messages);
    session.listenTo(*original.reg);
    session.begin();
    work(original, examKeys(run));
    ASSERT_TRUE(session.result());
    EXPECT_EQ(session.result()->right, 3);
    const ResultsRead results = readResults(original.files.path(kResultsFileName));
    ASSERT_EQ(results.rows.size(), 1);
    EXPECT_EQ(results.rows[0].seed, run.seed);

    const KeyLogRead log = readKeyLog(session.keyLogPath());
    ASSERT_TRUE(log.log) << log.error.toStdString();
    ASSERT_EQ(log.log->head.seed, run.seed);
    // With the log's seed every receipt is right; with another, the amounts differ.
    for (const quint32 seed : {*log.log->head.seed, *log.log->head.seed + 1}) {
        ReplayFolder folder;
        ASSERT_EQ(folder.prepare(log.log->head, original.files.path("")), QString());
        FolderRegister replay(folder.path());
        ExerciseChecker checker(exerciseForRun(*sample.exercise, seed));
        replay.reg.addListener(checker);
        replay.play(log.log->entries, 1);
        EXPECT_EQ(checker.result(0).right, seed == *run.seed ? 3 : 0) << seed;
    }
}

struct TimingCase : NamedRow {
    double speed;
    QList<qint64> delays; // the alarm's settings, in order
};

const TimingCase kTimings[] = {
    {"as_recorded", 1, {0, 400, 1000, 5}},
    {"twice_as_fast", 2, {0, 200, 500, 3}}, // 1402.5 rounds to 1403, and 1403 - 1400 = 3
    {"slower", 0.5, {0, 800, 2000, 10}},
};

class ReplayTiming : public testing::TestWithParam<TimingCase> {};

// Each entry at its recorded time over the speed, the typing included; a power key stops it.
TEST_P(ReplayTiming, PlaysEachEntryAtItsTime) {
    TempDataDir dir;
    writeDefaults(dir);
    FolderRegister replay(dir.path(""));
    const QList<KeyLogEntry> entries{
        {0, Key::Digit7, {}, {}},
        {400, Key::Digit5, {}, {}},
        {1400, std::nullopt, TypedField::Indicator, QStringLiteral("75:1")},
        {1405, std::nullopt, TypedField::ReceiptTape, QStringLiteral("не на ленту")},
        {9000, Key::Power, {}, {}},
        {9100, Key::Digit1, {}, {}}};
    QStringList shown;
    const auto show = [&](Key key) { shown << keyName(key).toString(); };
    EXPECT_EQ(replay.play(entries, GetParam().speed, {show, {}, {}}), 4);
    EXPECT_EQ(replay.alarm.delays, GetParam().delays);
    EXPECT_EQ(shown, QStringList({"Command7", "Command5"}));
    EXPECT_EQ(replay.reg.state().TxtIND.text(), QStringLiteral("75:1"));
    EXPECT_EQ(replay.reg.state().TxtCHL.text(), kDefaultHeader); // locked: typing refused
    EXPECT_EQ(replay.programEnd.ended, 0);
}

INSTANTIATE_TEST_SUITE_P(Speeds, ReplayTiming, testing::ValuesIn(kTimings), rowName);

} // namespace
