#include "app/program.h"

#include "app/folder_claim.h"
#include "qt/session_end.h"
#include "ui/directory_window.h"
#include "ui/panel_window.h"

#include <QApplication>
#include <QDialog>

namespace tarvel {

Started<std::unique_ptr<Program>> Program::start(const DataDir& dataDir, bool takeOverElsewhere) {
    QtMessageBoxes messages;
    Started<std::unique_ptr<FolderLock>> lock =
        claimFolder(dataDir.path(), takeOverElsewhere, messages);
    if (!lock) return lock.problem();
    return std::make_unique<Program>(dataDir, std::move(*lock));
}

Program::Program(const DataDir& dataDir, std::unique_ptr<FolderLock> lock)
    : lock_(std::move(lock)), sessionEnd_(std::make_unique<SessionEnd>([this] { endSession(); })),
      reg_({clock_, regional_, printer_, programEnd_, dataDir}) {
    reg_.addListener(notices_);
    reg_.start(/*journalInBackground=*/true);
    panel_ = std::make_unique<PanelWindow>(reg_, settings_);
    messages_.setParent(panel_.get());
    // The goods directory: ФЦ shows and hides it, the panel's close sequence unloads it.
    directory_ = std::make_unique<DirectoryWindow>(
        reg_, DirectoryServices{regional_, messages_, settings_, dataDir},
        [this] { panel_->render(); });
    reg_.setGoodsWindow(directory_.get());
}

Program::~Program() = default;

void Program::show() {
    panel_->show();
}

bool Program::ended() const {
    return sessionEnd_->ended();
}

bool Program::endedBySystem() const {
    return sessionEnd_->endedBySystem();
}

void Program::endSession() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
            dialog->reject();
    if (panel_ && panel_->isVisible()) panel_->close();
    // Ends the loops of the dialogs just answered and the main one; a loop a start-up step
    // would open after this returns at once.
    QCoreApplication::exit(0);
}

} // namespace tarvel
