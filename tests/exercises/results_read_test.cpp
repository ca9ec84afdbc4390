// results.csv read back for the instructor: old files, open, broken and quoted lines.

#include "exercises/results_file.h"
#include "support/named_rows.h"
#include "support/qt_printing.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

#define BOM "\xEF\xBB\xBF"
#define OLD_COLUMNS                                                                                \
    "Дата и время;Ученик;Упражнение;Верно;Всего;Секунд;Нажатий клавиш;Нажатий СБ;Ошибок;Итог"

const QByteArray kOldHead = BOM OLD_COLUMNS "\r\n";
const QByteArray kHead = BOM OLD_COLUMNS ";Ошибки\r\n";
const QByteArray kCut = "2026-12-05 21:31:00;\"Пет"; // a line cut inside its quoted name

// A whole line as the register writes it.
QByteArray line(const char* trainee, const char* mistakes = "") {
    return QByteArray("2026-12-05 21:30:15;") + trainee + ";Упр;1;2;60;10;0;0;выполнено;" +
           mistakes + "\r\n";
}

struct ReadCase : NamedRow {
    QByteArray bytes;
    const char* rows;   // each row's trainee, [mistakes] and {exam}, joined by " | "
    const char* broken; // each broken line's number and problem
    bool lastLineOpen = false;
};

const ReadCase kFiles[] = {
    {"empty", "", "", ""},
    {"only_the_header", kHead, "", ""},
    {"old_header_without_mistakes",
     kOldHead + "2026-12-05 21:30:15;Иванова;Упр;1;2;60;10;0;0;выполнено\r\n", "Иванова[]", ""},
    {"new_header", kHead + line("Иванова", "не тот отдел (2), не та сдача"),
     "Иванова[не тот отдел (2), не та сдача]", ""},
    {"no_byte_order_mark_nor_header", line("А") + line("Б"), "А[] | Б[]", ""},
    {"half_written_last_line", kHead + line("А") + "2026-12-05 21:31:00;Б;Упр;1", "А[]", "", true},
    {"last_line_without_its_line_feed", kHead + line("А") + line("Б").chopped(1), "А[]", "", true},
    {"broken_line_in_the_middle", kHead + line("А") + "мусор;1\r\n" + line("Б"), "А[] | Б[]",
     "3 fields"},
    {"every_kind_of_broken_line",
     kHead + "вчера;А;Упр;1;2;60;10;0;0;выполнено;\r\n" +
         "2026-12-05 21:30:15;А;Упр;1;2;-60;10;0;0;выполнено;\r\n" +
         "2026-12-05 21:30:15;А;Упр;1;2;60;10;0;0;сделано;\r\n" +
         "2026-12-05 21:30:15;\xC8\xE2\xE0\xED;Упр;1;2;60;10;0;0;выполнено;\r\n" +
         "2026-02-30 21:30:15;А;Упр;1;2;60;10;0;0;выполнено;\r\n" +
         "2026-12-05 21:30:15;А;Упр;1;2;60;10;0;0;выполнено;;нет;;-1\r\n" + line("Я"),
     "Я[]", "2 time, 3 number, 4 outcome, 5 utf8, 6 time, 7 number"},
    {"quoted_fields_with_separator_quotes_and_line_break",
     kHead + line("\"Петров; \"\"Пётр\"\"\"") + line("\"Сидоров\r\nвторая\"") + "мусор\r\n" +
         line("Я"),
     "Петров; \"Пётр\"[] | Сидоров\r\nвторая[] | Я[]", "5 fields"},
    {"cut_inside_quotes_then_appended", kHead + line("А") + kCut + "\r\n" + line("Б"), "А[] | Б[]",
     "3 quote"},
    {"cut_inside_quotes_closed_by_a_later_quote",
     kHead + line("А") + kCut + "\r\n" + line("Б") + line("\"В; В\""), "А[] | Б[] | В; В[]",
     "3 number"},
    {"name_with_a_line_break_being_written", kHead + line("А") + kCut + "\r\nвто", "А[]", "", true},
    {"blank_lines_and_bare_line_feeds",
     kHead + "\r\n" + line("А") + "\n" + line("Б").chopped(2) + "\n", "А[] | Б[]", ""},
    {"mistakes_of_a_newer_register", kHead + line("А", "не тот отдел, новая (3), другая"),
     "А[не тот отдел, другое (4)]", ""},
    {"column_of_a_newer_register",
     kHead + "2026-12-05 21:30:15;А;Упр;1;2;60;10;0;0;прервано;не та сумма;42\r\n",
     "А[не та сумма]", ""},
    {"exam_passed_and_a_column_after",
     kHead + "2026-12-05 21:30:15;А;Упр;4;5;60;10;0;0;выполнено;;да;да;42\r\n", "А[]{сдан}", ""},
    {"exam_failed_and_no_exam",
     kHead + "2026-12-05 21:30:15;А;Упр;4;5;60;10;0;0;выполнено;;да;нет\r\n" +
         "2026-12-05 21:30:15;Б;Упр;4;5;60;10;0;0;выполнено;;нет;\r\n",
     "А[]{не сдан} | Б[]", ""},
};

QString brokenText(const QList<BrokenResultRow>& broken) {
    static const char* const names[] = {"fields", "time", "number", "outcome", "utf8", "quote"};
    QStringList out;
    for (const BrokenResultRow& b : broken)
        out << QStringLiteral("%1 %2").arg(b.line).arg(names[int(b.problem)]);
    return out.join(QStringLiteral(", "));
}

class ResultsParse : public testing::TestWithParam<ReadCase> {};

TEST_P(ResultsParse, ReadsTheWholeRowsAndSkipsTheRest) {
    const ResultsRead read = parseResults(GetParam().bytes);
    QStringList rows;
    for (const ResultRow& row : read.rows)
        rows << row.trainee + u'[' + mistakeSummary(row.result.mistakes) + u']' +
                    (!row.examPassed   ? QString()
                     : *row.examPassed ? QStringLiteral("{сдан}")
                                       : QStringLiteral("{не сдан}"));
    EXPECT_EQ(rows.join(QStringLiteral(" | ")), QString::fromUtf8(GetParam().rows));
    EXPECT_EQ(brokenText(read.broken), QString::fromUtf8(GetParam().broken));
    EXPECT_EQ(read.lastLineOpen, GetParam().lastLineOpen);
}

INSTANTIATE_TEST_SUITE_P(Files, ResultsParse, testing::ValuesIn(kFiles), rowName);

// Every kind's name reads back as that kind, alone, counted, and with all the others.
TEST(MistakeNames, EveryKindReadsBackFromItsSummary) {
    MistakeTally all;
    for (int k = 0; k < kMistakeKinds; ++k) {
        const MistakeKind kind = MistakeKind(k);
        for (int count : {1, 3}) {
            const MistakeTally one{{kind, count}};
            EXPECT_EQ(parseMistakeSummary(mistakeSummary(one)), one)
                << mistakeName(kind).toStdString();
        }
        all << MistakeCount{kind, k + 1};
    }
    EXPECT_EQ(parseMistakeSummary(mistakeSummary(all)), all);
}

} // namespace
