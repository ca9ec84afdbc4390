#pragma once
// results.csv in the data folder: one line per finished or abandoned exercise, for the
// instructor. UTF-8 with a byte order mark and ";" between the fields, so a spreadsheet with
// Russian settings opens it as it is; a header line names the columns. Every line is on the
// disk before the call returns, like the journal's receipts.
//
// The columns: date and time, trainee, exercise, right, total, seconds, key presses, СБ
// presses, faults, outcome, the mistakes by kind (as mistakeSummary() writes them), whether it
// was an exam, and whether the exam was passed. Files written before the last three columns
// still read.

#include "exercises/checker.h"
#include "storage/file_error.h"

#include <QDateTime>
#include <optional>

namespace tarvel {

inline const QString kResultsFileName = QStringLiteral("results.csv");

struct ResultRow {
    QDateTime when; // when the exercise ended
    QString trainee;
    QString title;
    ExerciseResult result;
    // Read back from the file: for an exam, whether it was passed; nothing for an exercise that
    // was no exam, or a line written before the exam's columns. The file keeps the verdict, not
    // the pass mark, so the reader cannot fill result.passMark; the writer takes that instead.
    std::optional<bool> examPassed = std::nullopt;
};

// One line, fields quoted where they hold ";", quotes or line breaks, ended by CR LF.
QByteArray resultLine(const ResultRow& row);
// Any fields as one such line, each through spreadsheetSafe() first.
QByteArray csvLine(const QStringList& fields);

// Appends the row to results.csv in `dataFolder`, starting the file when it is new. Returns an
// empty string, or the Russian message for the trainee.
QString appendResult(const QString& dataFolder, const ResultRow& row);

// A text a spreadsheet would take for a formula (starting with =, +, -, @, a tab or a CR) gets
// an apostrophe in front, which the spreadsheet shows and does not compute. So that the file
// gives back exactly what was typed, a text that already starts with apostrophes followed by
// one of those gets one more; any other text is written as it is ("'Вася" stays "'Вася").
QString spreadsheetSafe(const QString& text);
// The text as it was before spreadsheetSafe().
QString fromSpreadsheetSafe(const QString& cell);

// Why a line of results.csv could not be read as a row.
enum class ResultRowProblem {
    FieldCount, // fewer fields than a row has
    BadTime,    // the first field is not "yyyy-MM-dd HH:mm:ss"
    BadNumber,  // a count is not a whole number from 0 up
    BadOutcome, // neither "выполнено" nor "прервано" (with or without ": время вышло")
    NotUtf8,       // bytes that are not UTF-8 (the file saved by a program in another code page)
    UnclosedQuote, // a quote opened and never closed before the rows after it
};

struct BrokenResultRow {
    int line = 0; // where the row starts in the file, from 1
    ResultRowProblem problem = ResultRowProblem::FieldCount;
    bool operator==(const BrokenResultRow&) const = default;
};

struct ResultsRead {
    QList<ResultRow> rows;
    QList<BrokenResultRow> broken;  // skipped; the rows around them are read
    std::optional<FileError> error; // the file could not be read at all (a missing one is empty)
    // The last line has no line break yet: a register is writing it. It is no row until then.
    bool lastLineOpen = false;
};

// The rows of a results.csv, with or without its byte order mark and header. Linear in the
// size of the bytes.
ResultsRead parseResults(QByteArrayView bytes);
ResultsRead readResults(const QString& path);

} // namespace tarvel
