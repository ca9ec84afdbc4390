// Tarvel: the cashier's trainer. Starts the register with the system's clock, locale, message
// boxes, settings and printer, shows its front panel and runs until the panel is closed.

#include "panel/cash_register.h"
#include "platform/directory_window.h"
#include "platform/panel_window.h"
#include "platform/qt_printer.h"
#include "platform/qt_services.h"
#include "platform/session_end.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(tarvel::kProgramTitle);

    tarvel::SystemClock clock;
    tarvel::SystemRegional regional;
    tarvel::QtMessageBoxes messages;
    tarvel::QtSettingsStore settings;
    tarvel::QtPrinter printer;
    tarvel::QtProgramEnd programEnd;
    tarvel::CashRegister reg(
        {clock, regional, messages, printer, programEnd, tarvel::DataDir::besideExecutable()});

    // Start-up may already report a missing file, before the panel is on screen.
    reg.Form_Load();

    tarvel::PanelWindow panel(reg);
    messages.setParent(&panel);
    // The goods directory: ФЦ shows and hides it, the panel's close sequence unloads it.
    tarvel::FrmSPR directory(reg,
                             {regional, messages, settings, tarvel::DataDir::besideExecutable()},
                             [&panel] { panel.render(); });
    reg.setGoodsWindow(&directory);
    panel.show();
    // SIGTERM, SIGINT, SIGHUP and the desktop's logout close the panel like its close box.
    tarvel::SessionEnd sessionEnd([&panel] { panel.close(); });
    return app.exec();
}
