#include "register/receipt_watch.h"

#include <utility>

namespace tarvel {
namespace {

// "05" is department 5; the return mark of ВТ follows the number ("05  -").
SaleLine saleLine(const QString& department, const QString& shown, double amount) {
    SaleLine line;
    line.department = department.left(2).toInt();
    line.isReturn = department.mid(2).contains(QLatin1Char('-'));
    line.shown = shown;
    line.amount = amount;
    return line;
}

} // namespace

void ReceiptWatch::sale(const QString& department, const QString& shown, double amount) {
    const SaleLine line = saleLine(department, shown, amount);
    open_.lines.append(line);
    tell(&RegisterEvents::saleRegistered, line);
}

void ReceiptWatch::totalled(double total) {
    tell(&RegisterEvents::receiptTotalled, total);
}

void ReceiptWatch::cashKey(bool totalled, bool minusLit) {
    // НЛ marking money paid in or taken out: listeners learn it with the closed receipt.
    if (totalled) return; // the cash-tendered mark: told with the payment
    open_.movement = minusLit ? CashMovement::Out : CashMovement::In;
}

void ReceiptWatch::shortMoney(double tendered) {
    open_.shortTenders.append(tendered);
    tell(&RegisterEvents::shortMoney, tendered);
}

void ReceiptWatch::cashTendered(double tendered, double change) {
    open_.payment = Payment::Cash;
    open_.tendered = tendered;
    open_.change = change;
}

void ReceiptWatch::closed(double total) {
    open_.total = total;
    const ClosedReceipt receipt = std::exchange(open_, ClosedReceipt{});
    tell(&RegisterEvents::receiptClosed, receipt);
}

void ReceiptWatch::closedByCard(double total) {
    open_.payment = Payment::Card;
    closed(total);
}

void ReceiptWatch::cleared() {
    const ClosedReceipt dropped = std::exchange(open_, ClosedReceipt{});
    if (!dropped.lines.isEmpty()) tell(&RegisterEvents::receiptCancelled, dropped);
}

void ReceiptWatch::shiftReport(ShiftReport report, double shiftTotal) {
    tell(&RegisterEvents::shiftReportWritten, report, shiftTotal);
}

void ReceiptWatch::headerSaved(const QString& text) {
    tell(&RegisterEvents::headerSaved, text);
}

void ReceiptWatch::arithmeticFault(ArithmeticFault fault) {
    tell(&RegisterEvents::arithmeticFault, fault);
}

} // namespace tarvel
