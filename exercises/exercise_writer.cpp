#include "exercises/exercise_writer.h"

#include "exercises/exercise_file.h"
#include "register/file_messages.h"

#include "storage/text_files.h"

#include <QDir>
#include <QFileInfo>

namespace tarvel {
namespace {

QString rubles(Kopecks amount) {
    return formatMoney(amount) + QStringLiteral(" ₽");
}

QString paymentTask(const ExpectedReceipt& receipt) {
    switch (receipt.payment) {
    case Payment::None:
        return QStringLiteral("закройте чек без оплаты");
    case Payment::Card:
        return QStringLiteral("оплата картой");
    case Payment::Cash:
        break;
    }
    QStringList handed;
    for (Kopecks tender : receipt.tenders.first(receipt.tenders.size() - 1))
        handed << rubles(tender) + QStringLiteral(" (мало денег)");
    handed << rubles(receipt.tenders.last());
    return QStringLiteral("покупатель платит наличными: даёт ") +
           handed.join(QStringLiteral(", затем "));
}

QString receiptTask(const ExpectedReceipt& receipt) {
    return QStringLiteral("Пробейте чек: %1; %2.")
        .arg(describeLines(receipt.lines, LineWords::Task), paymentTask(receipt));
}

QString itemTask(const ExerciseItem& item) {
    switch (item.kind) {
    case ItemKind::Receipt:
        return receiptTask(item.receipt);
    case ItemKind::CashIn:
        return QStringLiteral("Внесите в кассу %1.").arg(rubles(item.amount));
    case ItemKind::CashOut:
        return QStringLiteral("Инкассация: выдайте из кассы %1.").arg(rubles(item.amount));
    case ItemKind::Report:
        return QStringLiteral("Снимите отчёт %1 в режиме КЗ").arg(reportCaption(item.report)) +
               (item.reportTotal
                    ? QStringLiteral(": сумма за смену %1.").arg(rubles(*item.reportTotal))
                    : QStringLiteral("."));
    case ItemKind::Header:
        return QStringLiteral("Замените клише: %1.")
            .arg(item.headerLines.join(QStringLiteral(" / ")));
    case ItemKind::Cancel:
        return QStringLiteral("Отмените чек клавишей СБ.");
    }
    return {};
}

// A TOML basic string's inside: the backslash, the quote and control characters escaped.
QString escaped(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + escaped(text) + QLatin1Char('"');
}

QString amountText(Kopecks amount) {
    return quoted(formatMoney(amount));
}

QString lineText(const ExpectedLine& line) {
    return QStringLiteral("{ department = %1, amount = %2%3 }")
        .arg(line.department)
        .arg(amountText(line.amount),
             line.isReturn ? QStringLiteral(", return = true") : QString());
}

// One line stands inline, as most samples write it; more go one to a line.
QString linesText(const QList<ExpectedLine>& lines) {
    if (lines.size() == 1) return QStringLiteral("line = [%1]\n").arg(lineText(lines.first()));
    QString out = QStringLiteral("line = [\n");
    for (const ExpectedLine& line : lines)
        out += QStringLiteral("  %1,\n").arg(lineText(line));
    return out + QStringLiteral("]\n");
}

QString tendersText(const QList<Kopecks>& tenders) {
    if (tenders.size() == 1) return amountText(tenders.first());
    QStringList amounts;
    for (Kopecks tender : tenders)
        amounts << amountText(tender);
    return QLatin1Char('[') + amounts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString receiptTable(const ExpectedReceipt& receipt) {
    QString out = QStringLiteral("# Чек: его строки (отдел, сумма) и оплата.\n[[receipt]]\n") +
                  linesText(receipt.lines) +
                  QStringLiteral("close = \"%1\"\n").arg(closeWord(receipt.payment));
    if (receipt.payment == Payment::Cash)
        out += QStringLiteral("tendered = %1\n").arg(tendersText(receipt.tenders));
    return out;
}

QString itemTable(const ExerciseItem& item) {
    switch (item.kind) {
    case ItemKind::Receipt:
        return receiptTable(item.receipt);
    case ItemKind::CashIn:
        return QStringLiteral("# Внесение наличных: НЛ, сумма, ВВ, «=», ВВ.\n[[cash_in]]\n"
                              "amount = %1\n")
            .arg(amountText(item.amount));
    case ItemKind::CashOut:
        return QStringLiteral("# Инкассация: «-», НЛ, сумма, ВВ, «=», ВВ.\n[[cash_out]]\n"
                              "amount = %1\n")
            .arg(amountText(item.amount));
    case ItemKind::Report:
        return QStringLiteral("# Отчёт в режиме КЗ и сумма за смену в нём.\n[[report]]\n"
                              "key = \"%1\"\n")
                   .arg(reportCaption(item.report)) +
               (item.reportTotal ? QStringLiteral("total = %1\n").arg(amountText(*item.reportTotal))
                                 : QString());
    case ItemKind::Header: {
        QStringList lines;
        for (const QString& line : item.headerLines)
            lines << quoted(line);
        return QStringLiteral("# Новое клише: режим КР, 3Т, строки на ленте, КР.\n[[header]]\n"
                              "lines = [%1]\n")
            .arg(lines.join(QStringLiteral(", ")));
    }
    case ItemKind::Cancel:
        return QStringLiteral("# Чек отменён клавишей СБ.\n[[cancel]]\n");
    }
    return {};
}

// "упражнение-2.toml" beside "упражнение.toml", the first such name not taken.
QString freeNameBeside(const QString& path) {
    const QFileInfo file(path);
    for (int n = 2;; ++n) {
        const QString name = file.dir().filePath(
            QStringLiteral("%1-%2.%3").arg(file.completeBaseName()).arg(n).arg(file.suffix()));
        if (!QFileInfo::exists(name)) return name;
    }
}

QString keyLogNote(const QString& keyLogPath) {
    if (keyLogPath.isEmpty()) return {};
    return QStringLiteral("\nНажатия клавиш сохранены в %1: их можно показать снова "
                          "(tarvel --replay) и повторить работу.")
        .arg(shownPath(keyLogPath));
}

} // namespace

QString taskFor(const QList<ExerciseItem>& work) {
    if (work.size() == 1) return itemTask(work.first());
    QStringList lines;
    for (qsizetype i = 0; i < work.size(); ++i)
        lines << QStringLiteral("%1. %2").arg(i + 1).arg(itemTask(work[i]));
    return lines.join(QLatin1Char('\n'));
}

Exercise recordedExercise(const QList<ExerciseItem>& work) {
    Exercise exercise;
    exercise.title = QStringLiteral("Новое упражнение");
    exercise.task = taskFor(work);
    exercise.items = work;
    return exercise;
}

QByteArray exerciseToml(const Exercise& exercise) {
    QStringList task;
    for (const QString& line : exercise.task.split(QLatin1Char('\n')))
        task << escaped(line);
    QString out = QStringLiteral("# Упражнение, записанное на кассе. Название и задание можно "
                                 "исправить;\n# работа ожидается в том порядке, в котором "
                                 "записана ниже.\n") +
                  QStringLiteral("title = %1\ntask = \"\"\"\n%2\n\"\"\"\n")
                      .arg(quoted(exercise.title), task.join(QLatin1Char('\n')));
    for (const ExerciseItem& item : exercise.items)
        out += QLatin1Char('\n') + itemTable(item);
    return out.toUtf8();
}

SavedExercise saveRecordedExercise(const QList<ExerciseItem>& work, const QString& path,
                                   const QString& keyLogPath) {
    if (work.isEmpty())
        return {false,
                {},
                QStringLiteral("Упражнение не записано: на кассе не закрыт ни один чек, не снят "
                               "отчёт и не изменено клише.")};
    const QString target = QFileInfo::exists(path) ? freeNameBeside(path) : path;
    const QByteArray text = exerciseToml(recordedExercise(work));
    if (const std::optional<FileError> error = writeFileWhole(target, text))
        return {false,
                {},
                writeFailureMessage(*error) + QStringLiteral(".\nУпражнение не записано.") +
                    keyLogNote(keyLogPath)};
    QString message = QStringLiteral("Упражнение записано в файл %1.").arg(shownPath(target));
    if (target != path)
        message += QStringLiteral("\nФайл %1 появился, пока шла работа, и не тронут.")
                       .arg(shownPath(path));
    message += QStringLiteral("\nНазвание и задание в нём можно исправить в любом текстовом "
                              "редакторе.");
    // Work the reader does not take (a sale of nothing, a return amount as a minus) is written
    // all the same: the instructor corrects it rather than doing it all again.
    const ExerciseLoad check = parseExercise(text, target);
    if (!check.exercise)
        message += QStringLiteral("\nНо сначала исправьте в нём ошибку, иначе упражнение не "
                                  "запустится:\n") +
                   check.error;
    return {true, target, message};
}

} // namespace tarvel
