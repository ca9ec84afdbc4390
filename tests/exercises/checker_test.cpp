// The sample exercises rung up on a real register: right keys pass, each mistake gets its ✘.

#include "exercises/checker.h"
#include "exercises/differences.h"
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

struct CheckCase : NamedRow {
    const char* file; // in data/exercises
    const char* keys;
    const char* verdicts; // of every item, joined by " | "
    const char* mistakes; // their kinds, as results.csv keeps them
    int right;
    int faults = 0;
    const char* extras = "";
    bool abandon = false;
    const char* typed = "";
};

const CheckCase kCases[] = {
    // The right keys of every sample exercise.
    {"exact_money", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ", "✔", "", 1},
    {"departments_with_change", "02_otdely_so_sdachei",
     "4 5 . 5 0 ВВ 2В 1 2 0 ВВ 1Д 1Д 3 4 . 2 5 ВВ = НЛ 5 0 0 ВВ", "✔", "", 1},
    {"mistake_cancelled", "03_oshibka_sb", "6 4 ВВ СБ 3Т 6 4 ВВ 1 8 . 5 ВВ = НЛ 1 0 0 ВВ", "✔ | ✔",
     "", 2},
    {"return", "04_vozvrat", "2В ВТ 4 5 0 ВВ = ВВ", "✔", "", 1},
    {"cash_in_and_out", "05_vnesenie_inkassaciya", "НЛ 1 0 0 0 ВВ = ВВ - НЛ 5 0 0 ВВ = ВВ", "✔ | ✔",
     "", 2},
    {"card", "06_karta", "4С 1 2 5 0 ВВ 3 4 9 . 9 ВВ = %", "✔", "", 1},
    {"calculator", "07_kalkulyator", "3 Х 2 5 . 5 0 ВВ = НЛ 1 0 0 ВВ", "✔", "", 1},
    {"short_then_right_as_asked", "08_malo_deneg", "2В 2 3 0 ВВ = НЛ 2 0 0 ВВ 2 5 0 ВВ", "✔", "", 1,
     1},
    {"shift_report", "09_otchet", "1 0 0 ВВ = НЛ 1 0 0 ВВ 2В 2 5 0 ВВ = % КЗ 1Д КЗ", "✔ | ✔ | ✔",
     "", 3},
    {"new_header", "10_novoe_klishe", "КР 3Т ⌨ КР 1Д 9 9 . 5 ВВ = НЛ 1 0 0 ВВ", "✔ | ✔", "", 2, 0,
     "", false, "  ООО «РОМАШКА»\r\nИНН 7701234567\r\n******************\r\n"},
    {"exam", "11_ekzamen",
     "4 5 . 5 0 ВВ = НЛ 4 5 . 5 0 ВВ 3Т 1 2 0 ВВ 4С 3 0 ВВ = НЛ 2 0 0 ВВ 2В 9 9 . 9 ВВ = %",
     "✔ | ✔ | ✔", "", 3},
    // A fault on the way is counted, the work is still right.
    {"division_by_zero_then_right", "07_kalkulyator", "5 / 0 = СБ 3 Х 2 5 . 5 0 ВВ = НЛ 1 0 0 ВВ",
     "✔", "", 1, 1},

    // The typical mistakes, each with its kind.
    {"wrong_department", "02_otdely_so_sdachei",
     "4 5 . 5 0 ВВ 1 2 0 ВВ 1Д 3 4 . 2 5 ВВ = НЛ 5 0 0 ВВ", "✘ строка 2: отдел 01, а нужно 02",
     "не тот отдел", 0},
    {"wrong_amount", "01_bez_sdachi", "7 8 . 0 5 ВВ = НЛ 7 8 . 5 0 ВВ",
     "✘ строка 1: сумма 78.05, а нужно 78.50", "не та сумма", 0},
    {"missing_total", "01_bez_sdachi", "7 8 . 5 0 ВВ НЛ 7 8 . 5 0 ВВ",
     "✘ чек не закрыт: не нажата клавиша «=» (ИТОГО); лишняя строка 2: отдел 01, 78.50",
     "лишняя строка, чек не закрыт", 0, 0, "", true},
    {"payment_not_taken", "01_bez_sdachi", "7 8 . 5 0 ВВ = НЛ",
     "✘ чек не закрыт: оплата не принята (ВВ)", "чек не закрыт", 0, 0, "", true},
    {"cash_not_tendered", "07_kalkulyator", "3 Х 2 5 . 5 0 ВВ = ВВ",
     "✘ сдача не выдана: чек закрыт без оплаты наличными", "не та сдача", 0},
    {"short_money_then_right_amount", "07_kalkulyator", "3 Х 2 5 . 5 0 ВВ = НЛ 5 0 ВВ 1 0 0 ВВ",
     "✘ мало денег: сначала внесено 50.00", "мало денег", 0, 1},
    {"wrong_tender", "07_kalkulyator", "3 Х 2 5 . 5 0 ВВ = НЛ 8 0 ВВ",
     "✘ внесено 80.00, а нужно 100.00", "не та сдача", 0},
    {"no_short_tender_when_asked", "08_malo_deneg", "2В 2 3 0 ВВ = НЛ 2 5 0 ВВ",
     "✘ не было неполной оплаты: сначала нужно внести 200.00", "мало денег", 0},
    {"return_not_marked", "04_vozvrat", "2В 4 5 0 ВВ = ВВ",
     "✘ строка 1: не отмечен возврат (ВТ перед ВВ)", "возврат не отмечен", 0},
    {"sale_marked_as_return", "01_bez_sdachi", "ВТ 7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ",
     "✘ строка 1: отмечен возврат (ВТ), а это продажа", "лишний возврат", 0},
    {"cash_instead_of_card", "06_karta", "4С 1 2 5 0 ВВ 3 4 9 . 9 ВВ = НЛ 2 0 0 0 ВВ",
     "✘ чек оплачен наличными, а нужно оплатить картой (%)", "не та оплата", 0},
    {"missing_line", "06_karta", "4С 1 2 5 0 ВВ = %", "✘ нет строки 2: отдел 04, 349.90",
     "нет строки", 0},
    {"not_cancelled", "03_oshibka_sb", "3Т 6 4 ВВ 1 8 . 5 ВВ = НЛ 1 0 0 ВВ",
     "✘ чек не отменён клавишей СБ | ✔", "чек не отменён", 1},
    {"cash_out_without_minus", "05_vnesenie_inkassaciya", "НЛ 1 0 0 0 ВВ = ВВ НЛ 5 0 0 ВВ = ВВ",
     "✔ | ✘ отмечено внесение, а нужна инкассация: перед НЛ нажмите «-»",
     "ошибка внесения/инкассации", 1},
    {"cash_in_wrong_amount", "05_vnesenie_inkassaciya", "НЛ 1 0 0 ВВ = ВВ - НЛ 5 0 0 ВВ = ВВ",
     "✘ сумма 100.00, а нужно 1000.00 | ✔", "не та сумма", 1},
    {"sale_instead_of_cash_in", "05_vnesenie_inkassaciya", "1 0 0 0 ВВ = ВВ",
     "✘ нет отметки внесения наличных: НЛ перед суммой | ✘ не выполнено",
     "ошибка внесения/инкассации, не выполнено", 0, 0, "", true},
    {"other_report", "09_otchet", "1 0 0 ВВ = НЛ 1 0 0 ВВ 2В 2 5 0 ВВ = % КЗ 2В КЗ",
     "✔ | ✔ | ✘ снят отчёт 2В, а нужно 1Д", "не тот отчёт", 2},
    {"receipt_counted_twice", "09_otchet", "1 0 0 ВВ = = НЛ 1 0 0 ВВ 2В 2 5 0 ВВ = % КЗ 1Д КЗ",
     "✔ | ✔ | ✘ в отчёте 450.00, а нужно 350.00", "не тот отчёт", 2},
    {"report_early_and_extra_receipt", "01_bez_sdachi",
     "КЗ 1Д КЗ 1Д 7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ 5 ВВ = ВВ", "✔", "лишняя работа (2)", 1, 0,
     "лишний отчёт 1Д | лишний чек: отдел 01, 5.00"},
    {"extra_receipt_with_a_return", "01_bez_sdachi",
     "7 8 . 5 0 ВВ = НЛ 7 8 . 5 0 ВВ 5 ВВ ВТ 3 ВВ = ВВ", "✔", "лишняя работа", 1, 0,
     "лишний чек: отдел 01, 5.00; возврат, отдел 01, 3.00"},
    {"header_mistyped", "10_novoe_klishe", "КР 3Т ⌨ КР 1Д 9 9 . 5 ВВ = НЛ 1 0 0 ВВ",
     "✘ строка клише 1: «ООО РОМАШКА», а нужно «ООО «РОМАШКА»»; нет строки клише 3: "
     "«******************» | ✔",
     "не то клише (2)", 1, 0, "", false, "ООО РОМАШКА\r\nИНН 7701234567\r\n"},
    {"report_skipped", "09_otchet", "1 0 0 ВВ = НЛ 1 0 0 ВВ 2В 2 5 0 ВВ = % 1 ВВ = ВВ",
     "✔ | ✔ | ✘ отчёт не снят: вместо него закрыт чек", "отчёт не снят, лишняя работа", 2, 0,
     "лишний чек: отдел 02, 1.00"},
    {"report_not_taken", "09_otchet", "1 0 0 ВВ = НЛ 1 0 0 ВВ 2В 2 5 0 ВВ = %",
     "✔ | ✔ | ✘ не выполнено", "не выполнено", 2, 0, "", true},
    {"header_not_changed", "10_novoe_klishe", "9 9 . 5 ВВ = НЛ 1 0 0 ВВ",
     "✘ клише не изменено: вместо этого закрыт чек | ✔", "не то клише", 1},
};

QString verdictsOf(const ExerciseChecker& checker) {
    QStringList verdicts;
    for (const ItemCheck& check : checker.checks())
        verdicts << verdictText(check);
    return verdicts.join(QStringLiteral(" | "));
}

QString workOf(const QList<ExerciseItem>& items) {
    QStringList out;
    for (const ExerciseItem& item : items)
        out << describeItem(item);
    return out.join(QStringLiteral(" | "));
}

// Right work recorded, written and read back asks for the sample's work; the same keys pass it.
void expectRecordedAsTheSample(const CheckCase& c, const Exercise& sample,
                               const ExerciseRecorder& recorder) {
    const ExerciseLoad written =
        parseExercise(exerciseToml(recordedExercise(recorder.work())), "new.toml");
    ASSERT_TRUE(written.exercise) << written.error.toStdString();
    EXPECT_EQ(workOf(written.exercise->items), workOf(sample.items));
    ExerciseChecker again(*written.exercise);
    RegisterRig rig;
    rig.reg->addListener(again);
    work(rig, QString::fromUtf8(c.keys), QString::fromUtf8(c.typed));
    EXPECT_EQ(verdictsOf(again), QString::fromUtf8(c.verdicts));
    EXPECT_EQ(again.extras(), QStringList());
}

class Checker : public testing::TestWithParam<CheckCase> {};

TEST_P(Checker, GivesVerdicts) {
    const CheckCase& c = GetParam();
    const ExerciseLoad load =
        readExerciseFile(QStringLiteral(TARVEL_SOURCE_DIR "/data/exercises/%1.toml").arg(c.file));
    ASSERT_TRUE(load.exercise) << load.error.toStdString();
    ExerciseChecker checker(*load.exercise);
    ExerciseRecorder recorder;
    RegisterRig rig;
    rig.reg->addListener(checker);
    rig.reg->addListener(recorder);
    work(rig, QString::fromUtf8(c.keys), QString::fromUtf8(c.typed));
    if (c.abandon) checker.abandon();

    EXPECT_EQ(verdictsOf(checker), QString::fromUtf8(c.verdicts));
    EXPECT_EQ(checker.extras().join(QStringLiteral(" | ")), QString::fromUtf8(c.extras));
    const ExerciseResult result = checker.result(65'400);
    EXPECT_EQ(result.right, c.right);
    EXPECT_EQ(result.faults, c.faults);
    EXPECT_EQ(result.completed, !c.abandon);
    EXPECT_EQ(mistakeSummary(result.mistakes), QString::fromUtf8(c.mistakes));
    EXPECT_EQ(result.keyPresses,
              QString::fromUtf8(c.keys).remove(u'⌨').split(u' ', Qt::SkipEmptyParts).size());
    if (!*c.mistakes && !*c.extras) expectRecordedAsTheSample(c, *load.exercise, recorder);
}

INSTANTIATE_TEST_SUITE_P(SampleExercises, Checker, testing::ValuesIn(kCases), rowName);

// Spaces at either end of a header line only centre it, in the exercise file as on the tape.
TEST(HeaderLines, SpacesThatCentreALineAreNotCounted) {
    const std::tuple<QStringList, QString, Differences> cases[] = {
        {{"  ООО «РОМАШКА»  ", "\tИНН 1"}, "ООО «РОМАШКА»\r\nИНН 1\r\n", {}},
        {{"ООО «РОМАШКА»", "ИНН 1"}, "   ООО «РОМАШКА»\r\n\tИНН 1  \r\n", {}},
        {{" ИНН 1 "},
         " ИНН 2 \r\n",
         {{MistakeKind::WrongHeader, "строка клише 1: «ИНН 2», а нужно «ИНН 1»"}}},
    };
    for (const auto& [expected, saved, differences] : cases)
        EXPECT_EQ(headerDifferences(expected, saved), differences) << saved.toStdString();
}

TEST(CheckerResult, ToldInWords) {
    const ExerciseResult result{
        .right = 3, .total = 4, .seconds = 125, .keyPresses = 57, .clearPresses = 2, .faults = 1};
    EXPECT_EQ(resultText(result), QStringLiteral("Верно 3 из 4. Время 2 мин 05 с. Нажатий клавиш "
                                                 "57, из них СБ 2. Ошибок 1."));
}

// Nothing is left unchecked: every sample file loads and lists at least one piece of work.
TEST(SampleExercises, AllLoad) {
    const QDir dir(QStringLiteral(TARVEL_SOURCE_DIR "/data/exercises"));
    const QStringList files = dir.entryList({QStringLiteral("*.toml")});
    EXPECT_EQ(files.size(), 12);
    for (const QString& file : files) {
        const ExerciseLoad load = readExerciseFile(dir.filePath(file));
        EXPECT_TRUE(load.exercise && !load.exercise->items.isEmpty()) << load.error.toStdString();
    }
}

} // namespace
