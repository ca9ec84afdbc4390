// results.csv as a spreadsheet reads it, and key logs written and read back.

#include "exercises/results_file.h"
#include "support/named_rows.h"
#include "support/trainee.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

ResultRow row(const char* trainee, int right, bool completed) {
    ResultRow r;
    r.when = QDateTime(QDate(2026, 12, 5), QTime(21, 30, 15));
    r.trainee = QString::fromUtf8(trainee);
    r.title = QStringLiteral("Мало денег, затем верная сумма");
    r.result = {right, 2, 125, 57, 2, 1, completed};
    return r;
}

// What a spreadsheet shows in the trainee's cell: a text it would compute gets an apostrophe.
struct CellCase : NamedRow {
    const char* trainee;
    const char* cell;
};

const CellCase kCells[] = {
    {"cyrillic", "Иванова А.", "Иванова А."},
    {"quotes_and_separator", "Петров; \"Пётр\"", "Петров; \"Пётр\""},
    {"line_break_inside", "Сидоров\r\nвторая строка", "Сидоров\r\nвторая строка"},
    {"formula", "=1+2", "'=1+2"},
    {"plus", "+7 999 000-00-00", "'+7 999 000-00-00"},
    {"minus", "-Вася", "'-Вася"},
    {"at", "@SUM(A1)", "'@SUM(A1)"},
    {"tab", "\t=1", "'\t=1"},
    {"carriage_return", "\r=1", "'\r=1"},
    {"apostrophe_then_formula", "'=1", "''=1"},
    {"apostrophe_then_name", "'Вася", "'Вася"},
    {"formula_inside", "Вася=1", "Вася=1"},
};

const QString kTrickyTitle = QStringLiteral("Итог; «сдача»");
const QString kMistakes = QStringLiteral("не тот отдел (2), не та сдача");

// A row of kCells each; the first with a title holding ";" and no mistakes.
QList<ResultRow> writeCellRows(const TempDataDir& dir) {
    QList<ResultRow> written;
    for (std::size_t i = 0; i < std::size(kCells); ++i) {
        ResultRow r = row(kCells[i].trainee, int(i % 3), i % 2 == 0);
        if (i == 0)
            r.title = kTrickyTitle;
        else
            r.result.mistakes = parseMistakeSummary(kMistakes);
        if (i % 2 == 1) r.seed = quint32(4'000'000'000u + i); // beyond a signed int

        EXPECT_EQ(appendResult(dir.path(""), r), QString());
        written << r;
    }
    return written;
}

TEST(ResultsFile, SpreadsheetTakesEveryNameAsTextAndOurReaderGivesItBack) {
    TempDataDir dir;
    const QList<ResultRow> written = writeCellRows(dir);
    const QByteArray bytes = dir.readBytes(kResultsFileName);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));

    // Every field read back: the line written again from it is the line written first.
    const ResultsRead read = readResults(dir.path(kResultsFileName));
    ASSERT_EQ(read.rows.size(), written.size());
    for (qsizetype i = 0; i < written.size(); ++i)
        EXPECT_EQ(resultLine(read.rows[i]), resultLine(written[i])) << kCells[i].name;

    const QJsonArray cells = cellsByPython(dir.path(kResultsFileName));
    if (cells.isEmpty()) GTEST_SKIP() << "no python3";
    ASSERT_EQ(cells.size(), written.size() + 1);
    EXPECT_EQ(cells[0].toArray()[10].toString(), QStringLiteral("Ошибки"));
    EXPECT_EQ(cells[0].toArray()[13].toString(), QStringLiteral("Вариант"));
    for (qsizetype i = 0; i < written.size(); ++i) {
        const QJsonArray line = cells[i + 1].toArray();
        ASSERT_EQ(line.size(), 14) << kCells[i].name;
        EXPECT_EQ(line[1].toString(), QString::fromUtf8(kCells[i].cell)) << kCells[i].name;
        EXPECT_EQ(line[2].toString(), written[i].title) << kCells[i].name;
        EXPECT_EQ(line[10].toString(), i == 0 ? QString() : kMistakes) << kCells[i].name;
    }
}

// LibreOffice, where installed, keeps every name as text (with or without the apostrophe).
TEST(ResultsFile, LibreOfficeKeepsNamesAsText) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "no soffice";
    TempDataDir dir;
    writeCellRows(dir);
    QProcess convert;
    convert.start(soffice, {"--headless", "--infilter=CSV:59,34,76,1", "--convert-to",
                            "csv:Text - txt - csv (StarCalc):59,34,76,1", "--outdir",
                            dir.path("out"), dir.path(kResultsFileName)});
    ASSERT_TRUE(convert.waitForFinished(120'000));
    const QJsonArray cells = cellsByPython(dir.path("out/" + kResultsFileName));
    if (cells.isEmpty()) GTEST_SKIP() << "no python3";
    ASSERT_EQ(cells.size(), qsizetype(std::size(kCells)) + 1);
    const auto oneBreak = [](QString s) {
        return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    };
    for (std::size_t i = 0; i < std::size(kCells); ++i) {
        const QString shown = oneBreak(cells[qsizetype(i) + 1].toArray()[1].toString());
        const QString cell = oneBreak(QString::fromUtf8(kCells[i].cell));
        EXPECT_TRUE(shown == cell || (cell.startsWith(u'\'') && shown == cell.sliced(1)))
            << kCells[i].name << ": " << shown.toStdString();
    }
}

// A file left without its last line break (edited by hand) gets one before the new line.
TEST(ResultsFile, NewLineAfterAnOpenLastLine) {
    TempDataDir dir;
    const QByteArray open = "\xEF\xBB\xBF"
                            "a;b";
    dir.writeBytes(kResultsFileName, open);
    ASSERT_EQ(appendResult(dir.path(""), row("И", 2, true)), QString());
    EXPECT_EQ(dir.readBytes(kResultsFileName), open + "\r\n" + resultLine(row("И", 2, true)));
}

TEST(ResultsFile, UnwritableFolderIsTold) {
    const QString message = appendResult(QStringLiteral("/nonexistent/folder"), row("И", 2, true));
    EXPECT_TRUE(message.contains(QStringLiteral("Результат упражнения не сохранён")))
        << message.toStdString();
}

KeyLogHead head(const char* trainee) {
    return {QStringLiteral("0.1"), QString::fromUtf8(trainee), QStringLiteral("Новое клише"),
            QDateTime(QDate(2026, 12, 5), QTime(21, 30, 15)), kDefaultHeader};
}

struct NameCase : NamedRow {
    const char* trainee;
    const char* file;
};

const NameCase kNames[] = {
    {"cyrillic", "Иванова А.", "2026-12-05_21-30-15_Иванова_А.keys"},
    {"no_name", "", "2026-12-05_21-30-15_без_имени.keys"},
    {"path_parts", "../../etc/passwd", "2026-12-05_21-30-15_etc_passwd.keys"},
    {"only_signs", " ;:/ ", "2026-12-05_21-30-15_без_имени.keys"},
};

class KeyLogName : public testing::TestWithParam<NameCase> {};

// A second run in the same second gets a file of its own.
TEST_P(KeyLogName, KeepsLettersAndDigits) {
    const QString file = QString::fromUtf8(GetParam().file);
    EXPECT_EQ(keyLogFileName(head("").started, QString::fromUtf8(GetParam().trainee)), file);
    TempDataDir dir;
    KeyLogWriter first, second;
    ASSERT_EQ(first.start(dir.path(""), head(GetParam().trainee)), QString());
    ASSERT_EQ(second.start(dir.path(""), head(GetParam().trainee)), QString());
    EXPECT_TRUE(first.path().endsWith("/keys/" + file)) << first.path().toStdString();
    EXPECT_TRUE(second.path().endsWith("/keys/" + file.chopped(5) + "_2.keys"));
}

INSTANTIATE_TEST_SUITE_P(Trainees, KeyLogName, testing::ValuesIn(kNames), rowName);

struct BadLogCase : NamedRow {
    const char* text;
    const char* message;
};

#define LOG_HEAD "Tarvel key log 1\nversion: 1\n"

const BadLogCase kBadLogs[] = {
    {"not_a_key_log", "hello\n", "Журнал клавиш «k.keys», строка 1: это не журнал клавиш Tarvel."},
    {"no_version", "Tarvel key log 1\ntrainee: А\n\n0 Command1\n",
     "Журнал клавиш «k.keys», строка 3: нет строки «version»."},
    {"head_line_without_value", "Tarvel key log 1\nversion\n",
     "строка 2: ожидалось «имя: значение»."},
    {"bad_start_time", LOG_HEAD "started: вчера\n", "строка 3: неверное время начала «вчера»."},
    {"bad_seed", LOG_HEAD "seed: -5\n", "строка 3: неверный вариант «-5»."},
    {"seed_beyond_32_bits", LOG_HEAD "seed: 4294967296\n",
     "строка 3: неверный вариант «4294967296»."},
    {"unknown_key", LOG_HEAD "\n0 Command1\n5 CommandXX\n",
     "строка 5: неизвестная клавиша «CommandXX»."},
    {"time_backwards", LOG_HEAD "\n10 Command1\n5 Command2\n", "строка 5: время идёт назад."},
    {"no_time", LOG_HEAD "\nCommand1\n", "строка 4: нет времени нажатия в миллисекундах."},
    {"bad_escape", LOG_HEAD "\n0 TxtCHL a\\qb\n", "строка 4: неверная запись «\\» в тексте."},
    {"not_utf8", "Tarvel key log 1\nversion: \xFF\n",
     "Журнал клавиш «k.keys»: файл не в кодировке UTF-8."},
};

class KeyLogParse : public testing::TestWithParam<BadLogCase> {};

TEST_P(KeyLogParse, TellsWhatIsWrong) {
    const KeyLogRead read = parseKeyLog(GetParam().text, QStringLiteral("/logs/k.keys"));
    EXPECT_FALSE(read.log);
    EXPECT_TRUE(read.error.endsWith(QString::fromUtf8(GetParam().message)))
        << read.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Logs, KeyLogParse, testing::ValuesIn(kBadLogs), rowName);

struct CutLogCase : NamedRow {
    QByteArray tail; // after a head (with the highest seed) and the entry "0 Command1"
};

// A line cut by a power loss does not play, even when what is left reads as an entry.
const CutLogCase kCutLogs[] = {
    {"inside_a_letter", "420 TxtCHL \xD0"},
    {"before_the_line_break", "420 Command2"},
    {"zeros_the_disk_left", QByteArray(4, '\0')},
};

class KeyLogCut : public testing::TestWithParam<CutLogCase> {};

TEST_P(KeyLogCut, PlaysTheWholeLinesAndTellsTheCut) {
    const QByteArray whole = "Tarvel key log 1\nversion: 1\nseed: 4294967295\n\n0 Command1\n";
    const KeyLogRead read = parseKeyLog(whole + GetParam().tail, QStringLiteral("k.keys"));
    ASSERT_TRUE(read.log) << read.error.toStdString();
    EXPECT_TRUE(read.log->lastLineCut);
    EXPECT_EQ(read.log->head.seed, 4'294'967'295u);
    ASSERT_EQ(read.log->entries.size(), 1);
    EXPECT_EQ(read.log->entries[0].key, Key::Digit1);
    EXPECT_FALSE(parseKeyLog(whole, QStringLiteral("k.keys")).log->lastLineCut);
}

INSTANTIATE_TEST_SUITE_P(Logs, KeyLogCut, testing::ValuesIn(kCutLogs), rowName);

// Lines ended by CR LF (a copy through Windows) and head names of a newer register still read.
TEST(KeyLog, ReadsWindowsLineEndsAndNewerHeadNames) {
    const KeyLogRead read = parseKeyLog("Tarvel key log 1\r\nversion: 9\r\nspeed: 2\r\n\r\n"
                                        "0 CommandVV\r\n7 TxtIND 12\r\n",
                                        QStringLiteral("k.keys"));
    ASSERT_TRUE(read.log) << read.error.toStdString();
    ASSERT_EQ(read.log->entries.size(), 2);
    EXPECT_FALSE(read.log->head.seed); // a log from before variants
    EXPECT_EQ(read.log->entries[0].key, Key::Enter);
    EXPECT_EQ(read.log->entries[1].field, TypedField::Indicator);
    EXPECT_EQ(read.log->entries[1].text, QStringLiteral("12"));
}

} // namespace
