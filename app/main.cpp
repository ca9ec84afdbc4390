// Tarvel: the cashier's trainer. Reads the command line, finds the data folder, starts the
// register over it, shows its front panel and runs until the panel is closed.

#include "app/command_line.h"
#include "app/data_folder_message.h"
#include "app/exercise_startup.h"
#include "app/program.h"
#include "qt/console_output.h"
#include "qt/russian_texts.h"
#include "ui/group_window.h"
#include "ui/panel_window.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The folder the register keeps its files in, filled with the defaults it lacks; nothing when
// it cannot be used, after the trainee has been told why.
std::optional<tarvel::DataDir> prepareData(const tarvel::CommandLine& options) {
    const QString executableDir = QCoreApplication::applicationDirPath();
    const tarvel::DataFolderReady data = tarvel::prepareDataFolder(
        tarvel::chooseDataFolder(
            {options.dataDir, executableDir,
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)}),
        tarvel::defaultFileFolders(executableDir));
    if (!data.error) return tarvel::DataDir(*data.folder);
    tarvel::QtMessageBoxes messages;
    messages.show(tarvel::dataFolderMessage(*data.error), tarvel::kProgramTitle,
                  tarvel::MessageBoxes::Icon::Critical);
    return std::nullopt;
}

// The window "Журнал группы" alone: no register, no data folder and no lock, as it only reads.
// An attempt is replayed as `--replay` does, by a program of its own over the trainee's folder,
// so the journal stays open beside it.
int showClass(const QString& folder) {
    tarvel::QtMessageBoxes messages;
    tarvel::GroupWindow window(
        folder, [&messages](const QString& keyLog, const QString& dataFolder) {
            if (!QProcess::startDetached(
                    QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--replay"), keyLog, QStringLiteral("--data-dir"), dataFolder}))
                messages.show(QStringLiteral("Не удалось начать показ записи %1").arg(keyLog),
                              tarvel::kProgramTitle, tarvel::MessageBoxes::Icon::Critical);
        });
    messages.setParent(&window);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    // Help, version and bad arguments are answered before any window or file is touched.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const tarvel::CommandLineParse command = tarvel::parseCommandLine(arguments);
    tarvel::useStartingConsole();
    if (const std::optional<int> exitCode = tarvel::answerWithoutStarting(command))
        return *exitCode;

    QApplication app(argc, argv);
    app.setApplicationName(tarvel::kProgramTitle);
    tarvel::useRussianQtTexts(app);
    if (!command.options.classDir.isEmpty()) return showClass(command.options.classDir);
    const std::optional<tarvel::DataDir> dataDir = prepareData(command.options);
    if (!dataDir) return 1;
    tarvel::QtMessageBoxes messages;
    tarvel::ExerciseStartup exercises(command.options, dataDir->path(), messages);
    if (!exercises.prepare()) return 1;
    const std::unique_ptr<tarvel::Program> program = tarvel::Program::start(
        tarvel::DataDir(exercises.registerFolder()), command.options.takeOver);
    if (!program) return 1;
    if (!program->ended()) {
        program->show();
        messages.setParent(&program->panel());
        exercises.setSystemEnded([&program] { return program->endedBySystem(); });
        exercises.begin(program->cashRegister(), program->panel(), program->clock());
    }
    // A signal while a start-up message or the chooser waited: the panel has closed, nothing
    // more is started.
    const int exitCode = program->ended() ? 0 : app.exec();
    // The exercise's end asks the program how the session ended: before the program goes.
    exercises.end();
    return exitCode;
}
