// Exercises written by doing them: recorded on a real register, written and read back.

#include "exercises/exercise_file.h"
#include "exercises/exercise_recorder.h"
#include "exercises/exercise_writer.h"
#include "support/named_rows.h"
#include "support/trainee.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

QString workOf(const QList<ExerciseItem>& items) {
    QStringList out;
    for (const ExerciseItem& item : items)
        out << describeItem(item);
    return out.join(QStringLiteral(" | "));
}

// The work the recorder took down while the keys were rung up.
QList<ExerciseItem> recorded(const QString& keys, const QString& typed = {}) {
    ExerciseRecorder recorder;
    RegisterRig rig;
    rig.reg->addListener(recorder);
    work(rig, keys, typed);
    return recorder.work();
}

struct RecordCase : NamedRow {
    const char* keys;
    const char* work; // read back from the written file, joined by " | "
    const char* typed = "";
};

const RecordCase kRecords[] = {
    {"slips_are_no_work", "5 / 0 = СБ СБ 1 2 СБ 2В 2 3 0 ВВ = НЛ 2 0 0 ВВ 2 5 0 ВВ",
     "Чек: отдел 02 — 230.00; наличными, внесено 200.00, затем 250.00"},
    {"return_beside_a_sale", "2В ВТ 4 5 0 ВВ 1Д 5 ВВ = ВВ",
     "Чек: возврат, отдел 02 — 450.00, отдел 01 — 5.00; закрыть без оплаты"},
    {"report_2v_counts_the_run", "1 ВВ = ВВ КЗ 2В КЗ НЛ 3 ВВ = ВВ",
     "Чек: отдел 01 — 1.00; закрыть без оплаты | Отчёт 2В: 1.00 | Внесение наличных: 3.00"},
    {"cancel_between_receipts", "1 ВВ = % 2 ВВ СБ 3 ВВ = %",
     "Чек: отдел 01 — 1.00; оплата картой | Отмена чека клавишей СБ | Чек: отдел 01 — 3.00; "
     "оплата картой"},
    // Quotes and backslashes in the header survive the file; centring spaces and the empty
    // last line do not count.
    {"header_quotes_and_backslash", "КР 3Т ⌨ КР",
     "Новое клише: \"Ромашка\" \\ 1 /  / ИНН \\\"2\\\"",
     "  \"Ромашка\" \\ 1\r\n\r\nИНН \\\"2\\\"\r\n\r\n"},
};

class Recorded : public testing::TestWithParam<RecordCase> {};

TEST_P(Recorded, WritesTheWorkDone) {
    const RecordCase& c = GetParam();
    const QList<ExerciseItem> done =
        recorded(QString::fromUtf8(c.keys), QString::fromUtf8(c.typed));
    const ExerciseLoad written = parseExercise(exerciseToml(recordedExercise(done)), "new.toml");
    ASSERT_TRUE(written.exercise) << written.error.toStdString();
    EXPECT_EQ(workOf(written.exercise->items), QString::fromUtf8(c.work));
}

INSTANTIATE_TEST_SUITE_P(Work, Recorded, testing::ValuesIn(kRecords), rowName);

// The layout an instructor meets on opening the file: as the samples are written.
TEST(ExerciseToml, WrittenAsTheSamplesAre) {
    ExerciseItem receipt;
    receipt.receipt = {{{2, 23000, false}, {5, 3425, true}}, Payment::Cash, {20000, 25000}};
    ExerciseItem report;
    report.kind = ItemKind::Report;
    report.reportTotal = 26575;
    EXPECT_EQ(QString::fromUtf8(exerciseToml(recordedExercise({receipt, report}))),
              "# Упражнение, записанное на кассе. Название и задание можно исправить;\n"
              "# работа ожидается в том порядке, в котором записана ниже.\n"
              "title = \"Новое упражнение\"\ntask = \"\"\"\n1. Пробейте чек: отдел 02 — 230.00 "
              "₽, "
              "возврат: отдел 05 — 34.25 ₽; покупатель платит "
              "наличными: "
              "даёт "
              "200.00 "
              "₽ "
              "(мало "
              "денег), затем 250.00 ₽.\n2. Снимите отчёт 1Д в режиме КЗ: "
              "сумма "
              "за "
              "смену "
              "265.75 "
              "₽."
              "\n\"\"\"\n\n# Чек: его строки (отдел, сумма) и оплата.\n[[receipt]]\nline = [\n"
              "  { department = 2, amount = \"230.00\" },\n"
              "  { department = 5, amount = \"34.25\", return = true },\n]\nclose = \"cash\"\n"
              "tendered = [\"200.00\", \"250.00\"]\n\n# Отчёт в режиме КЗ и сумма за смену в нём.\n"
              "[[report]]\nkey = \"1Д\"\ntotal = \"265.75\"\n");
}

struct SaveCase : NamedRow {
    const char* keys;           // rung up before the save
    const char* existing;       // a file already named so (written after the start), or null
    bool folderGone = false;    // the folder was removed meanwhile
    const char* message = "";   // @ stands for the folder
    const char* writtenAs = ""; // the file the work went to; empty: none
};

const SaveCase kSaves[] = {
    {"written", "5 ВВ = ВВ", nullptr, false,
     "Упражнение записано в файл @/new.toml.\nНазвание и задание в нём можно исправить в любом "
     "текстовом редакторе.",
     "new.toml"},
    {"nothing_done", "1 2 СБ", nullptr, false,
     "Упражнение не записано: на кассе не закрыт ни один чек, не снят отчёт и не изменено клише."},
    {"file_appeared_meanwhile", "5 ВВ = ВВ", "чужое", false,
     "Упражнение записано в файл @/new-2.toml.\nФайл @/new.toml появился, пока шла работа, и не "
     "тронут.\nНазвание и задание в нём можно исправить в любом текстовом редакторе.",
     "new-2.toml"},
    {"folder_gone", "5 ВВ = ВВ", nullptr, true,
     "Не удалось записать файл @/new.toml: нет такого каталога.\nУпражнение не записано.\nНажатия "
     "клавиш сохранены в /k/1.keys: их можно показать снова (tarvel --replay) и повторить работу."},
    // Kept for the instructor to correct: doing the work again would cost more.
    {"work_the_reader_refuses", "ВВ = ВВ", nullptr, false,
     "Упражнение записано в файл @/new.toml.\nНазвание и задание в нём можно исправить в любом "
     "текстовом редакторе.\nНо сначала исправьте в нём ошибку, иначе упражнение не запустится:\n"
     "Упражнение «new.toml», строка 10: сумма должна быть больше нуля.",
     "new.toml"},
};

class Saved : public testing::TestWithParam<SaveCase> {};

TEST_P(Saved, TellsWhereTheWorkWent) {
    const SaveCase& c = GetParam();
    const QList<ExerciseItem> done = recorded(QString::fromUtf8(c.keys));
    TempDataDir dir;
    const QString folder = c.folderGone ? dir.path("gone") : dir.folder();
    if (c.existing) dir.writeBytes("new.toml", c.existing);

    const SavedExercise saved =
        saveRecordedExercise(done, folder + "/new.toml", QStringLiteral("/k/1.keys"));
    EXPECT_EQ(saved.message, QDir::toNativeSeparators(QString::fromUtf8(c.message))
                                 .replace(QLatin1Char('@'), QDir::toNativeSeparators(folder)));
    EXPECT_EQ(saved.written, *c.writtenAs != 0);
    EXPECT_EQ(QDir(dir.folder()).entryList({"*.toml"}).size(),
              qsizetype(*c.writtenAs != 0) + qsizetype(c.existing != nullptr));
    if (c.existing) {
        EXPECT_EQ(dir.readBytes("new.toml"), QByteArray(c.existing));
    }
    if (*c.writtenAs) {
        EXPECT_EQ(dir.readBytes(c.writtenAs), exerciseToml(recordedExercise(done)));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Saved, testing::ValuesIn(kSaves), rowName);

} // namespace
