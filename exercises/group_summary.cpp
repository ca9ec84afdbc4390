// What the group's window gives away: the summary a spreadsheet opens, and the key log behind
// an attempt for its replay.

#include "exercises/group_results.h"

#include "exercises/key_log.h"
#include "register/file_messages.h"
#include "storage/text_files.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tarvel {
namespace {

// A key log is named by the start of its run, a result by its end: the run's seconds are cut
// to whole ones and the two clocks are read a moment apart, so the start found back from the
// result is off by a second or two.
constexpr qint64 kStartSlackSeconds = 3;
const QString kNameTime = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

// The start in a log's name ("2026-12-05_21-30-15_Иванова_А.keys"); invalid for another file.
QDateTime startInName(const QString& name) {
    if (name.size() < 21 || name[19] != u'_') return {};
    return QDateTime::fromString(name.left(19), kNameTime);
}

struct NearLog {
    QString path;
    qint64 off = 0; // seconds between its start and the attempt's
};

// The logs started within the slack of `start`, nearest first. Only the names are listed; the
// days of the window are the filter, so a folder of years of logs is not parsed name by name.
QList<NearLog> logsNear(const QDir& keys, const QDateTime& start) {
    QStringList days;
    for (qint64 s : {-kStartSlackSeconds, kStartSlackSeconds})
        days << start.addSecs(s).date().toString(Qt::ISODate) + QStringLiteral("_*.keys");
    days.removeDuplicates();
    QList<NearLog> near;
    for (const QString& name : keys.entryList(days, QDir::Files)) {
        const QDateTime started = startInName(name);
        const qint64 off = started.isValid() ? qAbs(started.secsTo(start)) : -1;
        if (off >= 0 && off <= kStartSlackSeconds) near << NearLog{keys.filePath(name), off};
    }
    std::sort(near.begin(), near.end(), [](const NearLog& a, const NearLog& b) {
        return a.off != b.off ? a.off < b.off : a.path < b.path;
    });
    return near;
}

QString timeText(qint64 seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QStringList summaryFields(const TraineeRecord& t, const QString& title, const ExerciseCell& c) {
    const bool tried = c.attempts > 0;
    return {
        t.name,
        QFileInfo(t.folder).fileName(),
        title,
        tried ? QStringLiteral("%1 из %2").arg(c.bestRight).arg(c.total) : QString(),
        tried ? QString::number(c.bestRight) : QString(),
        tried ? QString::number(c.total) : QString(),
        QString::number(c.attempts),
        c.bestSeconds ? timeText(*c.bestSeconds) : QString(),
        cellStateName(c.state),
    };
}

} // namespace

// Two runs can start a few seconds apart (one abandoned at once, the next begun): the one
// whose head names the attempt's exercise is the attempt's.
QString keyLogOf(const TraineeRecord& trainee, const ResultRow& attempt) {
    const QDir keys(QDir(trainee.folder).filePath(QStringLiteral("keys")));
    const QList<NearLog> near = logsNear(keys, attempt.when.addSecs(-attempt.result.seconds));
    if (near.size() == 1) return near.first().path;
    for (const NearLog& log : near) {
        const KeyLogRead read = readKeyLog(log.path);
        if (read.log && read.log->head.exercise == attempt.title) return log.path;
    }
    return {};
}

QByteArray groupSummaryCsv(const GroupResults& group) {
    // The time is h:mm:ss, which a spreadsheet takes for a duration; "2:05" would be hours.
    QByteArray out =
        QByteArrayLiteral("\xEF\xBB\xBF") +
        csvLine({QStringLiteral("Слушатель"), QStringLiteral("Папка"), QStringLiteral("Упражнение"),
                 QStringLiteral("Лучший результат"), QStringLiteral("Верно"),
                 QStringLiteral("Всего"), QStringLiteral("Попыток"), QStringLiteral("Лучшее время"),
                 QStringLiteral("Состояние")});
    for (qsizetype i = 0; i < group.trainees.size(); ++i)
        for (qsizetype k = 0; k < group.exercises.size(); ++k)
            out += csvLine(summaryFields(group.trainees[i], group.exercises[k], group.cells[i][k]));
    return out;
}

QString writeGroupSummary(const QString& path, const GroupResults& group) {
    const std::optional<FileError> error = writeFileWhole(path, groupSummaryCsv(group));
    if (!error) return {};
    return writeFailureMessage(*error) + QStringLiteral("\nСводка группы не сохранена.");
}

QString cellStateName(CellState state) {
    switch (state) {
    case CellState::NotTried:
        return QStringLiteral("не начинал");
    case CellState::NotPassed:
        return QStringLiteral("не сдано");
    case CellState::Done:
        return QStringLiteral("выполнено");
    }
    return {};
}

} // namespace tarvel
