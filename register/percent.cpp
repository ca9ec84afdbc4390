// The "%" key is the card-payment key: it computes no percentage. Pressed on a totalled
// receipt it prints the tape with a closing card line, journals the receipt and starts a fresh
// one. It takes no amount from the indicator and prints no change.
//
// Every step stands on its own: a printer step that fails (no printer installed, printer
// error) is skipped without a word and the next one runs, so the receipt is journaled and
// closed whatever the printer does.

#include "register/cash_register.h"

namespace tarvel {

namespace {

// Reaches the paper only: neither the tape on screen nor the journal ever holds it.
const QString kCardPaymentLine = QStringLiteral(" ОПЛАТА КАРТОЙ");

} // namespace

void CashRegister::PROC_Click() {
    s_.light(Lamp::LblVV);
    // Only a totalled receipt can be paid; otherwise the key just marks a receipt as open.
    if (!s_.lit(Lamp::LblPrint)) return;
    watch_.closedByCard(s_.receiptTotal);

    beginPrintout();
    printTapeCharacters();
    // The card line stands on a line of its own under the tape, at the receipt's left margin.
    svc_.printer.printEndLine(kCrLf.toString());
    svc_.printer.setCurrentX(float(12 * s_.printStepX));
    svc_.printer.printEndLine(kCardPaymentLine);
    finishPrintout();

    QString entry = kCrLf.toString();
    entry += s_.TxtCHL.text();
    journalAppend(entry);
    clishe();
    s_.receiptTotal = 0;
    s_.putOut(Lamp::LblVV);
    s_.putOut(Lamp::LblPrint);
}

} // namespace tarvel
