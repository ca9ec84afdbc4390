// The window "Задание" beside the real panel, and exercises and replays started from bad files.

#include "app/exercise_startup.h"
#include "exercises/exercise_file.h"
#include "support/named_rows.h"
#include "support/panel_fixture.h"
#include "support/trainee.h"
#include "ui/exercise_chooser.h"
#include "ui/exercise_window.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

namespace tarvel::test {
namespace {

const char* const kTwoReceipts =
    "title = \"Два чека\"\ntask = \"Пробейте два чека.\"\n"
    "[[receipt]]\nline = [{department = 1, amount = \"5\"}]\nclose = \"plain\"\n"
    "[[receipt]]\nline = [{department = 2, amount = \"7\"}]\n"
    "close = \"cash\"\ntendered = \"10\"\n";

const char* const kFirstRight = "Command5 CommandVV CommandEnter CommandVV";
const char* const kBothDone = "Command5 CommandVV CommandEnter CommandVV Command7 CommandVV "
                              "CommandEnter NL Command1 Command0 CommandVV";
const QString kItems = "1. Чек: отдел 01 — 5.00; закрыть без оплаты | 2. Чек: отдел 02 — 7.00; "
                       "наличными, внесено 10.00";
const QString kOneRight = QString(kItems).replace(" | ", "\n✔ | ");
const QString kWrongDepartment = kOneRight + "\n✘ строка 1: отдел 01, а нужно 02";
const QString kNotDone = kOneRight + "\n✘ не выполнено";
const QString kDone = "Упражнение выполнено. Верно 1 из 2. Время 1 мин 05 с. Нажатий клавиш 11, из "
                      "них СБ 0. Ошибок 0.";
const QString kTimeUp = "Время вышло: упражнение прервано. Верно 1 из 2. Время 2 мин 00 с. Нажатий "
                        "клавиш 4, из них СБ 0. Ошибок 0.";
const QByteArray kExam = "time_limit = \"2:00\"\nexam = true\n";

struct WindowCase : NamedRow {
    QByteArray terms;   // keys written above the work
    const char* clicks; // the panel's keys by control name, at 1:05
    QString checklist;  // the rows, joined by " | "
    QString result;     // empty: not shown yet
    QString clock;      // once the stopwatch has gone on to 16:39
    bool ring = false;  // then the time limit's alarm rings
};

const WindowCase kWindows[] = {
    {"nothing_done", "", "", kItems, "", "Время: 16:39"},
    {"first_receipt_right", "", kFirstRight, kOneRight, "", "Время: 16:39"},
    {"second_in_the_wrong_department", "", kBothDone, kWrongDepartment, kDone, "Время: 1:05"},
    // A time limit: the clock counts down, the verdicts come as usual.
    {"timed_time_up", "time_limit = \"2:00\"\n", kFirstRight, kNotDone, kTimeUp, "Осталось: 0:00",
     true},
    // An exam: no verdict and no result until the work is done or the time is up.
    {"exam_verdict_hidden", kExam + "pass = 1\n", kFirstRight, kItems, "", "Осталось: 0:00"},
    {"exam_all_shown_when_done", kExam + "pass = 1\n", kBothDone, kWrongDepartment,
     kDone + " Экзамен сдан.", "Осталось: 0:55"},
    {"exam_all_shown_when_time_is_up", kExam, kFirstRight, kNotDone,
     kTimeUp + " Экзамен не сдан: нужно верно 2.", "Осталось: 0:00", true},
};

// A list's rows joined by " | ", a greyed one marked.
QString rowsOf(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text() +
                    (list->item(i)->flags() & Qt::ItemIsEnabled ? "" : " (серое)");
    return rows.join(" | ");
}

// The visible top-level window of that name, or nullptr.
QWidget* shownWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == name) return w;
    return nullptr;
}

class ExerciseWindowRows : public PanelFixture, public testing::WithParamInterface<WindowCase> {};

TEST_P(ExerciseWindowRows, ShowsVerdictsAsReceiptsClose) {
    const WindowCase& c = GetParam();
    const QByteArray text = QByteArray(kTwoReceipts).replace("task", c.terms + "task");
    const ExerciseLoad load = parseExercise(text, QStringLiteral("два.toml"));
    ASSERT_TRUE(load.exercise) << load.error.toStdString();
    ManualStopwatch stopwatch;
    ManualAlarm alarm;
    ExerciseSession session(
        {rig.files.path(""), QStringLiteral("Иванова"), "0.1", s().TxtCHL.text(), *load.exercise},
        rig.clock, stopwatch, alarm, rig.messages);
    session.listenTo(*rig.reg);
    session.begin();
    ExerciseWindow shown(session);
    session.setOnChange([&] { shown.render(); });
    shown.show();
    auto* clock = shown.findChild<QLabel*>("TimeSpent");
    if (!c.terms.isEmpty()) {
        EXPECT_EQ(clock->text(), QStringLiteral("Осталось: 2:00"));
    }
    stopwatch.ms = 65'300;
    click(QString::fromLatin1(c.clicks));
    stopwatch.ms = 999'000;
    if (c.ring) {
        ASSERT_TRUE(alarm.ring());
        expectedMessages = {"Время вышло: упражнение окончено.\nРезультат — в окне «Задание»."};
    }

    EXPECT_EQ(shown.windowTitle(), QStringLiteral("Задание"));
    EXPECT_EQ(shown.findChild<QLabel*>("ExerciseTitle")->text(), QStringLiteral("Два чека"));
    EXPECT_EQ(shown.findChild<QLabel*>("Terms")->isVisible(), !c.terms.isEmpty());
    EXPECT_EQ(shown.findChild<QPlainTextEdit*>("TaskText")->toPlainText(),
              QStringLiteral("Пробейте два чека."));
    auto* checklist = shown.findChild<QListWidget*>("Checklist");
    EXPECT_EQ(rowsOf(checklist), c.checklist);
    if (c.checklist.contains(u'✘')) {
        EXPECT_EQ(checklist->item(1)->foreground().color(), QColor(180, 0, 0));
    }
    auto* result = shown.findChild<QLabel*>("ResultText");
    EXPECT_EQ(result->isVisible(), !c.result.isEmpty());
    if (result->isVisible()) {
        EXPECT_EQ(result->text(), c.result);
    }
    shown.render(); // the clock runs until the end, then stands
    EXPECT_EQ(clock->text(), c.clock);
}

INSTANTIATE_TEST_SUITE_P(Work, ExerciseWindowRows, testing::ValuesIn(kWindows), rowName);

struct StartCase : NamedRow {
    const char* fileText; // written as the exercise file; nullptr: an empty folder is named
    const char* message;  // the start of the message shown
};

const StartCase kStarts[] = {
    {"not_toml", "title = \"А\"\ntask = \n", "Упражнение «плохое.toml», строка 2"},
    {"empty_folder", nullptr, "В папке "},
};

class ExerciseStartRows : public PanelFixture, public testing::WithParamInterface<StartCase> {};

// The message names the file and the line; the panel then works without an exercise.
TEST_P(ExerciseStartRows, UnusableExerciseIsToldAndThePanelRuns) {
    TempDataDir folder;
    CommandLine options;
    options.exercise = folder.folder();
    if (const char* text = GetParam().fileText) {
        options.exercise = folder.path(QStringLiteral("плохое.toml"));
        folder.writeBytes(QStringLiteral("плохое.toml"), text);
    }
    ExerciseStartup startup(options, rig.files.path(""), rig.messages);
    const Started<DataDir> prepared = startup.prepare();
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->path(), rig.files.path(""));
    startup.begin(*rig.reg, *window, rig.clock);

    ASSERT_EQ(rig.messages.texts().size(), 1);
    EXPECT_TRUE(rig.messages.texts()[0].startsWith(QString::fromUtf8(GetParam().message)))
        << rig.messages.texts()[0].toStdString();
    EXPECT_TRUE(rig.messages.texts()[0].endsWith(QStringLiteral("Касса работает без упражнения.")));
    rig.messages.clear();
    EXPECT_FALSE(shownWindow("Exercise"));
    click("Command4 Command2 CommandVV CommandEnter CommandVV");
    EXPECT_TRUE(s().TxtCHLK.text().contains(QStringLiteral("42")));
    EXPECT_FALSE(QDir(rig.files.path("keys")).exists());
}

INSTANTIATE_TEST_SUITE_P(Files, ExerciseStartRows, testing::ValuesIn(kStarts), rowName);

// A replay of a key log written into a scratch folder.
class ReplayStart : public PanelFixture {
  protected:
    ExerciseStartup& startup(const QByteArray& log) {
        folder.writeBytes("k.keys", log);
        CommandLine options;
        options.replay = folder.path("k.keys");
        return started.emplace(options, rig.files.path(""), rig.messages);
    }
    TempDataDir folder;
    std::optional<ExerciseStartup> started;
};

// A key log that cannot be read stops the replay before the register starts.
TEST_F(ReplayStart, UnreadableLogIsTold) {
    const Started<DataDir> prepared = startup("не журнал\n").prepare();
    ASSERT_FALSE(prepared);
    tellStartProblem(prepared.problem(), rig.messages);
    expectedMessages = {"Журнал клавиш «k.keys», строка 1: это не журнал клавиш Tarvel.\n"
                        "Показ записи не начат."};
}

using ChooserAgain = PanelFixture;

// A mistake below the title is told when the file is chosen; the chooser comes back, it greyed.
TEST_F(ChooserAgain, MistakeFoundWhenChosenIsToldAndAnotherChosen) {
    modalWatch_.stop(); // the chooser is expected here
    TempDataDir folder;
    folder.writeBytes("1_плохое.toml",
                      "title = \"Плохое\"\ntask = \"З\"\n[[report]]\nkey = \"3Т\"\n");
    folder.writeBytes("2_два_чека.toml", kTwoReceipts);
    QStringList seen; // each time the chooser shows: its rows and the file ready to start
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* chooser = dynamic_cast<ExerciseChooser*>(QApplication::activeModalWidget());
        if (!chooser) return;
        seen << rowsOf(chooser->findChild<QListWidget*>("ExerciseList")) + " → " +
                    QFileInfo(chooser->chosenPath()).fileName();
        chooser->accept();
    });
    answer.start(20);
    CommandLine options;
    options.exercise = folder.folder();
    ExerciseStartup startup(options, rig.files.path(""), rig.messages);
    ASSERT_TRUE(startup.prepare());
    startup.begin(*rig.reg, *window, rig.clock);

    const QString error = "Упражнение «1_плохое.toml», строка 4: отчёт снимают клавишей \"1Д\" "
                          "или \"2В\".";
    EXPECT_EQ(seen, QStringList({"Плохое | Два чека → 1_плохое.toml",
                                 error + " (серое) | Два чека → 2_два_чека.toml"}));
    expectedMessages = {error + "\nВыберите другое упражнение."};
    EXPECT_TRUE(shownWindow("Exercise"));
}

// A log cut by a power failure plays its whole lines, then tells of the cut.
TEST_F(ReplayStart, CutLogPlaysTheWholeLinesThenTellsTheCut) {
    ASSERT_TRUE(
        startup("Tarvel key log 1\nversion: 0.1\n\n0 Command4\n10 Command2\n20 Comm").prepare());
    started->begin(*rig.reg, *window, rig.clock);
    QWidget* replay = shownWindow("Replay");
    ASSERT_TRUE(replay);
    auto* progress = replay->findChild<QLabel*>("ReplayProgress");
    EXPECT_TRUE(QTest::qWaitFor([&] { return progress->text().startsWith("Показ окончен"); }));
    EXPECT_EQ(progress->text(), "Показ окончен: 2 из 2.\nПоследняя строка записи оборвана (запись "
                                "прервалась, например, при отключении питания): показано всё, "
                                "что записано до неё.");
    EXPECT_TRUE(s().TxtIND.text().contains(QStringLiteral("42")));
}

} // namespace
} // namespace tarvel::test
