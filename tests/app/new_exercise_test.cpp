// `tarvel --new-exercise FILE` around the real panel, offscreen: the instructor's clicks end up
// in FILE when the panel closes, and in a key log beside it.

#include "app/exercise_startup.h"
#include "exercises/exercise_file.h"
#include "exercises/key_log.h"
#include "support/panel_fixture.h"
#include "register/file_messages.h"

#include <QDir>

namespace tarvel::test {
namespace {

using NewExercise = PanelFixture;

TEST_F(NewExercise, ClosingThePanelWritesTheWorkAndKeepsTheKeys) {
    CommandLine options;
    options.newExercise = rig.files.path("новое.toml");
    {
        ExerciseStartup startup(options, rig.files.path(""), rig.messages);
        ASSERT_TRUE(startup.prepare());
        startup.begin(*rig.reg, *window, rig.clock);
        click("4С 1 2 5 0 ВВ = % КЗ 1Д КЗ");
        EXPECT_TRUE(rig.messages.texts().isEmpty());
        startup.end();
        startup.end(); // the program's end after the close box: told once
    }
    expectedMessages = {"Упражнение записано в файл " + shownPath(options.newExercise) +
                        ".\nНазвание и задание в нём можно исправить в любом текстовом "
                        "редакторе."};
    const ExerciseLoad load = readExerciseFile(options.newExercise);
    ASSERT_TRUE(load.exercise) << load.error.toStdString();
    QStringList work;
    for (const ExerciseItem& item : load.exercise->items)
        work << describeItem(item);
    EXPECT_EQ(work, QStringList({"Чек: отдел 04 — 1250.00; оплата картой", "Отчёт 1Д: 1250.00"}));

    const QStringList logs = QDir(rig.files.path("keys")).entryList(QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    const KeyLogRead log = readKeyLog(rig.files.path("keys/" + logs.first()));
    ASSERT_TRUE(log.log) << log.error.toStdString();
    EXPECT_EQ(log.log->entries.size(), 11);
}

} // namespace
} // namespace tarvel::test
