// An exercise session on a real register: results.csv gets one line when the exercise is done
// or abandoned, and the key log every press and every typed text.

#include "exercises/exercise_file.h"
#include "exercises/exercise_session.h"
#include "exercises/results_file.h"
#include "support/named_rows.h"
#include "trainee.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

Exercise sample(const char* file) {
    const ExerciseLoad load =
        readExerciseFile(QStringLiteral(TARVEL_SOURCE_DIR "/data/exercises/%1.toml").arg(file));
    EXPECT_TRUE(load.exercise) << load.error.toStdString();
    return load.exercise.value_or(Exercise{});
}

// The register of a run watched by a session; the stopwatch moves 400 ms before every key.
struct WatchedRun {
    RegisterRig rig;
    ManualStopwatch stopwatch;
    ExerciseSession session;
    int changes = 0;

    explicit WatchedRun(std::optional<Exercise> exercise,
                        QString trainee = QStringLiteral("Иванова А."))
        : session({rig.files.path(""), trainee, QStringLiteral("0.1"), rig.s().TxtCHL.text(),
                   std::move(exercise)},
                  rig.clock, stopwatch, rig.messages) {
        rig.reg->setObserver(&session);
        session.setOnChange([this] { ++changes; });
        session.begin();
    }
    void keys(const QString& captions) {
        for (const QString& caption : captions.split(u' ', Qt::SkipEmptyParts)) {
            stopwatch.ms += 400;
            rig.reg->press(keysOf(caption).at(0));
        }
    }
    QStringList resultLines() const {
        QStringList lines = QString::fromUtf8(rig.files.readBytes(kResultsFileName))
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (!lines.isEmpty()) lines.removeFirst(); // the column names
        return lines;
    }
};

struct SessionCase : NamedRow {
    const char* file;
    const char* keys;
    bool closedEarly; // the panel closes before the exercise is done
    const char* line; // the results line, after the date and time
    qint64 shownMs;   // the time spent: up to the last verdict, or to the close
};

const SessionCase kSessions[] = {
    {"finished_right", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ", false,
     "Иванова А.;Покупка без сдачи;1;1;5;14;0;0;выполнено;", 5600},
    {"finished_wrong_department", "02_otdely_so_sdachei",
     "4 5 . 5 0 ВВ 1 2 0 ВВ 1Д 3 4 . 2 5 ВВ = НЛ 5 0 0 ВВ", false,
     "Иванова А.;Несколько отделов со сдачей;0;1;9;23;0;0;выполнено;не тот отдел", 9200},
    {"finished_then_keys_after", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ 5 СБ", false,
     "Иванова А.;Покупка без сдачи;1;1;5;14;0;0;выполнено;", 5600},
    {"abandoned_midway", "03_oshibka_sb", "6 4 ВВ СБ 3Т 6 4", true,
     "Иванова А.;Ошибка, исправленная СБ;1;2;62;7;1;0;прервано;не выполнено", 62800},
    {"abandoned_untouched", "09_otchet", "", true,
     "Иванова А.;Отчёт за смену;0;3;60;0;0;0;прервано;не выполнено (3)", 60000},
};

class Session : public testing::TestWithParam<SessionCase> {};

TEST_P(Session, WritesOneResultLineAndLogsEveryKey) {
    const SessionCase& c = GetParam();
    WatchedRun run(sample(c.file));
    run.keys(QString::fromUtf8(c.keys));
    run.stopwatch.ms += 60'000; // the trainee looks at the result, then closes the panel
    if (c.closedEarly) {
        EXPECT_EQ(run.resultLines(), QStringList());
    }
    run.session.end();
    run.session.end(); // the close box and the end of the event loop both end it

    ASSERT_EQ(run.resultLines().size(), 1);
    const QString line = run.resultLines().first();
    EXPECT_TRUE(line.startsWith(QStringLiteral("2026-12-05 21:30:15;")));
    const QString expected = QString::fromUtf8(c.line);
    EXPECT_EQ(line.section(u';', 1), expected);
    EXPECT_EQ(run.session.elapsedMs(), c.shownMs);
    ASSERT_TRUE(run.session.result());
    EXPECT_EQ(run.session.result()->completed, !c.closedEarly);
    EXPECT_GT(run.changes, 0);

    const KeyLogRead log = readKeyLog(run.session.keyLogPath());
    ASSERT_TRUE(log.log) << log.error.toStdString();
    const QStringList captions = QString::fromUtf8(c.keys).split(u' ', Qt::SkipEmptyParts);
    ASSERT_EQ(log.log->entries.size(), captions.size());
    for (qsizetype i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(log.log->entries[i].key, keysOf(captions[i]).at(0)) << i;
        EXPECT_EQ(log.log->entries[i].ms, 400 * (i + 1)) << i;
    }
    EXPECT_EQ(log.log->head.exercise, expected.section(u';', 1, 1));
}

INSTANTIATE_TEST_SUITE_P(Exercises, Session, testing::ValuesIn(kSessions), rowName);

// --record: the keys and the typed header go to the log; no result without an exercise.
TEST(RecordedRun, LogsKeysAndTypingWithoutAResult) {
    WatchedRun run(std::nullopt, {});
    run.keys(QStringLiteral("КР 3Т"));
    run.rig.reg->editHeader(0, 0, u"А");
    run.rig.reg->editHeader(1, 0, u"Б");
    run.rig.reg->TxtIND_Change(QStringLiteral("12"));
    run.rig.reg->indicatorTyped();
    run.session.end();

    EXPECT_FALSE(run.rig.files.readBytes(kResultsFileName).size());
    EXPECT_FALSE(run.session.checker());
    EXPECT_TRUE(run.session.keyLogPath().endsWith(QStringLiteral("21-30-15_без_имени.keys")));
    const QByteArray log = run.rig.files.readBytes("keys/2026-12-05_21-30-15_без_имени.keys");
    EXPECT_TRUE(log.endsWith(
        "\n400 KR\n800 Btn3T\n800 TxtCHL А" +
        kDefaultHeader.toUtf8().replace("\r", "\\r").replace("\n", "\\n") + "\n800 TxtCHL АБ" +
        kDefaultHeader.toUtf8().replace("\r", "\\r").replace("\n", "\\n") + "\n800 TxtIND 12\n"))
        << log.toStdString();
    EXPECT_EQ(run.rig.messages.texts(), QStringList{"Впишите новое клише"});
}

// A key log that cannot be written is told once; the exercise and its result go on.
TEST(RecordedRun, UnwritableKeyLogIsToldOnce) {
    RegisterRig rig;
    rig.files.writeBytes(QStringLiteral("keys"), "a file where the folder would be");
    ManualStopwatch stopwatch;
    ExerciseSession session({rig.files.path(""), {}, "0.1", {}, sample("01_bez_sdachi")}, rig.clock,
                            stopwatch, rig.messages);
    rig.reg->setObserver(&session);
    session.begin();
    work(rig, QStringLiteral("7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ"));
    ASSERT_EQ(rig.messages.texts().size(), 1);
    EXPECT_TRUE(rig.messages.texts().first().contains(QStringLiteral("журнал клавиш не ведётся")));
    EXPECT_TRUE(session.result() && session.result()->right == 1);
}

} // namespace
