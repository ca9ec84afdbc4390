#include "exercises/results_file.h"

#include "register/file_messages.h"
#include "storage/durable_append.h"
#include "storage/text_files.h"

#include <QDir>
#include <QFile>

namespace tarvel {
namespace {

const QStringList kColumns = {
    QStringLiteral("Дата и время"),   QStringLiteral("Ученик"),     QStringLiteral("Упражнение"),
    QStringLiteral("Верно"),          QStringLiteral("Всего"),      QStringLiteral("Секунд"),
    QStringLiteral("Нажатий клавиш"), QStringLiteral("Нажатий СБ"), QStringLiteral("Ошибок"),
    QStringLiteral("Итог"),           QStringLiteral("Ошибки"),     QStringLiteral("Экзамен"),
    QStringLiteral("Сдан"),
};

// What a spreadsheet takes for the start of a formula.
bool startsFormula(QChar c) {
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

// Whether the text is apostrophes (`least` of them at least) and then the start of a formula.
bool apostrophesThenFormula(const QString& text, qsizetype least) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return i >= least && i < text.size() && startsFormula(text[i]);
}

QString outcome(const ExerciseResult& r) {
    if (r.completed) return QStringLiteral("выполнено");
    return r.timeUp ? QStringLiteral("прервано: время вышло") : QStringLiteral("прервано");
}

QString yesNo(bool yes) {
    return yes ? QStringLiteral("да") : QStringLiteral("нет");
}

QString field(QString text) {
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// What the file needs before the new line: the byte order mark and the column names when it is
// new or empty, a line break when the last line was left open (edited by hand).
QByteArray lead(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return QByteArrayLiteral("\xEF\xBB\xBF") + csvLine(kColumns);
    file.seek(file.size() - 1);
    return file.read(1) == "\n" ? QByteArray() : QByteArrayLiteral("\r\n");
}

} // namespace

QByteArray csvLine(const QStringList& fields) {
    QStringList out;
    for (const QString& f : fields)
        out << field(spreadsheetSafe(f));
    return (out.join(QLatin1Char(';')) + QStringLiteral("\r\n")).toUtf8();
}

QByteArray resultLine(const ResultRow& row) {
    const ExerciseResult& r = row.result;
    return csvLine({
        row.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
        row.trainee,
        row.title,
        QString::number(r.right),
        QString::number(r.total),
        QString::number(r.seconds),
        QString::number(r.keyPresses),
        QString::number(r.clearPresses),
        QString::number(r.faults),
        outcome(r),
        mistakeSummary(r.mistakes),
        // Whether it was an exam; for an exam, whether it was passed.
        yesNo(r.passMark.has_value()),
        r.passMark ? yesNo(r.passed()) : QString(),
    });
}

QString spreadsheetSafe(const QString& text) {
    return apostrophesThenFormula(text, 0) ? QLatin1Char('\'') + text : text;
}

QString fromSpreadsheetSafe(const QString& cell) {
    return apostrophesThenFormula(cell, 1) ? cell.sliced(1) : cell;
}

QString appendResult(const QString& dataFolder, const ResultRow& row) {
    const QString path = QDir(dataFolder).filePath(kResultsFileName);
    const std::optional<FileError> error = appendDurably(path, lead(path) + resultLine(row));
    if (!error) return {};
    return writeFailureMessage(*error) + QStringLiteral("\nРезультат упражнения не сохранён.");
}

} // namespace tarvel
