// Tarvel: the cashier's trainer. Starts the register with the system's clock, locale, message
// boxes, settings and printer, shows its front panel and runs until the panel is closed.

#include "panel/cash_register.h"
#include "panel/file_messages.h"
#include "platform/directory_window.h"
#include "platform/panel_window.h"
#include "platform/qt_printer.h"
#include "platform/qt_services.h"
#include "platform/session_end.h"
#include "storage/folder_lock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace {

// A hook for the tests that drive the real program (tests/crash): TARVEL_KEYS="Command1 CommandVV"
// clicks those keys of the panel by their control names, in order, once the event loop runs,
// then writes "TARVEL_KEYS pressed <n>" to standard output. A name that is no visible key is
// skipped with a word on standard error. Unset, as it is for every trainee, it does nothing.
void pressKeysFromEnvironment(QWidget& panel) {
    const QString keys = qEnvironmentVariable("TARVEL_KEYS");
    if (keys.isEmpty()) return;
    QTimer::singleShot(0, &panel, [&panel, keys] {
        int pressed = 0;
        for (const QString& name : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            auto* key = panel.findChild<QAbstractButton*>(name);
            if (key && key->isVisible()) {
                key->click();
                ++pressed;
            } else {
                std::fprintf(stderr, "TARVEL_KEYS: no key %s\n", qPrintable(name));
            }
        }
        std::printf("TARVEL_KEYS pressed %d\n", pressed);
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(tarvel::kProgramTitle);

    tarvel::SystemClock clock;
    tarvel::SystemRegional regional;
    tarvel::QtMessageBoxes messages;
    tarvel::QtSettingsStore settings;
    tarvel::QtPrinter printer;
    tarvel::QtProgramEnd programEnd;
    const tarvel::DataDir dataDir = tarvel::DataDir::besideExecutable();

    // One register per folder, taken before any file is touched.
    tarvel::FolderLock folderLock(dataDir.path());
    if (folderLock.take() == tarvel::FolderLock::Outcome::HeldByOther) {
        const QString refusal = tarvel::folderInUseMessage(dataDir.path());
        std::fprintf(stderr, "%s\n", qPrintable(refusal));
        messages.show(refusal, tarvel::kProgramTitle, tarvel::MessageBoxes::Icon::Critical);
        return 1;
    }

    tarvel::CashRegister reg({clock, regional, messages, printer, programEnd, dataDir});

    // Start-up may already report a missing header, before the panel is on screen. The
    // journal is read meanwhile and taken in once the panel has been painted.
    reg.Form_Load(/*journalInBackground=*/true);

    tarvel::PanelWindow panel(reg);
    messages.setParent(&panel);
    // The goods directory: ФЦ shows and hides it, the panel's close sequence unloads it.
    tarvel::FrmSPR directory(reg, {regional, messages, settings, dataDir},
                             [&panel] { panel.render(); });
    reg.setGoodsWindow(&directory);
    panel.show();
    // SIGTERM, SIGINT, SIGHUP and the desktop's logout close the panel like its close box.
    tarvel::SessionEnd sessionEnd([&panel] { panel.close(); });
    pressKeysFromEnvironment(panel);
    return app.exec();
}
