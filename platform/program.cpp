#include "platform/program.h"

#include "platform/directory_window.h"
#include "platform/panel_window.h"
#include "platform/session_end.h"

namespace tarvel {

Program::Program(const DataDir& dataDir)
    : reg_({clock_, regional_, messages_, printer_, programEnd_, dataDir}) {
    reg_.Form_Load(/*journalInBackground=*/true);
    panel_ = std::make_unique<PanelWindow>(reg_);
    messages_.setParent(panel_.get());
    // The goods directory: ФЦ shows and hides it, the panel's close sequence unloads it.
    directory_ =
        std::make_unique<FrmSPR>(reg_, DirectoryServices{regional_, messages_, settings_, dataDir},
                                 [this] { panel_->render(); });
    reg_.setGoodsWindow(directory_.get());
}

Program::~Program() = default;

void Program::show() {
    panel_->show();
    sessionEnd_ = std::make_unique<SessionEnd>([this] { panel_->close(); });
}

} // namespace tarvel
