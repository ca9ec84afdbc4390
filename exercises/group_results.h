#pragma once
// A class's results for its instructor: one data folder per trainee (what --data-dir makes),
// usually all in one shared network folder, read while the trainees are still working. Each
// trainee's results.csv is read as it is on the disk: a line a register is appending is left
// out until it is whole, and a file that cannot be read is that trainee's error alone.

#include "exercises/mistakes.h"
#include "exercises/results_file.h"
#include "storage/file_error.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tarvel {

// One trainee's data folder (what --data-dir makes).
struct TraineeRecord {
    QString folder;                // absolute path
    QString name;                  // the trainee column of results.csv (its last non-empty value),
                                   // else the folder's name
    QList<ResultRow> attempts;     // in file order (oldest first)
    QList<BrokenResultRow> broken; // lines skipped
    // results.csv unreadable (a missing file is no error: no attempts); a file with no line in
    // UTF-8 is one too (Undecodable). errorText: the same in Russian, for the window.
    std::optional<FileError> error;
    QString errorText;
    bool started() const { return !attempts.isEmpty(); } // false: "не начинал"
};

enum class CellState { NotTried, NotPassed, Done }; // coloured: grey, red-ish, green

// One trainee × one exercise.
struct ExerciseCell {
    int attempts = 0;
    int bestRight = 0, total = 0;      // the best attempt ("4 из 5")
    std::optional<qint64> bestSeconds; // the shortest attempt with the best result
    CellState state =
        CellState::NotTried; // Done: an attempt all right and completed, or an exam passed
};

struct GroupResults {
    QString folder;                   // the folder opened
    QString name;                     // the group's name: the folder's name
    QList<TraineeRecord> trainees;    // sorted by name (locale-aware)
    QStringList exercises;            // titles, sorted
    QList<QList<ExerciseCell>> cells; // [trainee][exercise]
    MistakeTally mistakes;            // the whole group's, by kind
    QDate first, last;                // the span of the attempts' dates (null when none)
    // The folder could not be opened as a group (missing, not a folder, unreadable): why, in
    // Russian. Empty when it was read, even with no trainee in it.
    QString error;
};

// DIR holds one data folder per trainee, or is itself a trainee's folder (it has results.csv or
// keys/). Each sub-folder is a trainee, with results or without. Never throws, never blocks on a
// half-written line.
GroupResults readGroup(const QString& dir);

// The share of right items of each attempt, oldest first (0..1), for the chart.
QList<double> rightShares(const TraineeRecord& trainee);

// The key log of an attempt in the trainee's keys/ folder, or an empty string when it is not there.
QString keyLogOf(const TraineeRecord& trainee, const ResultRow& attempt);

// The summary for spreadsheets: UTF-8 with BOM, ";" separated, header line, one row per
// trainee × exercise (Слушатель;Папка;Упражнение;Лучший результат;Верно;Всего;Попыток;Лучшее
// время;Состояние), text fields through spreadsheetSafe(). And the write into a file: empty string
// or a Russian message.
QByteArray groupSummaryCsv(const GroupResults& group);
QString writeGroupSummary(const QString& path, const GroupResults& group);

// "выполнено", "не сдано", "не начинал" ...
QString cellStateName(CellState state);

} // namespace tarvel
