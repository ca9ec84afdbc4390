// Exercise files as instructors write them, and as they go wrong.

#include "exercises/exercise_file.h"
#include "exercises/exercise_listing.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const char* const kHead = "title = \"Т\"\ntask = \"Задание\"\n";

// A dotted key of `parts` parts: "a.a.a".
QByteArray dotted(int parts) {
    QByteArray key = "a";
    for (int i = 1; i < parts; ++i)
        key += ".a";
    return key;
}

// "<65>" in a row stands for a key of 65 parts; the other bytes stay as they are.
QByteArray expanded(const char* text) {
    static const QRegularExpression parts(QStringLiteral("<(\\d+)>"));
    QByteArray out(text);
    for (QRegularExpressionMatch m = parts.match(QString::fromLatin1(out)); m.hasMatch();
         m = parts.match(QString::fromLatin1(out)))
        out.replace(m.capturedStart(), m.capturedLength(), dotted(m.captured(1).toInt()));
    return out;
}

struct FileCase : NamedRow {
    const char* body;       // after a title and a task, unless it starts with "!"; see expanded()
    const char* message;    // empty: the file loads
    const char* items = ""; // the checklist of a file that loads, joined by " | "
    const char* terms = ""; // and its terms as the trainee reads them
};

const FileCase kCases[] = {
    {"inline_and_table_lines_in_file_order",
     "[[receipt]]\nclose = \"card\"\n[[receipt.line]]\ndepartment = 4\namount = 12\n"
     "[[receipt.line]]\ndepartment = 8\namount = \"0,5\"\nreturn = true\n"
     "[[report]]\nkey = \"2в\"\n"
     "[[receipt]]\nline = [{department = 1, amount = \"7.5\"}]\nclose = \"cash\"\n"
     "tendered = [\"5\", \"10.00\"]\n",
     "",
     "Чек: отдел 04 — 12.00, возврат, отдел 08 — 0.50; оплата картой | Отчёт 2В | Чек: отдел "
     "01 — 7.50; наличными, внесено 5.00, затем 10.00"},
    {"steps_beside_receipts",
     "[[cash_in]]\namount = \"1000\"\n[[cancel]]\n[[header]]\nlines = [\"А\", \"Б\"]\n"
     "[[cash_out]]\namount = \"500.00\"\n[[report]]\nkey = \"1Д\"\ntotal = \"350\"\n",
     "",
     "Внесение наличных: 1000.00 | Отмена чека клавишей СБ | Новое клише: А / Б | Инкассация: "
     "500.00 | Отчёт 1Д: 350.00"},
    {"byte_order_mark", "!\xEF\xBB\xBFtitle = \"Т\"\ntask = \"З\"\n[[cancel]]\n", "",
     "Отмена чека клавишей СБ"},

    // A backslash ending a line of a multi-line text, the next one starting with a letter.
    {"task_continued_after_backslash",
     "!title = \"Т\"\ntask = \"\"\"\\\n  Покупатель берёт чай\"\"\"\n[[cancel]]\n", "",
     "Отмена чека клавишей СБ"},

    // The terms above the work: a time limit, an exam, its pass mark.
    {"exam_with_limit_and_pass_mark",
     "time_limit = \"10:00\"\nexam = true\npass = 1\n[[cancel]]\n[[cash_in]]\namount = 5\n", "",
     "Отмена чека клавишей СБ | Внесение наличных: 5.00",
     "Экзамен: на всю работу 10:00; оценки видны в конце; для зачёта верно 1 из 2."},
    {"exam_passed_only_with_all_right", "exam = true\n[[cancel]]\n[[cancel]]\n", "",
     "Отмена чека клавишей СБ | Отмена чека клавишей СБ",
     "Экзамен: оценки видны в конце; для зачёта верно 2 из 2."},
    {"timed_over_an_hour", "time_limit = \" 90:05 \"\nexam = false\n[[cancel]]\n", "",
     "Отмена чека клавишей СБ", "На всю работу 1:30:05."},
    {"time_limit_as_a_number", "time_limit = 600\n[[cancel]]\n",
     "строка 3: «time_limit» пишется в кавычках: минуты и секунды, например \"10:00\"."},
    {"time_limit_without_seconds", "time_limit = \"10 мин\"\n[[cancel]]\n",
     "строка 3: «10 мин» — не время: пишите минуты и секунды, например \"10:00\"."},
    {"time_limit_seconds_past_59", "time_limit = \"1:75\"\n[[cancel]]\n",
     "строка 3: в «1:75» секунд больше 59: пишите \"2:15\"."},
    {"time_limit_zero", "time_limit = \"0:00\"\n[[cancel]]\n",
     "строка 3: время на упражнение должно быть больше нуля."},
    {"time_limit_over_ten_hours", "time_limit = \"600:01\"\n[[cancel]]\n",
     "строка 3: время на упражнение не больше 600:00 (10 часов)."},
    {"exam_not_a_flag", "exam = \"да\"\n[[cancel]]\n", "строка 3: «exam» — это true или false."},
    {"pass_mark_without_exam", "exam = false\npass = 1\n[[cancel]]\n",
     "строка 4: «pass» бывает только у экзамена (exam = true)."},
    {"pass_mark_as_text", "exam = true\npass = \"1\"\n[[cancel]]\n",
     "строка 4: «pass» пишется числом: сколько заданий должно быть выполнено верно."},
    {"pass_mark_above_the_work", "exam = true\npass = 3\n[[cancel]]\n[[cancel]]\n",
     "строка 4: «pass» — от 1 до 2 (заданий в упражнении 2), а не 3."},
    {"pass_mark_zero", "exam = true\npass = 0\n[[cancel]]\n",
     "строка 4: «pass» — от 1 до 1 (заданий в упражнении 1), а не 0."},

    // Amounts drawn for each run: as read, each value stands at its lowest.
    {"values_at_their_lowest_in_any_amount",
     "[values]\nb = { from = \"100\", to = \"900\", step = \"1\" }\n"
     "a = { from = \"10.00\", to = \"99.50\", step = \"0.50\" }\n"
     "[[receipt]]\nline = [{department = 1, amount = \"{a}\"}, {department = 2, amount = "
     "\"{b}\"}]\nclose = \"cash\"\ntendered = [\"{a}\", \"1000\"]\n"
     "[[cash_in]]\namount = \"{b}\"\n[[report]]\nkey = \"1Д\"\ntotal = \" {a} \"\n",
     "",
     "Чек: отдел 01 — 10.00, отдел 02 — 100.00; наличными, внесено 10.00, затем 1000.00 | "
     "Внесение наличных: 100.00 | Отчёт 1Д: 10.00"},
    {"banknote_without_values",
     "[[receipt]]\nline = [{department = 1, amount = \"50.01\"}]\nclose = \"cash\"\n"
     "tendered = \"banknote\"\n",
     "", "Чек: отдел 01 — 50.01; наличными, внесено 100.00"},
    {"value_not_defined", "[[cash_in]]\namount = \"{a}\"\n",
     "строка 4: значения «a» нет в [values]."},
    {"value_defined_twice",
     "[values]\na = { from = 1, to = 2, step = 1 }\na = { from = 1, to = 3, step = 1 "
     "}\n[[cancel]]\n",
     "строка 5: это имя уже задано выше: каждое пишется один раз."},
    {"value_from_above_to",
     "[values]\na = { from = \"9\", to = \"1\", step = \"1\" }\n[[cancel]]\n",
     "строка 4: у значения «a» from 9.00 больше to 1.00."},
    {"value_steps_not_whole",
     "[values]\na = { from = \"10.00\", to = \"99.50\", step = \"0.30\" }\n[[cancel]]\n",
     "строка 4: у значения «a» от 10.00 до 99.50 не целое число шагов по 0.30."},
    {"value_step_zero", "[values]\na = { from = \"1\", to = \"2\", step = \"0\" }\n[[cancel]]\n",
     "строка 4: сумма должна быть больше нуля."},
    {"value_without_step", "[values]\na = { from = \"1\", to = \"2\" }\n[[cancel]]\n",
     "строка 4: нет ключа «step» (шаг, например \"0.50\")."},
    {"value_kopecks_beyond_the_display",
     "[values]\na = { from = \"0.50\", to = \"100000.50\", step = \"1\" }\n[[cancel]]\n",
     "строка 4: у значения «a» суммы с копейками длиннее, чем показывает касса"},
    {"value_name_not_latin", "[values]\n\"сумма\" = { from = 1, to = 2, step = 1 }\n[[cancel]]\n",
     "строка 4: имя значения «сумма» — латинские буквы, цифры и «_», первой буквой."},
    {"values_as_a_list", "[[values]]\n[[cancel]]\n",
     "строка 3: «values» — это таблица: пишите [values]."},
    {"title_with_a_value", "!title = \"Чек на {a}\"\ntask = \"З\"\n[[cancel]]\n",
     "строка 1: в названии не бывает значений {…}: оно одно для всех вариантов"},
    {"task_names_no_value", "!title = \"Т\"\ntask = \"Пробейте {a}\"\n[[cancel]]\n",
     "строка 2: в тексте {a}, а значения «a» нет в [values]."},
    {"fixed_tender_short_for_the_highest",
     "[values]\na = { from = \"10\", to = \"60\", step = \"10\" }\n[[receipt]]\nline = "
     "[{department = 1, amount = \"{a}\"}]\nclose = \"cash\"\ntendered = \"50\"\n",
     "строка 8: при a = 60.00: внесено 50.00 меньше итога 60.00: касса ответит «МАЛО ДЕНЕГ!»."},
    // Paid exactly, 10.00 is kept as it is and 10.10 a little above: one variant of many.
    {"exact_tender_short_in_one_variant",
     "[values]\na = { from = \"10.00\", to = \"10.50\", step = \"0.10\" }\n[[receipt]]\nline = "
     "[{department = 1, amount = \"{a}\"}]\nclose = \"cash\"\ntendered = \"{a}\"\n",
     "строка 8: при a = 10.10: касса хранит итог 10.10 чуть больше этих цифр"},

    {"not_toml", "[[receipt]\n", "Упражнение «x.toml», строка 3: ошибка записи TOML ("},
    {"not_utf8", "!title = \"\xCF\xF0\xE8\"\n",
     "Упражнение «x.toml», строка 1: файл не в кодировке UTF-8: сохраните его в UTF-8."},
    {"empty", "!  \n\n", "Упражнение «x.toml»: файл пуст."},
    {"no_work", "", "Упражнение «x.toml»: в упражнении нет ни одного чека ([[receipt]])."},
    {"unknown_key",
     "[[receipt]]\nclose = \"plain\"\n[[receipt.line]]\ndepartmnet = 1\namount = \"5\"\n",
     "Упражнение «x.toml», строка 6: неизвестный ключ «departmnet»."},
    {"unknown_top_key", "[[refund]]\n", "строка 3: неизвестный ключ «refund»."},
    {"department_9", "[[receipt]]\nclose = \"plain\"\nline = [{department = 9, amount = \"5\"}]\n",
     "Упражнение «x.toml», строка 5: отдела 9 нет: отделы с 1 по 8."},
    {"department_as_text",
     "[[receipt]]\nclose = \"plain\"\nline = [{department = \"1\", amount = \"5\"}]\n",
     "строка 5: отдел пишется числом от 1 до 8."},
    {"negative_tender",
     "[[receipt]]\nclose = \"cash\"\ntendered = \"-100\"\nline = [{department = 1, amount = "
     "\"5\"}]\n",
     "Упражнение «x.toml», строка 5: сумма -100 отрицательная."},
    {"short_last_tender",
     "[[receipt]]\nclose = \"cash\"\ntendered = \"50\"\nline = [{department = 1, amount = "
     "\"78.50\"}]\n",
     "строка 5: внесено 50.00 меньше итога 78.50: касса ответит «МАЛО ДЕНЕГ!»."},
    {"earlier_tender_not_short",
     "[[receipt]]\nclose = \"cash\"\ntendered = [\"80\", \"100\"]\nline = [{department = 1, "
     "amount = \"78.50\"}]\n",
     "строка 5: внесено 80.00 при итоге 78.50: чек закрылся бы уже на этой сумме."},
    // 78.90 is kept as 78.9000015: the register itself says the same digits are short.
    {"exact_tender_kept_above_its_digits",
     "[[receipt]]\nclose = \"cash\"\ntendered = \"78.90\"\nline = [{department = 1, amount = "
     "\"78.90\"}]\n",
     "строка 5: касса хранит итог 78.90 чуть больше этих цифр, и ровно 78.90 она сочтёт за "
     "«МАЛО ДЕНЕГ!»: внесите больше."},
    {"no_tender_for_cash", "[[receipt]]\nclose = \"cash\"\nline = [{department = 1, amount = 5}]\n",
     "строка 3: нет ключа «tendered»: сколько денег внесено."},
    {"tender_without_cash",
     "[[receipt]]\nclose = \"card\"\ntendered = \"5\"\nline = [{department = 1, amount = 5}]\n",
     "строка 5: «tendered» бывает только при оплате наличными (close = \"cash\")."},
    {"unknown_close", "[[receipt]]\nclose = \"cheque\"\nline = [{department = 1, amount = 5}]\n",
     "строка 4: способ закрытия «cheque» неизвестен: plain, cash или card."},
    {"receipt_without_lines", "[[receipt]]\nclose = \"plain\"\nline = []\n",
     "строка 3: в чеке нет ни одной строки."},
    {"receipt_as_one_table", "[receipt]\nclose = \"plain\"\n",
     "строка 3: «receipt» — это список: пишите [[receipt]]."},
    {"amount_as_float", "[[cash_in]]\namount = 78.9\n",
     "строка 4: сумма пишется в кавычках, например \"78.90\"."},
    {"amount_not_a_number", "[[cash_in]]\namount = \"78.9.0\"\n",
     "строка 4: «78.9.0» — не сумма: пишите, например, \"78.90\"."},
    {"amount_beyond_the_display", "[[cash_in]]\namount = \"123456.78\"\n",
     "строка 4: сумма 123456.78 длиннее, чем показывает касса (не больше 7 цифр)."},
    {"zero_amount", "[[cash_out]]\namount = \"0.00\"\n",
     "строка 4: сумма должна быть больше нуля."},
    {"report_key", "[[report]]\nkey = \"3Т\"\n",
     "строка 4: отчёт снимают клавишей \"1Д\" или \"2В\"."},
    {"header_line_break", "[[header]]\nlines = [\"А\\nБ\"]\n",
     "строка 4: строка клише — одна строка, без переноса."},

    // Deep keys are counted before the parser, which would run off the stack on them.
    {"deep_dotted_key", "[[cancel]]\n<65> = 1\n",
     "Упражнение «x.toml», строка 4: слишком глубокая вложенность (больше 64 уровней)."},
    {"dotted_key_at_the_limit_goes_to_the_parser", "<64> = 1\n", "строка 3: неизвестный ключ «a»."},
    {"deep_table_header", "[ <20> . <45> ]\n", "строка 3: слишком глубокая вложенность"},
    {"header_and_key_add_up", "[[<40>]]\n<24> = 1\n", "строка 4: слишком глубокая вложенность"},
    {"inline_tables_add_up", "x = [{<31> = {<32> = 1}}]\n",
     "строка 3: слишком глубокая вложенность"},
    {"dots_in_quoted_keys_strings_and_comments",
     "# <99> = 1\n[[header]]\nlines = ['''[<99>] ''''', \"\\\" <99> = 1\", \"\"\"\n"
     "\\\"\"\" <99> = 1\"\"\"\"\"]\n'<99>' = 1\n",
     "строка 7: неизвестный ключ «<99>»."},
    {"deep_look_alikes_in_a_multi_line_task",
     "!title = \"Т\"\ntask = \"\"\"\n[<99>]\n\"\"\"\"\n[[cancel]]\n# [<99>]\n", "",
     "Отмена чека клавишей СБ"},
};

class ExerciseFileParse : public testing::TestWithParam<FileCase> {};

TEST_P(ExerciseFileParse, LoadsOrTellsWhy) {
    const FileCase& c = GetParam();
    const QByteArray body = expanded(c.body);
    const QByteArray text = body.startsWith('!') ? body.mid(1) : kHead + body;
    const ExerciseLoad load = parseExercise(text, QStringLiteral("/some/where/x.toml"));
    const QString message = QString::fromUtf8(expanded(c.message));
    if (message.isEmpty()) {
        ASSERT_TRUE(load.exercise) << load.error.toStdString();
        QStringList items;
        for (const ExerciseItem& item : load.exercise->items)
            items << describeItem(item);
        EXPECT_EQ(items.join(QStringLiteral(" | ")), QString::fromUtf8(c.items));
        EXPECT_EQ(describeTerms(load.exercise->terms, load.exercise->items.size()),
                  QString::fromUtf8(c.terms));
    } else {
        EXPECT_FALSE(load.exercise);
        EXPECT_TRUE(load.error.contains(message))
            << load.error.toStdString() << "\n  lacks " << c.message;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ExerciseFileParse, testing::ValuesIn(kCases), rowName);

// Any letter outside quotes, where the parser looks for spaces, is an error, never a crash.
TEST(ExerciseFileParse, LetterOutsideQuotesIsAnError) {
    for (char32_t c = 0xA1; c < 0xFF00; ++c) {
        const QString letter = QString::fromUcs4(&c, 1);
        if (letter.trimmed().isEmpty() || !letter.at(0).isLetterOrNumber()) continue;
        const QByteArray text = kHead + QStringLiteral("  %1 = 1\n").arg(letter).toUtf8();
        const ExerciseLoad load = parseExercise(text, QStringLiteral("x.toml"));
        ASSERT_FALSE(load.exercise) << int(c);
        ASSERT_TRUE(load.error.startsWith(QStringLiteral("Упражнение «x.toml», строка 3:")))
            << load.error.toStdString();
    }
}

TEST(ExerciseFileRead, MissingOrHugeFileIsTold) {
    TempDataDir dir;
    EXPECT_TRUE(
        readExerciseFile(dir.path("нет.toml"))
            .error.startsWith(QStringLiteral("Упражнение «нет.toml»: не удалось прочитать")));
    dir.writeBytes(QStringLiteral("big.toml"), QByteArray(1024 * 1024 + 1, '#'));
    EXPECT_EQ(readExerciseFile(dir.path("big.toml")).error,
              QStringLiteral("Упражнение «big.toml»: файл больше 1 МБ — это не упражнение."));
}

// The chooser's list in number order by the titles at the top; a file left out says why.
TEST(ExerciseListing, TitlesFromTheTopAndTheReasonAFileIsOut) {
    TempDataDir dir;
    dir.writeBytes(QStringLiteral("10_mistake_below.toml"),
                   kHead + QByteArray("[[receipt]]\nclose = \"cheque\"\n"
                                      "line = [{department = 1, amount = 5}]\n"));
    dir.writeBytes(QStringLiteral("2_good.toml"), "title = \"Первое\"\ntask = \"З\"\n[[cancel]]\n");
    dir.writeBytes(QStringLiteral("3_no_title.toml"), "task = \"З\"\n[[cancel]]\n");
    dir.writeBytes(QStringLiteral("README.md"), "# Упражнения\n");
    const RawNamedFile raw(dir.folder(), "4_\xCF\xF0\xE8.toml", kHead + QByteArray("[[cancel]]\n"));
    const QByteArray key = dotted(35'000);
    dir.writeBytes(QStringLiteral("5_deep_key.toml"), kHead + key + " = 1\n");
    dir.writeBytes(QStringLiteral("6_deep_header.toml"), kHead + ("[[" + key + "]]\n"));

    QStringList rows;
    for (const ListedExercise& e : listExercises(dir.path({})))
        rows << QFileInfo(e.path).fileName() + " | " + e.title + " | " + e.error;
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], "2_good.toml | Первое | ");
    EXPECT_EQ(rows[1], "3_no_title.toml |  | Упражнение «3_no_title.toml», строка 1: нет ключа "
                       "«title» (название упражнения).");
    const QString name = QFileInfo(raw.path()).fileName();
    if (!raw.unreadable()) { // names in UTF-16: the file is simply there
        EXPECT_EQ(rows[2], name + " | Т | ");
    } else {
        EXPECT_EQ(rows[2], name + " |  | Упражнение «" + name +
                               "»: не удалось прочитать файл: имя файла не в кодировке UTF-8, "
                               "открыть его нельзя — переименуйте файл.");
    }
    for (const char* deep : {"5_deep_key.toml", "6_deep_header.toml"}) {
        const QString error = QStringLiteral("Упражнение «%1», строка 3: слишком глубокая "
                                             "вложенность (больше 64 уровней).")
                                  .arg(deep);
        EXPECT_TRUE(rows.contains(QStringLiteral("%1 |  | %2").arg(deep, error))) << deep;
        EXPECT_EQ(readExerciseFile(dir.path(deep)).error, error);
    }
    EXPECT_EQ(rows[5], "10_mistake_below.toml | Т | "); // a mistake below waits for the whole read
}

} // namespace
