// A class's folder read for its instructor: each trainee's best results, key logs and summary.

#include "exercises/group_results.h"
#include "exercises/key_log.h"
#include "support/named_rows.h"
#include "support/trainee.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QDateTime kEnd(QDate(2026, 12, 5), QTime(21, 30, 15));

ResultRow attempt(const QString& title, int right, int total, qint64 seconds, bool completed,
                  std::optional<int> passMark = std::nullopt) {
    ResultRow row{kEnd, QStringLiteral("Иванова А."), title, {right, total, seconds}};
    row.result.completed = completed;
    row.result.passMark = passMark;
    return row;
}

QByteArray line(const char* trainee) {
    return QByteArray("2026-12-05 21:30:15;") + trainee + ";Упр;1;2;60;10;0;0;выполнено;\r\n";
}

// What stands in a trainee's folder in place of results.csv.
enum class Csv { Bytes, None, AFolder, Unreadable };

struct Entry {
    const char* folder; // "" for the opened folder itself; a name with "." is a plain file
    QByteArray bytes = {};
    Csv csv = Csv::Bytes;
};

struct GroupCase : NamedRow {
    QList<Entry> entries;
    const char* trainees; // each trainee: name, attempts, broken lines, error; joined by " | "
    const char* open = "";
};

const QByteArray kHead = "\xEF\xBB\xBF"
                         "Дата и время;Ученик;Упражнение;Верно;Всего;Секунд;Нажатий клавиш;"
                         "Нажатий СБ;Ошибок;Итог;Ошибки;Экзамен;Сдан\r\n";

const GroupCase kGroups[] = {
    {"broken_line_among_good_ones",
     {{"a", kHead + line("Аня") + "мусор\r\n" + line("Аня")}},
     "Аня 2 [3]"},
    {"no_results_file_is_not_started",
     {{"Петров", {}, Csv::None}, {"b", line("Боря")}},
     "Боря 1 | Петров 0"},
    {"folder_named_results_csv_is_its_error_alone",
     {{"я", {}, Csv::AFolder}, {"b", line("Боря")}},
     "Боря 1 | я 0 !IsFolder"},
    {"chmod_000_is_its_error_alone",
     {{"я", {}, Csv::Unreadable}, {"b", line("Боря")}},
     "Боря 1 | я 0 !NoPermission"},
    {"not_utf8_is_an_error",
     {{"a", "2026-12-05 21:30:15;\xC8\xE2\xE0\xED;Упр;1\r\n"}},
     "a 0 !Undecodable"},
    {"name_is_the_last_one_written",
     {{"a", line("Аня") + line("Анна Ч.") + line("")}},
     "Анна Ч. 3"},
    {"hidden_folders_and_files_are_no_trainees",
     {{".git", line("Скрытый")}, {"список.txt"}, {"b", line("Боря")}},
     "Боря 1"},
    {"russian_order_numbers_and_yo",
     {{"1", line("Жуков")},
      {"2", line("ёлкин")},
      {"3", line("Елисеев")},
      {"4", line("ученик 10")},
      {"5", line("ученик 2")}},
     "Елисеев 1 | ёлкин 1 | Жуков 1 | ученик 2 1 | ученик 10 1"},
    {"opened_folder_is_a_trainee", {{"", line("Аня")}, {"keys", {}, Csv::None}}, "Аня 1"},
    {"empty_group", {}, ""},
    {"missing_folder", {}, "!Папка * не найдена.", "нет"},
    {"a_file_is_no_group", {{"список.txt"}}, "!* — не папка. *", "список.txt"},
};

QString traineesText(const GroupResults& group) {
    if (!group.error.isEmpty()) return u'!' + group.error;
    QStringList out;
    for (const TraineeRecord& t : group.trainees) {
        QString text = t.name + u' ' + QString::number(t.attempts.size());
        QStringList lines;
        for (const BrokenResultRow& b : t.broken)
            lines << QString::number(b.line);
        if (!lines.isEmpty()) text += QStringLiteral(" [%1]").arg(lines.join(u','));
        static const char* const reasons[] = {"NoSpace",     "NoPermission",     "ReadOnlyDisk",
                                              "FileMissing", "FolderMissing",    "IsFolder",
                                              "NotAFile",    "InputOutput",      "NameTooLong",
                                              "LinkLoop",    "ChangedElsewhere", "Undecodable"};
        if (t.error) text += QStringLiteral(" !") + reasons[int(t.error->reason)];
        EXPECT_EQ(t.error.has_value(), !t.errorText.isEmpty()) << t.name.toStdString();
        out << text;
    }
    return out.join(QStringLiteral(" | "));
}

// The text against a pattern in which "*" stands for any text (a temporary folder's path).
bool matches(const QString& pattern, const QString& text) {
    const QString any =
        QRegularExpression::escape(pattern).replace(QStringLiteral("\\*"), QStringLiteral(".*"));
    return QRegularExpression(QRegularExpression::anchoredPattern(any)).match(text).hasMatch();
}

class GroupRead : public testing::TestWithParam<GroupCase> {};

TEST_P(GroupRead, EveryTraineeShownWithWhatCouldBeRead) {
    const GroupCase& c = GetParam();
    TempDataDir dir;
    for (const Entry& e : c.entries) {
        const QString name = QString::fromUtf8(e.folder);
        if (name.contains(u'.') && !name.startsWith(u'.')) {
            dir.writeBytes(name, "не ученик");
            continue;
        }
        ASSERT_TRUE(name.isEmpty() || QDir().mkpath(dir.path(name)));
        const QString csv = name.isEmpty() ? kResultsFileName : name + u'/' + kResultsFileName;
        if (e.csv == Csv::Bytes) dir.writeBytes(csv, e.bytes);
        if (e.csv == Csv::AFolder) {
            ASSERT_TRUE(QDir().mkpath(dir.path(csv)));
        }
        if (e.csv == Csv::Unreadable) {
            dir.writeBytes(csv, line("Аня"));
            QFile::setPermissions(dir.path(csv), {});
            // Root reads a file of mode 000, and Windows keeps its permissions elsewhere.
            if (QFile(dir.path(csv)).open(QIODevice::ReadOnly)) GTEST_SKIP() << "still reads";
        }
    }
    const GroupResults read = readGroup(dir.path(QString::fromUtf8(c.open)));
    const QString shown = traineesText(read);
    EXPECT_TRUE(matches(QString::fromUtf8(c.trainees), shown)) << shown.toStdString();
    EXPECT_EQ(read.cells.size(), read.trainees.size());
}

INSTANTIATE_TEST_SUITE_P(Folders, GroupRead, testing::ValuesIn(kGroups), rowName);

// One trainee's attempts at "Упр" (and "Другое"): the cell of "Упр".
struct CellCase : NamedRow {
    QList<ResultRow> attempts;
    const char* cell; // attempts, best right of total, best seconds, state
};

const QString kT = QStringLiteral("Упр");
const QString kOther = QStringLiteral("Другое");

const CellCase kCellCases[] = {
    {"not_tried", {attempt(kOther, 5, 5, 10, true)}, "0 0/0 - не начинал"},
    {"all_right_completed", {attempt(kT, 5, 5, 70, true)}, "1 5/5 70 выполнено"},
    {"not_all_right", {attempt(kT, 4, 5, 70, true)}, "1 4/5 70 не сдано"},
    {"most_right_then_quickest",
     {attempt(kT, 3, 5, 60, true), attempt(kT, 4, 5, 90, true), attempt(kT, 4, 5, 80, false),
      attempt(kT, 2, 5, 10, true), attempt(kT, 4, 5, 85, true)},
     "5 4/5 85 не сдано"},
    {"completed_before_abandoned_on_a_tie",
     {attempt(kT, 4, 5, 30, false), attempt(kT, 4, 5, 50, true)},
     "2 4/5 50 не сдано"},
    {"done_stays_after_a_worse_try",
     {attempt(kT, 5, 5, 70, true), attempt(kT, 1, 5, 20, false)},
     "2 5/5 70 выполнено"},
    {"exam_passed_without_all_right", {attempt(kT, 4, 5, 70, true, 4)}, "1 4/5 70 выполнено"},
    {"exam_failed", {attempt(kT, 4, 5, 70, true, 5)}, "1 4/5 70 не сдано"},
    {"exam_passed_when_time_ran_out", {attempt(kT, 3, 5, 300, false, 3)}, "1 3/5 300 выполнено"},
};

// A class of one trainee, "a", with these results.
GroupResults groupOfOne(const TempDataDir& dir, const QByteArray& results) {
    EXPECT_TRUE(QDir(dir.folder()).mkdir(QStringLiteral("a")));
    dir.writeBytes(QStringLiteral("a/") + kResultsFileName, results);
    return readGroup(dir.folder());
}

class GroupCells : public testing::TestWithParam<CellCase> {};

TEST_P(GroupCells, BestResultAndState) {
    TempDataDir dir;
    QByteArray bytes;
    for (const ResultRow& row : GetParam().attempts)
        bytes += resultLine(row);
    const GroupResults group = groupOfOne(dir, bytes);
    ASSERT_EQ(group.trainees.size(), 1);
    const qsizetype k = group.exercises.indexOf(kT);
    const ExerciseCell c = k < 0 ? ExerciseCell{} : group.cells[0][k];
    const QString best = c.bestSeconds ? QString::number(*c.bestSeconds) : QStringLiteral("-");
    const QString text = QStringLiteral("%1 %2/%3 ").arg(c.attempts).arg(c.bestRight).arg(c.total) +
                         best + u' ' + cellStateName(c.state);
    EXPECT_EQ(text, QString::fromUtf8(GetParam().cell));
}

INSTANTIATE_TEST_SUITE_P(Attempts, GroupCells, testing::ValuesIn(kCellCases), rowName);

// 200 trainees of 50 attempts in 10 exercises over 5 days: every line counted once.
TEST(GroupRead, TwoHundredTraineesOfFiftyAttempts) {
    TempDataDir dir;
    for (int i = 0; i < 200; ++i) {
        const QString folder = QStringLiteral("ученик%1").arg(i, 3, 10, QChar(u'0'));
        ASSERT_TRUE(QDir(dir.folder()).mkdir(folder));
        QByteArray bytes = kHead;
        for (int n = 0; n < 50; ++n) {
            ResultRow row = attempt(QStringLiteral("Упражнение %1").arg(n % 10), n % 6, 5, n, true);
            row.when = kEnd.addDays(n % 5);
            row.result.mistakes = {{MistakeKind::WrongDepartment, 2}};
            bytes += resultLine(row);
        }
        dir.writeBytes(folder + u'/' + kResultsFileName, bytes);
    }
    const GroupResults group = readGroup(dir.folder());
    ASSERT_EQ(group.trainees.size(), 200);
    EXPECT_EQ(group.exercises.size(), 10);
    for (const TraineeRecord& t : group.trainees)
        EXPECT_EQ(t.attempts.size(), 50);
    EXPECT_EQ(group.mistakes, (MistakeTally{{MistakeKind::WrongDepartment, 200 * 50 * 2}}));
    EXPECT_EQ(group.first, kEnd.date());
    EXPECT_EQ(group.last, kEnd.date().addDays(4));
    EXPECT_EQ(group.cells[199][0].state, CellState::NotPassed); // 0, 4, 2, 0, 4 of 5
    EXPECT_EQ(group.cells[199][5].state, CellState::Done);      // 5, 3, 1, 5, 3 of 5
    EXPECT_EQ(rightShares(group.trainees[0]).mid(0, 6),
              (QList<double>{0.0, 0.2, 0.4, 0.6, 0.8, 1.0}));
}

// Key logs near the attempt's start (its end less its seconds, 21:28:15): the one found.
struct LogCase : NamedRow {
    QList<std::pair<const char*, const char*>> logs; // file stem, exercise in its head
    const char* found;                               // each file named "2026-<its stem>.keys"
    qint64 seconds = 120;
};

const LogCase kLogs[] = {
    {"exact", {{"12-05_21-28-15_Иванова_А", "Упр"}}, "12-05_21-28-15_Иванова_А"},
    {"seconds_cut_to_whole",
     {{"12-05_21-28-13_Иванова_А", "Упр"}, {"12-05_21-20-00_Иванова_А", "Упр"}},
     "12-05_21-28-13_Иванова_А"},
    {"only_a_far_neighbour", {{"12-05_21-28-25_Иванова_А", "Упр"}}, ""},
    {"near_neighbours_told_by_exercise",
     {{"12-05_21-28-15_Иванова_А", "Другое"},
      {"12-05_21-28-15_Иванова_А_2", "Упр"},
      {"12-05_21-28-16_Иванова_А", "Третье"}},
     "12-05_21-28-15_Иванова_А_2"},
    {"near_neighbours_none_of_its_exercise",
     {{"12-05_21-28-14_Иванова_А", "Другое"}, {"12-05_21-28-16_Иванова_А", "Третье"}},
     ""},
    // 21:30:16 before the end, at 23:59:59 the day before.
    {"started_the_day_before",
     {{"12-04_23-59-59_Иванова_А", "Упр"}},
     "12-04_23-59-59_Иванова_А",
     77'416},
};

class KeyLogOf : public testing::TestWithParam<LogCase> {};

TEST_P(KeyLogOf, FindsTheLogOfTheAttempt) {
    TempDataDir dir;
    ASSERT_TRUE(QDir(dir.folder()).mkdir(QStringLiteral("keys")));
    for (const auto& [name, exercise] : GetParam().logs) {
        KeyLogHead head{QStringLiteral("0.1"),
                        QStringLiteral("Иванова А."),
                        QString::fromUtf8(exercise),
                        kEnd,
                        {}};
        dir.writeBytes(QStringLiteral("keys/2026-%1.keys").arg(name), keyLogHead(head));
    }
    TraineeRecord trainee;
    trainee.folder = dir.folder();
    const QString found = keyLogOf(trainee, attempt(kT, 5, 5, GetParam().seconds, true));
    const QString stem = QString::fromUtf8(GetParam().found);
    EXPECT_EQ(QFileInfo(found).fileName(), stem.isEmpty() ? stem : "2026-" + stem + ".keys");
}

INSTANTIATE_TEST_SUITE_P(Neighbours, KeyLogOf, testing::ValuesIn(kLogs), rowName);

// The summary as a spreadsheet opens it: formulas stay text, a ";" stays inside its cell.
TEST(GroupSummary, SpreadsheetReadsEveryCellAsWritten) {
    TempDataDir dir;
    ResultRow row = attempt(QStringLiteral("Итог; «сдача»"), 4, 5, 3725, true);
    row.trainee = QStringLiteral("=1+2");
    const GroupResults group = groupOfOne(dir, resultLine(row));
    const QString path = dir.path(QStringLiteral("сводка.csv"));
    ASSERT_EQ(writeGroupSummary(path, group), QString());

    const QJsonArray cells = cellsByPython(path);
    if (cells.isEmpty()) GTEST_SKIP() << "no python3";
    ASSERT_EQ(cells.size(), 2);
    EXPECT_EQ(cells[0].toArray().size(), 9);
    const QStringList expected{"'=1+2", "a", "Итог; «сдача»", "4 из 5",  "4",
                               "5",     "1", "1:02:05",       "не сдано"};
    QStringList got;
    for (const QJsonValue& cell : cells[1].toArray())
        got << cell.toString();
    EXPECT_EQ(got, expected);

    const QString failed = writeGroupSummary(dir.path(QStringLiteral("нет/сводка.csv")), group);
    EXPECT_TRUE(failed.startsWith(QStringLiteral("Не удалось записать файл")))
        << failed.toStdString();
}

} // namespace
