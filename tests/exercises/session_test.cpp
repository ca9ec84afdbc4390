// A session on a real register: one results line per exercise, every key in the key log.

#include "exercises/exercise_file.h"
#include "exercises/exercise_session.h"
#include "exercises/results_file.h"
#include "support/named_rows.h"
#include "support/trainee.h"

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

// The register of a run watched by a session; the stopwatch moves 400 ms before every key. With
// `keysBlocked`, a file stands where the key logs' folder would be.
struct WatchedRun {
    RegisterRig rig;
    ManualStopwatch stopwatch;
    ManualAlarm alarm;
    ExerciseSession session;
    int changes = 0;

    explicit WatchedRun(std::optional<Exercise> exercise,
                        QString trainee = QStringLiteral("Иванова А."), bool keysBlocked = false)
        : session({rig.files.path(""), trainee, QStringLiteral("0.1"), rig.s().TxtCHL.text(),
                   std::move(exercise)},
                  rig.clock, stopwatch, alarm, rig.messages) {
        if (keysBlocked) rig.files.writeBytes(QStringLiteral("keys"), "not a folder");
        session.listenTo(*rig.reg);
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
    bool closedEarly;   // the panel closes before the exercise is over
    const char* line;   // the results line, after the date and time
    qint64 shownMs;     // the time spent: up to the last verdict, the close or the time limit
    qint64 limitMs = 0; // a time limit set on the sample; 0: the file's own
    const char* verdicts = ""; // when given: of every item, joined by " | "
    bool timeUp = false;       // the trainee is told that the time is up
};

const char* const kExamRight1 = "4 5 . 5 0 ВВ = НЛ 4 5 . 5 0 ВВ ";
const char* const kExamRight2 = "3Т 1 2 0 ВВ 4С 3 0 ВВ = НЛ 2 0 0 ВВ ";

const SessionCase kSessions[] = {
    {"finished_right", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ", false,
     "Иванова А.;Покупка без сдачи;1;1;5;14;0;0;выполнено;;нет;;", 5600},
    {"finished_wrong_department", "02_otdely_so_sdachei",
     "4 5 . 5 0 ВВ 1 2 0 ВВ 1Д 3 4 . 2 5 ВВ = НЛ 5 0 0 ВВ", false,
     "Иванова А.;Несколько отделов со сдачей;0;1;9;23;0;0;выполнено;не тот отдел;нет;;", 9200},
    {"finished_then_keys_after", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ 5 СБ", false,
     "Иванова А.;Покупка без сдачи;1;1;5;14;0;0;выполнено;;нет;;", 5600},
    {"finished_then_a_receipt_after", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ 5 ВВ = ВВ",
     false, "Иванова А.;Покупка без сдачи;1;1;5;14;0;0;выполнено;;нет;;", 5600},
    {"abandoned_midway", "03_oshibka_sb", "6 4 ВВ СБ 3Т 6 4", true,
     "Иванова А.;Ошибка, исправленная СБ;1;2;62;7;1;0;прервано;не выполнено;нет;;", 62800},
    {"abandoned_untouched", "09_otchet", "", true,
     "Иванова А.;Отчёт за смену;0;3;60;0;0;0;прервано;не выполнено (3);нет;;", 60000},

    // A time limit: the work done in time stands, the rest is undone when the time is up.
    {"timed_finished_in_time", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ", false,
     "Иванова А.;Покупка без сдачи;1;1;5;14;0;0;выполнено;;нет;;", 5600, 60'000, "✔"},
    {"time_up_while_idle", "09_otchet", "1 0 0 ВВ = НЛ 1 0 0 ВВ", false,
     "Иванова А.;Отчёт за смену;1;3;30;10;0;0;прервано: время вышло;не выполнено (2);нет;;", 30'000,
     30'000, "✔ | ✘ не выполнено | ✘ не выполнено", true},
    // The eighth key (НЛ) comes after the limit, before the alarm: it and the rest count for
    // nothing.
    {"keys_after_the_limit_count_for_nothing", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ",
     false, "Иванова А.;Покупка без сдачи;0;1;3;7;0;0;прервано: время вышло;чек не закрыт;нет;;",
     3000, 3000, "✘ чек не закрыт: оплата не принята (ВВ)", true},

    // Exams: passed with as many right as the mark asks, also when the time runs out.
    {"exam_passed_by_the_mark", "11_ekzamen", "${1}${2}2В 9 9 . 0 ВВ = %", false,
     "Иванова А.;Экзамен: три покупки;2;3;14;37;0;0;выполнено;не та сумма;да;да;", 14'800, 0,
     "✔ | ✔ | ✘ строка 1: сумма 99.00, а нужно 99.90"},
    {"exam_not_passed", "11_ekzamen", "${1}3Т 1 2 0 ВВ = НЛ 2 0 0 ВВ 9 9 . 9 ВВ = %", false,
     "Иванова А.;Экзамен: три покупки;1;3;12;32;0;0;выполнено;не тот отдел, нет строки;да;нет;",
     12'800, 0, "✔ | ✘ нет строки 2: отдел 04, 30.00 | ✘ строка 1: отдел 01, а нужно 02"},
    {"exam_time_up_after_the_mark", "11_ekzamen", "${1}${2}2В 9", false,
     "Иванова А.;Экзамен: три покупки;2;3;20;31;0;0;прервано: время вышло;не выполнено;да;да;",
     20'000, 20'000, "✔ | ✔ | ✘ не выполнено", true},
};

class Session : public testing::TestWithParam<SessionCase> {};

TEST_P(Session, WritesOneResultLineAndLogsEveryKey) {
    const SessionCase& c = GetParam();
    Exercise exercise = sample(c.file);
    if (c.limitMs) exercise.terms.timeLimitMs = c.limitMs;
    WatchedRun run(exercise);
    const QString keys = QString::fromUtf8(c.keys)
                             .replace(QStringLiteral("${1}"), QString::fromUtf8(kExamRight1))
                             .replace(QStringLiteral("${2}"), QString::fromUtf8(kExamRight2));
    run.keys(keys);
    run.stopwatch.ms += 60'000; // the trainee looks at the result, then closes the panel
    run.alarm.ring();           // or the time runs out meanwhile
    if (c.closedEarly) {
        EXPECT_EQ(run.resultLines(), QStringList());
    }
    run.session.end();
    run.session.end(); // the close box and the end of the event loop both end it

    ASSERT_EQ(run.resultLines().size(), 1);
    const QString line = run.resultLines().first();
    const QString expected = QString::fromUtf8(c.line);
    EXPECT_EQ(line.section(u';', 1), expected);
    EXPECT_EQ(run.session.elapsedMs(), c.shownMs);
    ASSERT_TRUE(run.session.result());
    EXPECT_GT(run.changes, 0);
    EXPECT_FALSE(run.alarm.pending); // nothing left to ring at a session that is over
    EXPECT_EQ(run.rig.messages.texts(), c.timeUp ? QStringList{"Время вышло: упражнение окончено.\n"
                                                               "Результат — в окне «Задание»."}
                                                 : QStringList());
    if (*c.verdicts) {
        QStringList verdicts;
        for (const ItemCheck& check : run.session.checker()->checks())
            verdicts << verdictText(check);
        EXPECT_EQ(verdicts.join(QStringLiteral(" | ")), QString::fromUtf8(c.verdicts));
    }
    // No row does extra work before its result; what comes after it is not shown.
    EXPECT_EQ(run.session.checker()->extras(), QStringList());

    const KeyLogRead log = readKeyLog(run.session.keyLogPath());
    ASSERT_TRUE(log.log) << log.error.toStdString();
    const QStringList captions = keys.split(u' ', Qt::SkipEmptyParts);
    ASSERT_EQ(log.log->entries.size(), captions.size());
    for (qsizetype i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(log.log->entries[i].key, keysOf(captions[i]).at(0)) << i;
        EXPECT_EQ(log.log->entries[i].ms, 400 * (i + 1)) << i;
    }
    const KeyLogHead& head = log.log->head;
    EXPECT_EQ(QStringList({head.trainee, head.exercise, head.receiptHeader,
                           head.started.toString(Qt::ISODate)}),
              QStringList({"Иванова А.", expected.section(u';', 1, 1), kDefaultHeader,
                           "2026-12-05T21:30:15"}));
}

INSTANTIATE_TEST_SUITE_P(Exercises, Session, testing::ValuesIn(kSessions), rowName);

// An early ring is set again for what is left; a close after the limit is written as time up.
TEST(TimeLimit, TheStopwatchDecidesWhenTheTimeIsUp) {
    Exercise exercise = sample("01_bez_sdachi");
    exercise.terms.timeLimitMs = 10'000;
    WatchedRun run(exercise);
    run.stopwatch.ms = 9'700;
    ASSERT_TRUE(run.alarm.ring());
    EXPECT_FALSE(run.session.result());
    EXPECT_EQ(run.session.remainingMs(), 300);
    run.stopwatch.ms = 12'000;
    run.session.end();
    EXPECT_EQ(run.alarm.delays, QList<qint64>({10'000, 300}));
    EXPECT_EQ(run.resultLines(),
              QStringList{"2026-12-05 21:30:15;Иванова А.;Покупка без сдачи;0;1;10;0;0;0;"
                          "прервано: время вышло;не выполнено;нет;;"});
    EXPECT_EQ(run.rig.messages.texts(), QStringList()); // no box while the panel closes
}

// --record: the keys and the typed header go to the log; no result without an exercise.
TEST(RecordedRun, LogsKeysAndTypingWithoutAResult) {
    WatchedRun run(std::nullopt, {});
    run.keys(QStringLiteral("КР 3Т"));
    run.rig.reg->editHeader(0, 0, u"А");
    run.rig.reg->editHeader(1, 0, u"Б");
    run.rig.reg->indicatorEdited(QStringLiteral("12"));
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
    WatchedRun run(sample("01_bez_sdachi"), {}, /*keysBlocked=*/true);
    run.keys(QStringLiteral("7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ"));
    const QStringList told = run.rig.messages.texts();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains(QStringLiteral("журнал клавиш не ведётся")));
    EXPECT_TRUE(run.session.result() && run.session.result()->right == 1);
}

} // namespace
