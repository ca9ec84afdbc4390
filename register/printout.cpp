// The receipt printout: the whole receipt tape sent character by character to the system
// printer. ВВ prints with printReceiptTape(); the % key uses the three steps on their own and
// puts its card-payment line between the tape and the finish.
//
// Every printer call is guarded on its own: when there is no printer, or it fails, the failing
// call is skipped and the rest goes on, so a closing receipt still reaches the journal.

#include "register/cash_register.h"

#include <limits>

namespace tarvel {
namespace {

// Printouts are stacked 2 % of the page apart. After fifty of them the next one would start at
// the bottom edge, so the stacking starts again from the top.
constexpr int kPrintoutsPerPage = 50;

} // namespace

void CashRegister::printReceiptTape() {
    beginPrintout();
    printTapeCharacters();
    finishPrintout();
}

void CashRegister::beginPrintout() {
    Printer& printer = svc_.printer;
    // The steps are hundredths of the printable area, in whatever unit the printer measures.
    if (const auto width = printer.printableWidth()) s_.printStepX = double(*width) * 0.01;
    if (const auto height = printer.printableHeight()) s_.printStepY = double(*height) * 0.02;
    printer.setFontSize(12);
    printer.setCurrentX(float(12 * s_.printStepX));
    printer.setCurrentY(float((s_.printRow % kPrintoutsPerPage) * s_.printStepY));
    // The count of printouts grows even when nothing could be printed, and stops at its limit.
    if (s_.printRow < std::numeric_limits<std::int16_t>::max()) ++s_.printRow;
}

void CashRegister::printTapeCharacters() {
    Printer& printer = svc_.printer;
    // The tape is taken once: the printout never sees later changes.
    const QString tape = s_.TxtCHL.text();
    // One string carries each character in turn: a header of megabytes would otherwise cost an
    // allocation a character. A printer that keeps what it was given keeps its own copy.
    QString character(1, QChar());
    for (qsizetype pos = 0; pos < tape.size(); ++pos) {
        const QChar c = tape[pos];
        if (c == QLatin1Char('\n')) {
            // The line feed of each CR LF: the CR has already started the new line, the LF
            // indents it by three spaces and a move to the next print zone.
            printer.printNextZone(QStringLiteral("   "));
        } else if (c.isHighSurrogate() && pos + 1 < tape.size() && tape[pos + 1].isLowSurrogate()) {
            // A character outside the basic plane is sent whole, never half of it.
            printer.printStay(tape.mid(pos, 2));
            ++pos;
        } else {
            // A CR goes to the printer like any other character and ends the printed line.
            character[0] = c;
            printer.printStay(character);
        }
    }
}

void CashRegister::finishPrintout() {
    svc_.printer.finishPrintout();
}

} // namespace tarvel
