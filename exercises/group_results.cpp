// A class's results read from its trainees' data folders. The folders are usually on a shared
// network folder the trainees' registers are writing to at the same time: each results.csv is
// read once, whole, and what is half written in it is left for the next reading. One folder
// that cannot be read costs only its own trainee.

#include "exercises/group_results.h"

#include "exercises/key_log.h"
#include "register/file_messages.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <array>

namespace tarvel {
namespace {

const QString kKeysFolder = QStringLiteral("keys");

// Russian names in the order of a Russian index: case ignored, Ё beside Е, "ученик 2" before
// "ученик 10".
QCollator russianOrder() {
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString readFailure(const FileError& error) {
    return QStringLiteral("Не удалось прочитать файл %1: %2.")
        .arg(shown(error.path), reasonText(error));
}

// A file none of whose lines is UTF-8 was saved by another program (a spreadsheet in the
// Windows code page, say): nothing in it is this trainee's, which is the file's fault, not a
// few broken lines.
bool noLineInUtf8(const ResultsRead& read) {
    return read.rows.isEmpty() && !read.broken.isEmpty() &&
           std::all_of(read.broken.begin(), read.broken.end(), [](const BrokenResultRow& b) {
               return b.problem == ResultRowProblem::NotUtf8;
           });
}

TraineeRecord readTrainee(const QString& folder) {
    TraineeRecord t;
    t.folder = folder;
    const QString path = QDir(folder).filePath(kResultsFileName);
    ResultsRead read = readResults(path);
    if (noLineInUtf8(read)) {
        t.error = FileError{path, FileProblem::Undecodable, 0};
        t.errorText =
            QStringLiteral("Файл %1 не в кодировке UTF-8: его сохранила другая программа.")
                .arg(shown(path));
    } else if (read.error) {
        t.error = read.error;
        t.errorText = readFailure(*read.error);
    }
    if (!t.error) {
        t.attempts = std::move(read.rows);
        t.broken = std::move(read.broken);
    }
    for (auto row = t.attempts.crbegin(); row != t.attempts.crend() && t.name.isEmpty(); ++row)
        t.name = row->trainee.trimmed();
    if (t.name.isEmpty()) t.name = QFileInfo(folder).fileName();
    return t;
}

bool isTraineeFolder(const QDir& dir) {
    return QFileInfo::exists(dir.filePath(kResultsFileName)) ||
           QFileInfo(dir.filePath(kKeysFolder)).isDir();
}

// Why `dir` cannot be read as a group; empty when it can.
QString groupFolderProblem(const QString& dir) {
    const QFileInfo info(dir);
    if (dir.isEmpty()) return QStringLiteral("Папка группы не выбрана.");
    if (!info.exists()) {
        const FileError absent = absenceOf(dir);
        if (absent.reason == FileProblem::FileMissing ||
            absent.reason == FileProblem::FolderMissing)
            return QStringLiteral("Папка %1 не найдена.").arg(shown(dir));
        return QStringLiteral("Не удалось открыть папку %1: %2.")
            .arg(shown(dir), reasonText(absent));
    }
    if (!info.isDir())
        return QStringLiteral("%1 — не папка. Выберите папку группы или папку ученика.")
            .arg(shown(dir));
    if (!info.isReadable() || !info.isExecutable())
        return QStringLiteral("Не удалось открыть папку %1: нет прав доступа.").arg(shown(dir));
    return {};
}

// The best attempt is the one with the most items right; of those, a completed one before an
// abandoned one, then the quickest.
bool better(const ExerciseResult& r, const ExerciseCell& cell, bool bestCompleted) {
    if (r.right != cell.bestRight) return r.right > cell.bestRight;
    if (r.completed != bestCompleted) return r.completed;
    return r.seconds < *cell.bestSeconds;
}

bool done(const ResultRow& row) {
    const ExerciseResult& r = row.result;
    return (r.completed && r.right == r.total) || row.examPassed.value_or(false);
}

QList<ExerciseCell> cellsOf(const TraineeRecord& t, const QHash<QString, int>& column) {
    QList<ExerciseCell> cells(column.size());
    QList<bool> bestCompleted(column.size(), false);
    for (const ResultRow& row : t.attempts) {
        const int k = column.value(row.title);
        ExerciseCell& cell = cells[k];
        const ExerciseResult& r = row.result;
        if (cell.attempts++ == 0 || better(r, cell, bestCompleted[k])) {
            cell.bestRight = r.right;
            cell.total = r.total;
            cell.bestSeconds = r.seconds;
            bestCompleted[k] = r.completed;
        }
        if (done(row))
            cell.state = CellState::Done;
        else if (cell.state == CellState::NotTried)
            cell.state = CellState::NotPassed;
    }
    return cells;
}

void tally(GroupResults& group) {
    std::array<int, kMistakeKinds> counts{};
    for (const TraineeRecord& t : group.trainees)
        for (const ResultRow& row : t.attempts) {
            for (const MistakeCount& m : row.result.mistakes)
                counts[std::size_t(m.kind)] += m.count;
            const QDate day = row.when.date();
            if (group.first.isNull() || day < group.first) group.first = day;
            if (group.last.isNull() || day > group.last) group.last = day;
        }
    for (int k = 0; k < kMistakeKinds; ++k)
        if (counts[std::size_t(k)] > 0) group.mistakes << MistakeCount{MistakeKind(k), counts[k]};
}

void arrange(GroupResults& group) {
    const QCollator order = russianOrder();
    std::sort(group.trainees.begin(), group.trainees.end(),
              [&](const TraineeRecord& a, const TraineeRecord& b) {
                  const int c = order.compare(a.name, b.name);
                  return c != 0 ? c < 0 : a.folder < b.folder;
              });
    QSet<QString> titles;
    for (const TraineeRecord& t : group.trainees)
        for (const ResultRow& row : t.attempts)
            titles.insert(row.title);
    group.exercises = QStringList(titles.begin(), titles.end());
    std::sort(group.exercises.begin(), group.exercises.end(),
              [&](const QString& a, const QString& b) {
                  const int c = order.compare(a, b);
                  return c != 0 ? c < 0 : a < b;
              });
    QHash<QString, int> column;
    for (int k = 0; k < group.exercises.size(); ++k)
        column.insert(group.exercises[k], k);
    for (const TraineeRecord& t : group.trainees)
        group.cells << cellsOf(t, column);
    tally(group);
}

} // namespace

GroupResults readGroup(const QString& dir) {
    GroupResults group;
    group.folder = dir.isEmpty() ? dir : QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    group.name = QFileInfo(group.folder).fileName();
    if (group.name.isEmpty()) group.name = shown(group.folder);
    group.error = groupFolderProblem(group.folder);
    if (!group.error.isEmpty()) return group;
    const QDir folder(group.folder);
    if (isTraineeFolder(folder)) {
        group.trainees << readTrainee(group.folder);
    } else {
        // Hidden folders (.git, .Trash) and plain files are no trainees.
        const QFileInfoList entries = folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : entries)
            group.trainees << readTrainee(entry.absoluteFilePath());
    }
    arrange(group);
    return group;
}

QList<double> rightShares(const TraineeRecord& trainee) {
    QList<double> shares;
    shares.reserve(trainee.attempts.size());
    for (const ResultRow& row : trainee.attempts) {
        const ExerciseResult& r = row.result;
        shares << (r.total > 0 ? std::clamp(double(r.right) / r.total, 0.0, 1.0)
                               : (r.completed ? 1.0 : 0.0));
    }
    return shares;
}

} // namespace tarvel
