#pragma once
// The whole program over one data folder: the register on the system's clock, locale, message
// boxes, settings and printer, its front panel, the goods directory window, and the end of the
// session (SIGTERM, SIGINT, SIGHUP, the desktop's logout) closing the panel like its close box.
// main() runs it over the folder beside the executable.

#include "panel/cash_register.h"
#include "platform/qt_printer.h"
#include "platform/qt_services.h"

#include <memory>

namespace tarvel {

class FrmSPR;
class PanelWindow;
class SessionEnd;

class Program {
  public:
    // Starts the register: a missing header may already be reported here, before the panel is
    // on screen, while the journal is read in the background.
    explicit Program(const DataDir& dataDir);
    ~Program();

    // Shows the front panel; the journal is taken in once the panel has been painted.
    void show();
    PanelWindow& panel() { return *panel_; }

  private:
    SystemClock clock_;
    SystemRegional regional_;
    QtMessageBoxes messages_;
    QtSettingsStore settings_;
    QtPrinter printer_;
    QtProgramEnd programEnd_;
    CashRegister reg_;
    std::unique_ptr<PanelWindow> panel_;
    std::unique_ptr<FrmSPR> directory_;
    std::unique_ptr<SessionEnd> sessionEnd_;
};

} // namespace tarvel
