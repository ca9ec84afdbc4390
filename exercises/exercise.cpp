#include "exercises/exercise.h"

#include <algorithm>
#include <cmath>

namespace tarvel {

QString formatMoney(Kopecks amount) {
    const Kopecks whole = std::abs(amount) / 100;
    const Kopecks part = std::abs(amount) % 100;
    return QStringLiteral("%1%2.%3")
        .arg(amount < 0 ? QStringLiteral("-") : QString())
        .arg(whole)
        .arg(part, 2, 10, QLatin1Char('0'));
}

Kopecks toKopecks(double amount) {
    // Far beyond any amount the register can show; a non-number counts as the limit too.
    constexpr double kLimit = 9e15;
    const double kopecks = amount * 100;
    if (!(std::abs(kopecks) <= kLimit)) return Kopecks(kopecks < 0 ? -kLimit : kLimit);
    return std::llround(kopecks);
}

QString departmentText(int department) {
    return QStringLiteral("%1").arg(department, 2, 10, QLatin1Char('0'));
}

QString reportCaption(ShiftReport report) {
    return report == ShiftReport::OneD ? QStringLiteral("1Д") : QStringLiteral("2В");
}

QString clockText(qint64 seconds) {
    const qint64 s = std::max<qint64>(seconds, 0);
    const QString minutes =
        s >= 3600 ? QStringLiteral("%1:%2").arg(s / 3600).arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                  : QString::number(s / 60);
    return QStringLiteral("%1:%2").arg(minutes).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString describeTerms(const ExerciseTerms& terms, qsizetype items) {
    const QString limit = clockText(terms.timeLimitMs / 1000);
    if (!terms.exam)
        return terms.timeLimitMs > 0 ? QStringLiteral("На всю работу %1.").arg(limit) : QString();
    QStringList parts;
    if (terms.timeLimitMs > 0) parts << QStringLiteral("на всю работу %1").arg(limit);
    parts << QStringLiteral("оценки видны в конце")
          << QStringLiteral("для зачёта верно %1 из %2")
                 .arg(terms.passMark > 0 ? terms.passMark : items)
                 .arg(items);
    return QStringLiteral("Экзамен: %1.").arg(parts.join(QStringLiteral("; ")));
}

QString describeLine(const ExpectedLine& line, LineWords words) {
    const bool task = words == LineWords::Task;
    const QString returnMark = task ? QStringLiteral("возврат: ") : QStringLiteral("возврат, ");
    return QStringLiteral("%1отдел %2%3%4")
        .arg(line.isReturn ? returnMark : QString(), departmentText(line.department),
             words == LineWords::Difference ? QStringLiteral(", ") : QStringLiteral(" — "),
             formatMoney(line.amount) + (task ? QStringLiteral(" ₽") : QString()));
}

QString describeLines(const QList<ExpectedLine>& lines, LineWords words) {
    QStringList described;
    for (const ExpectedLine& line : lines)
        described << describeLine(line, words);
    return described.join(words == LineWords::Difference ? QStringLiteral("; ")
                                                         : QStringLiteral(", "));
}

QList<ExpectedLine> expectedLines(const QList<SaleLine>& lines) {
    QList<ExpectedLine> expected;
    for (const SaleLine& line : lines)
        expected << ExpectedLine{line.department, toKopecks(line.amount), line.isReturn};
    return expected;
}

namespace {

QString describeClose(const ExpectedReceipt& receipt) {
    switch (receipt.payment) {
    case Payment::None:
        return QStringLiteral("закрыть без оплаты");
    case Payment::Card:
        return QStringLiteral("оплата картой");
    case Payment::Cash:
        break;
    }
    QStringList tenders;
    for (Kopecks t : receipt.tenders)
        tenders << formatMoney(t);
    return QStringLiteral("наличными, внесено %1").arg(tenders.join(QStringLiteral(", затем ")));
}

} // namespace

QString describeItem(const ExerciseItem& item) {
    switch (item.kind) {
    case ItemKind::Receipt:
        return QStringLiteral("Чек: %1; %2")
            .arg(describeLines(item.receipt.lines, LineWords::Checklist),
                 describeClose(item.receipt));
    case ItemKind::CashIn:
        return QStringLiteral("Внесение наличных: %1").arg(formatMoney(item.amount));
    case ItemKind::CashOut:
        return QStringLiteral("Инкассация: %1").arg(formatMoney(item.amount));
    case ItemKind::Report:
        return QStringLiteral("Отчёт %1").arg(reportCaption(item.report)) +
               (item.reportTotal ? QStringLiteral(": %1").arg(formatMoney(*item.reportTotal))
                                 : QString());
    case ItemKind::Header:
        return QStringLiteral("Новое клише: %1").arg(item.headerLines.join(QStringLiteral(" / ")));
    case ItemKind::Cancel:
        return QStringLiteral("Отмена чека клавишей СБ");
    }
    return {};
}

} // namespace tarvel
