#include "panel/cash_register.h"
#include "platform/qt_printer.h"
#include "platform/qt_services.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tarvel::SystemClock clock;
    tarvel::SystemRegional regional;
    tarvel::QtMessageBoxes messages;
    tarvel::QtPrinter printer;
    tarvel::QtProgramEnd programEnd;
    tarvel::CashRegister reg({clock, regional, messages, printer, programEnd,
                              tarvel::DataDir::besideExecutable()});
    reg.Form_Load();
    return 0;
}
