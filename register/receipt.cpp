// The receipt keys: ВВ (sale, payment and closing), "=" (the total), ВТ (return mark), НЛ
// (cash in or out, cash tendered) and % (card payment).
//
// A receipt's state is nothing but three lamps: ReceiptOpen, Totalled and CashTendered. ВВ
// sells while the receipt is not totalled, closes it at once after the total, or, once НЛ has
// marked cash tendered, takes the indicator as the money handed over and prints the change.
// The "%" key computes no percentage: on a totalled receipt it is the card payment, which
// prints a closing card line under the tape, takes no amount and gives no change.
//
// Closing a receipt never depends on the printer or the calculator: each step runs on its own,
// a step that fails is skipped, and the receipt is still journaled and the tape refilled with
// the header. An arithmetic fault of the pending calculation is shown, as the operator keys
// show it, and ВВ goes on with the indicator as it stands.

#include "numbers/numbers.h"
#include "register/cash_register.h"
#include "register/printout.h"

#include <cmath>
#include <limits>

namespace tarvel {
namespace {

const QString kRub = QStringLiteral(" руб");
const QString kChange = QStringLiteral(" СДАЧА  ");
const QString kReturnWord = QStringLiteral("     ВОЗВРАТ");
const QString kReturnMark = QStringLiteral("  -");
const QString kCashIn = QStringLiteral(" ВНЕСЕНИЕ НАЛИЧНЫХ");
const QString kCashOut = QStringLiteral("    ИНКАССАЦИЯ");
// Reaches the paper only: neither the tape on screen nor the journal ever holds it.
const QString kCardPaymentLine = QStringLiteral(" ОПЛАТА КАРТОЙ");

const QString kReceiptTotalTooLarge =
    QStringLiteral("Сумма чека вышла бы за пределы кассы. Продажа не пробита.");
const QString kShiftTotalTooLarge =
    QStringLiteral("Сменный итог вышел бы за пределы кассы и не изменён.");

QString line(const QString& text) {
    return kCrLf.toString() + text;
}

// The totals are single-precision registers. A sum beyond their range is refused with a
// message, and the total keeps its last value instead of turning into an infinity that would
// spoil every later receipt and shift report.
bool withinSingleRange(double value) {
    return std::abs(value) <= double(std::numeric_limits<float>::max());
}

} // namespace

void CashRegister::enter() {
    // The header is being typed, or the register is in КР mode: the key does nothing.
    if (!s_.TxtCHL.locked || s_.inKrMode()) return;
    s_.light(Lamp::ReceiptOpen);
    if (!s_.lit(Lamp::Totalled)) {
        sell();
    } else if (s_.lit(Lamp::CashTendered)) {
        // Too little money leaves the receipt waiting for the next amount tendered.
        if (!takeCash()) return;
    } else {
        closeReceipt(Payment::None);
        s_.putOut(Lamp::ReceiptOpen);
        s_.putOut(Lamp::Totalled);
        completeCalculation();
    }
    // In КЗ mode with PrintEachEnter lit the tape goes to paper after every press.
    if (s_.inJournalMode() && s_.lit(Lamp::PrintEachEnter))
        printTape(svc_.printer, s_.print, s_.TxtCHL.text());
    completeCalculation();
}

// A quantity Х price still pending is worked out first, so its result is what is sold.
void CashRegister::sell() {
    completeCalculation();
    const double amount = leadingValue(s_.TxtIND.text(), svc_.regional.decimalSeparator());
    // Added in double precision, kept in single precision.
    const double total = double(s_.receiptTotal) + amount;
    if (!withinSingleRange(total)) {
        tell(kReceiptTotalTooLarge);
        return;
    }
    // The amount goes on the tape as shown (12.50 stays 12.50); the total takes its number.
    s_.TxtCHL.append(
        line(QLatin1Char(' ') + s_.TxtSEC.text() + QStringLiteral("  ") + s_.TxtIND.text() + kRub));
    s_.TxtCHL.moveCaretToEnd();
    s_.receiptTotal = float(total);
    watch_.sale(s_.TxtSEC.text(), s_.TxtIND.text(), amount);
    s_.TxtIND.setText(QString());
}

// Returns false when the money tendered is short of the total, or too large an amount to
// work out: a check that cannot be made counts as failed, so the receipt stays open.
bool CashRegister::takeCash() {
    const QChar separator = svc_.regional.decimalSeparator();
    const std::optional<double> difference = normalisedDifference();
    // The change is rounded half to even, as a cashier counts it out: 0.125 gives 0.12. When
    // the difference cannot be worked out the change stays at 0.
    const QString change = displayText(roundHalfEven2(difference.value_or(0)), separator);
    s_.TxtCHL.append(line(QLatin1Char(' ') + s_.TxtIND.text() + kRub) +
                     line(kChange + change + kRub));
    s_.TxtCHL.moveCaretToEnd();
    if (!difference || *difference < 0) {
        watch_.shortMoney(leadingValue(s_.TxtIND.text(), separator));
        s_.TxtIND.setText(kNotEnoughMoney);
        // The trainee keys the next amount tendered over the message, not after it.
        s_.entryFlag = 0;
        return false;
    }
    watch_.cashTendered(leadingValue(s_.TxtIND.text(), separator), roundHalfEven2(*difference));
    s_.TxtIND.setText(kChange + change + QStringLiteral(" РУБ"));
    closeReceipt(Payment::Cash);
    s_.putOut(Lamp::CashTendered);
    s_.putOut(Lamp::ReceiptOpen);
    s_.putOut(Lamp::Totalled);
    completeCalculation();
    // The reset leaves the indicator at "0": the change stays on the printout and the journal.
    clear();
    return true;
}

// Print the receipt, journal it and start the next one from a fresh header. Every step stands
// on its own: a printer step that fails is skipped without a word, so the receipt is journaled
// and closed whatever the printer does.
void CashRegister::closeReceipt(Payment payment) {
    if (payment == Payment::Card)
        watch_.closedByCard(s_.receiptTotal);
    else
        watch_.closed(s_.receiptTotal);
    printTape(svc_.printer, s_.print, s_.TxtCHL.text(),
              payment == Payment::Card ? QStringView(kCardPaymentLine) : QStringView());
    journal_.append(line(s_.TxtCHL.text()));
    reloadHeader();
    s_.receiptTotal = 0;
}

// The money tendered less the receipt total, worked out in double precision, written with 15
// digits and read back, so that noise beyond the 15th digit of the subtraction is dropped. The
// single-precision total keeps its own noise: 33.3 is stored as 33.2999992, so 33.3 tendered
// leaves a tiny positive difference (change 0), while 0.1 is stored just above 0.1 and 0.1
// tendered is short. An amount beyond the range of a double has no difference.
std::optional<double> CashRegister::normalisedDifference() const {
    const QChar separator = svc_.regional.decimalSeparator();
    const double difference = leadingValue(s_.TxtIND.text(), separator) - double(s_.receiptTotal);
    if (!std::isfinite(difference)) return std::nullopt;
    return leadingValue(displayText(difference, separator), separator);
}

void CashRegister::total() {
    if (const ArithmeticFault fault = applyOperator(Operator::None);
        fault != ArithmeticFault::None) {
        showFault(fault);
        return;
    }
    if (!s_.lit(Lamp::ReceiptOpen)) return;
    const QChar separator = svc_.regional.decimalSeparator();
    s_.TxtIND.setText(displayText(s_.receiptTotal, separator));
    const QString stamp = svc_.regional.shortDate(svc_.clock.currentDate()) + QLatin1Char(' ') +
                          svc_.regional.longTime(svc_.clock.currentTime());
    // No line break after the last asterisks: the next line brings its own.
    s_.TxtCHL.append(
        line(QStringLiteral("ИТОГО")) + line(s_.TxtIND.text() + QStringLiteral("руб")) +
        line(QStringLiteral("КАССИР ______")) + line(QStringLiteral("          /_______/")) +
        line(QStringLiteral("******************")) + line(stamp) +
        line(QStringLiteral("******************")));
    s_.TxtCHL.moveCaretToEnd();
    s_.light(Lamp::Totalled);
    watch_.totalled(s_.receiptTotal);
    // The shift total is summed in single precision and kept as the register would print it
    // (7 significant digits).
    const float sum = s_.shiftTotal + s_.receiptTotal;
    const double kept = std::isfinite(sum) ? leadingValue(displayText(sum, separator), separator)
                                           : std::numeric_limits<double>::infinity();
    if (withinSingleRange(kept))
        s_.shiftTotal = float(kept);
    else
        tell(kShiftTotalTooLarge);
    s_.TxtIND.setText(QStringLiteral("0"));
}

// A return: the word on the tape and the minus mark behind the department number, which the
// next sale line carries. The amount still adds to the total: the mark is text only.
void CashRegister::returnMark() {
    s_.TxtCHL.append(kReturnWord);
    s_.TxtCHL.moveCaretToEnd();
    s_.TxtSEC.append(kReturnMark);
}

// Cash in, or out when "-" was pressed just before. After the total it also marks the cash
// tendered, so the next ВВ works out the change.
void CashRegister::markCash() {
    watch_.cashKey(s_.lit(Lamp::Totalled), s_.lit(Lamp::CashOut));
    if (s_.lit(Lamp::Totalled)) s_.light(Lamp::CashTendered);
    if (s_.lit(Lamp::CashOut)) {
        s_.TxtCHL.append(line(kCashOut));
        s_.putOut(Lamp::CashOut);
    } else {
        s_.TxtCHL.append(line(kCashIn));
    }
    s_.TxtCHL.moveCaretToEnd();
}

// Only a totalled receipt can be paid by card; otherwise the key just marks a receipt as open.
void CashRegister::payByCard() {
    s_.light(Lamp::ReceiptOpen);
    if (!s_.lit(Lamp::Totalled)) return;
    closeReceipt(Payment::Card);
    s_.putOut(Lamp::ReceiptOpen);
    s_.putOut(Lamp::Totalled);
}

} // namespace tarvel
