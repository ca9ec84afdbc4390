#include "exercises/differences.h"

#include <QRegularExpression>
#include <cmath>

namespace tarvel {
namespace {

// The line rung up, its amount to the kopeck, beside the line expected there.
Differences sameLineDifferences(int number, const ExpectedLine& expected,
                                const ExpectedLine& actual) {
    Differences out;
    const QString at = QStringLiteral("строка %1: ").arg(number);
    if (actual.department != expected.department)
        out << Difference{
            MistakeKind::WrongDepartment,
            at + QStringLiteral("отдел %1, а нужно %2")
                     .arg(departmentText(actual.department), departmentText(expected.department))};
    if (actual.amount != expected.amount)
        out << Difference{MistakeKind::WrongAmount,
                          at + QStringLiteral("сумма %1, а нужно %2")
                                   .arg(formatMoney(actual.amount), formatMoney(expected.amount))};
    if (expected.isReturn && !actual.isReturn)
        out << Difference{MistakeKind::ReturnNotMarked,
                          at + QStringLiteral("не отмечен возврат (ВТ перед ВВ)")};
    if (!expected.isReturn && actual.isReturn)
        out << Difference{MistakeKind::ReturnMarked,
                          at + QStringLiteral("отмечен возврат (ВТ), а это продажа")};
    return out;
}

QString moneyList(const QList<Kopecks>& amounts) {
    QStringList out;
    for (Kopecks a : amounts)
        out << formatMoney(a);
    return out.join(QStringLiteral(", "));
}

QList<Kopecks> kopecksOf(const QList<double>& amounts) {
    QList<Kopecks> out;
    for (double a : amounts)
        out << toKopecks(a);
    return out;
}

// The amounts handed over before the one that closed the receipt: each was short.
Differences shortTenderDifferences(const QList<Kopecks>& expected, const QList<Kopecks>& actual) {
    if (expected == actual) return {};
    if (expected.isEmpty())
        return {{MistakeKind::ShortMoney,
                 QStringLiteral("мало денег: сначала внесено %1").arg(moneyList(actual))}};
    if (actual.isEmpty())
        return {{MistakeKind::ShortMoney,
                 QStringLiteral("не было неполной оплаты: сначала нужно внести %1")
                     .arg(moneyList(expected))}};
    return {{MistakeKind::WrongChange, QStringLiteral("сначала внесено %1, а нужно %2")
                                           .arg(moneyList(actual), moneyList(expected))}};
}

QString paymentWords(Payment payment) {
    switch (payment) {
    case Payment::None:
        return QStringLiteral("чек закрыт без оплаты");
    case Payment::Cash:
        return QStringLiteral("чек оплачен наличными");
    case Payment::Card:
        return QStringLiteral("чек оплачен картой");
    }
    return {};
}

Differences paymentDifferences(const ExpectedReceipt& expected, const ClosedReceipt& actual) {
    const QList<Kopecks> expectedShort = expected.payment == Payment::Cash
                                             ? expected.tenders.first(expected.tenders.size() - 1)
                                             : QList<Kopecks>{};
    Differences out = shortTenderDifferences(expectedShort, kopecksOf(actual.shortTenders));
    switch (expected.payment) {
    case Payment::Cash:
        // Closed without the money handed over, the register worked out no change.
        if (actual.payment == Payment::None)
            out.prepend({MistakeKind::WrongChange,
                         QStringLiteral("сдача не выдана: чек закрыт без оплаты наличными")});
        else if (actual.payment == Payment::Card)
            out.prepend({MistakeKind::WrongPayment,
                         QStringLiteral("чек оплачен картой, а нужно наличными")});
        else if (toKopecks(actual.tendered) != expected.tenders.last())
            out << Difference{MistakeKind::WrongChange,
                              QStringLiteral("внесено %1, а нужно %2")
                                  .arg(formatMoney(toKopecks(actual.tendered)),
                                       formatMoney(expected.tenders.last()))};
        break;
    case Payment::None:
        if (actual.payment != Payment::None)
            out.prepend(
                {MistakeKind::WrongPayment,
                 paymentWords(actual.payment) + QStringLiteral(", а нужно закрыть без оплаты")});
        break;
    case Payment::Card:
        if (actual.payment != Payment::Card)
            out.prepend(
                {MistakeKind::WrongPayment,
                 paymentWords(actual.payment) + QStringLiteral(", а нужно оплатить картой (%)")});
        break;
    }
    return out;
}

// Two lists of lines side by side, numbered from 1: a line only expected, a line only there,
// and a pair of lines, each put in its own words.
template <typename Expected, typename Actual, typename Missing, typename Extra, typename Compare>
Differences sideBySide(const QList<Expected>& expected, const QList<Actual>& actual,
                       Missing missing, Extra extra, Compare compare) {
    Differences out;
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const int number = int(i) + 1;
        if (i >= actual.size())
            out << missing(number, expected[i]);
        else if (i >= expected.size())
            out << extra(number, actual[i]);
        else
            out << compare(number, expected[i], actual[i]);
    }
    return out;
}

} // namespace

QStringList headerLinesOf(const QString& text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (QString& line : lines)
        line = line.trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

Differences lineDifferences(const QList<ExpectedLine>& expected, const QList<SaleLine>& actual) {
    return sideBySide(
        expected, expectedLines(actual),
        [](int number, const ExpectedLine& line) {
            return Difference{MistakeKind::MissingLine,
                              QStringLiteral("нет строки %1: %2")
                                  .arg(number)
                                  .arg(describeLine(line, LineWords::Difference))};
        },
        [](int number, const ExpectedLine& line) {
            return Difference{MistakeKind::ExtraLine,
                              QStringLiteral("лишняя строка %1: %2")
                                  .arg(number)
                                  .arg(describeLine(line, LineWords::Difference))};
        },
        sameLineDifferences);
}

Differences receiptDifferences(const ExpectedReceipt& expected, const ClosedReceipt& actual) {
    Differences out = lineDifferences(expected.lines, actual.lines);
    if (actual.movement == CashMovement::In)
        out << Difference{MistakeKind::WrongCashMovement,
                          QStringLiteral("чек пробит как внесение наличных: НЛ нажата до итога")};
    if (actual.movement == CashMovement::Out)
        out << Difference{MistakeKind::WrongCashMovement,
                          QStringLiteral("чек пробит как инкассация: НЛ нажата до итога")};
    return out + paymentDifferences(expected, actual);
}

Differences movementDifferences(const ExerciseItem& expected, const ClosedReceipt& actual) {
    const bool in = expected.kind == ItemKind::CashIn;
    QString mark;
    if (actual.movement == CashMovement::None)
        mark = in ? QStringLiteral("нет отметки внесения наличных: НЛ перед суммой")
                  : QStringLiteral("нет отметки инкассации: «-», затем НЛ перед суммой");
    else if (in && actual.movement == CashMovement::Out)
        mark = QStringLiteral("отмечена инкассация, а нужно внесение наличных");
    else if (!in && actual.movement == CashMovement::In)
        mark = QStringLiteral("отмечено внесение, а нужна инкассация: перед НЛ нажмите «-»");
    Differences out;
    if (!mark.isEmpty()) out << Difference{MistakeKind::WrongCashMovement, mark};
    // Taken out after "-", the amount may stand on the tape as negative: its size counts.
    const Kopecks amount = std::abs(toKopecks(actual.total));
    if (amount != expected.amount)
        out << Difference{MistakeKind::WrongAmount,
                          QStringLiteral("сумма %1, а нужно %2")
                              .arg(formatMoney(amount), formatMoney(expected.amount))};
    return out;
}

Differences reportDifferences(const ExerciseItem& expected, ShiftReport report, double shiftTotal) {
    Differences out;
    if (report != expected.report)
        out << Difference{MistakeKind::WrongReport,
                          QStringLiteral("снят отчёт %1, а нужно %2")
                              .arg(reportCaption(report), reportCaption(expected.report))};
    if (expected.reportTotal && toKopecks(shiftTotal) != *expected.reportTotal)
        out << Difference{MistakeKind::WrongReport, QStringLiteral("в отчёте %1, а нужно %2")
                                                        .arg(formatMoney(toKopecks(shiftTotal)),
                                                             formatMoney(*expected.reportTotal))};
    return out;
}

// Spaces at either end of a header line are not counted: they only centre it.
Differences headerDifferences(const QStringList& expected, const QString& savedText) {
    return sideBySide(
        expected, headerLinesOf(savedText),
        [](int number, const QString& line) {
            return Difference{
                MistakeKind::WrongHeader,
                QStringLiteral("нет строки клише %1: «%2»").arg(number).arg(line.trimmed())};
        },
        [](int number, const QString& line) {
            return Difference{MistakeKind::WrongHeader,
                              QStringLiteral("лишняя строка клише %1: «%2»").arg(number).arg(line)};
        },
        [](int number, const QString& wanted, const QString& line) {
            if (line == wanted.trimmed()) return Differences();
            return Differences{
                {MistakeKind::WrongHeader, QStringLiteral("строка клише %1: «%2», а нужно «%3»")
                                               .arg(number)
                                               .arg(line, wanted.trimmed())}};
        });
}

} // namespace tarvel
