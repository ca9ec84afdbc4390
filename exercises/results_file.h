#pragma once
// results.csv in the data folder: one line per finished or abandoned exercise, for the
// instructor. UTF-8 with a byte order mark and ";" between the fields, so a spreadsheet with
// Russian settings opens it as it is; a header line names the columns. Every line is on the
// disk before the call returns, like the journal's receipts.

#include "exercises/checker.h"

#include <QDateTime>

namespace tarvel {

inline const QString kResultsFileName = QStringLiteral("results.csv");

struct ResultRow {
    QDateTime when; // when the exercise ended
    QString trainee;
    QString title;
    ExerciseResult result;
};

// One line, fields quoted where they hold ";", quotes or line breaks, ended by CR LF.
QByteArray resultLine(const ResultRow& row);

// Appends the row to results.csv in `dataFolder`, starting the file when it is new. Returns an
// empty string, or the Russian message for the trainee.
QString appendResult(const QString& dataFolder, const ResultRow& row);

} // namespace tarvel
