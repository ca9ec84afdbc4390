#include "register/printout.h"

#include <limits>

namespace tarvel {
namespace {

// Printouts are stacked 2 % of the page apart. After fifty of them the next one would start at
// the bottom edge, so the stacking starts again from the top.
constexpr int kPrintoutsPerPage = 50;

void beginPrintout(Printer& printer, PrintPosition& position) {
    // The steps are hundredths of the printable area, in whatever unit the printer measures.
    if (const auto width = printer.printableWidth()) position.stepX = double(*width) * 0.01;
    if (const auto height = printer.printableHeight()) position.stepY = double(*height) * 0.02;
    printer.setFontSize(12);
    printer.setCurrentX(float(12 * position.stepX));
    printer.setCurrentY(float((position.row % kPrintoutsPerPage) * position.stepY));
    // The count of printouts grows even when nothing could be printed, and stops at its limit.
    if (position.row < std::numeric_limits<std::int16_t>::max()) ++position.row;
}

void printCharacters(Printer& printer, const QString& tape) {
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

} // namespace

void printTape(Printer& printer, PrintPosition& position, const QString& tape,
               QStringView closingLine) {
    beginPrintout(printer, position);
    printCharacters(printer, tape);
    if (!closingLine.isEmpty()) {
        printer.printEndLine(kCrLf.toString());
        printer.setCurrentX(float(12 * position.stepX));
        printer.printEndLine(closingLine.toString());
    }
    printer.finishPrintout();
}

} // namespace tarvel
