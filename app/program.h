#pragma once
// The whole program over one data folder: the register on the system's clock, locale, message
// boxes, settings and printer, its front panel, the goods directory window, and the end of the
// session (SIGTERM, SIGINT, SIGHUP, the desktop's logout) closing the panel like its close box.
// main() runs it over the data folder it found.
//
// The session may end in any phase, also while a start-up message or the exercise chooser
// waits for an answer: every open dialog is then answered "cancel", the panel runs its close
// sequence (the journal is saved), and every event loop ends, so the program exits and frees
// its folder instead of running on without a window.
//
// One register works on a folder at a time: the program holds a lock on its folder for as long
// as it runs, and a second one started on the same folder is turned away before it touches a
// file, since the two would rewrite each other's journal.

#include "app/start_problem.h"
#include "qt/qt_printer.h"
#include "qt/qt_services.h"
#include "register/cash_register.h"
#include "register/notice_boxes.h"
#include "storage/folder_lock.h"

#include <memory>

namespace tarvel {

class DirectoryWindow;
class PanelWindow;
class SessionEnd;

class Program {
  public:
    // Takes the folder and starts the register over it. When another running register holds
    // the folder nothing is started, and the problem says why; the lock of another computer
    // is taken over after the trainee agrees, or at once with `takeOverElsewhere` (see
    // claimFolder). The services and windows that follow do not fail.
    static Started<std::unique_ptr<Program>> start(const DataDir& dataDir,
                                                   bool takeOverElsewhere = false);

    // Starts the register: a missing header may already be reported here, before the panel is
    // on screen, while the journal is read in the background.
    Program(const DataDir& dataDir, std::unique_ptr<FolderLock> lock);
    ~Program();

    // Shows the front panel; the journal is taken in once the panel has been painted.
    void show();
    PanelWindow& panel() { return *panel_; }
    CashRegister& cashRegister() { return reg_; }
    const Clock& clock() const { return clock_; }
    // The session has ended (a signal, a logout): main() starts nothing more.
    bool ended() const;
    // Ended by a signal or the desktop's logout: see SessionEnd::endedBySystem.
    bool endedBySystem() const;

  private:
    void endSession();

    std::unique_ptr<FolderLock> lock_;
    std::unique_ptr<SessionEnd> sessionEnd_;
    SystemClock clock_;
    SystemRegional regional_;
    QtMessageBoxes messages_;
    // What the register tells the trainee, shown in boxes over the panel.
    NoticeBoxes notices_{messages_};
    QtSettingsStore settings_;
    QtPrinter printer_;
    QtProgramEnd programEnd_;
    CashRegister reg_;
    std::unique_ptr<PanelWindow> panel_;
    std::unique_ptr<DirectoryWindow> directory_;
};

} // namespace tarvel
