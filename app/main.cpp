// Tarvel: the cashier's trainer. Starts the register with the system's clock, locale, message
// boxes, settings and printer, shows its front panel and runs until the panel is closed.

#include "app/command_line.h"
#include "app/data_folder_message.h"
#include "app/exercise_startup.h"
#include "panel/cash_register.h"
#include "platform/directory_window.h"
#include "platform/panel_window.h"
#include "platform/qt_printer.h"
#include "platform/qt_services.h"
#include "platform/session_end.h"

#include <QAbstractButton>
#include <QApplication>
#include <QStandardPaths>
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
    // Help, version and bad arguments are answered before any window or file is touched.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const tarvel::CommandLineParse command = tarvel::parseCommandLine(arguments);
    if (const std::optional<int> exitCode = tarvel::answerWithoutStarting(command))
        return *exitCode;

    QApplication app(argc, argv);
    app.setApplicationName(tarvel::kProgramTitle);

    tarvel::SystemClock clock;
    tarvel::SystemRegional regional;
    tarvel::QtMessageBoxes messages;
    tarvel::QtSettingsStore settings;
    tarvel::QtPrinter printer;
    tarvel::QtProgramEnd programEnd;

    const QString executableDir = QCoreApplication::applicationDirPath();
    const tarvel::DataFolderReady data = tarvel::prepareDataFolder(
        tarvel::chooseDataFolder(
            {command.options.dataDir, executableDir,
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)}),
        tarvel::defaultFileFolders(executableDir));
    if (data.error) {
        messages.show(tarvel::dataFolderMessage(*data.error), tarvel::kProgramTitle,
                      tarvel::MessageBoxes::Icon::Critical);
        return 1;
    }
    tarvel::ExerciseStartup exercises(command.options, *data.folder, messages);
    if (!exercises.prepare()) return 1;
    const tarvel::DataDir dataDir(exercises.registerFolder());
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
    exercises.begin(reg, panel, clock);
    // SIGTERM, SIGINT, SIGHUP and the desktop's logout close the panel like its close box.
    tarvel::SessionEnd sessionEnd([&panel] { panel.close(); });
    pressKeysFromEnvironment(panel);
    return app.exec();
}
