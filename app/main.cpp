// Tarvel: the cashier's trainer. Reads the command line, finds the data folder, starts the
// register over it, shows its front panel and runs until the panel is closed.

#include "app/command_line.h"
#include "app/exercise_startup.h"
#include "app/program.h"
#include "app/start_problem.h"
#include "qt/console_output.h"
#include "qt/russian_texts.h"
#include "ui/group_window.h"
#include "ui/panel_window.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The folder the register keeps its files in, filled with the defaults it lacks, or why it
// cannot be used.
tarvel::Started<tarvel::DataDir> prepareData(const tarvel::CommandLine& options) {
    const QString executableDir = QCoreApplication::applicationDirPath();
    const tarvel::DataFolderReady data = tarvel::prepareDataFolder(
        tarvel::chooseDataFolder(
            {options.dataDir, executableDir,
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)}),
        tarvel::defaultFileFolders(executableDir));
    if (data.error) return tarvel::dataFolderProblem(*data.error);
    return tarvel::DataDir(*data.folder);
}

// The register over its data folder, step by step: the folder, a replay's scratch copy of it,
// the lock, the services and the windows. The exercises' start-up is made on the way: a
// replay's copy is its to make, and it lives on with the panel.
tarvel::Started<std::unique_ptr<tarvel::Program>>
startRegister(const tarvel::CommandLine& options, std::optional<tarvel::ExerciseStartup>& exercises,
              tarvel::MessageBoxes& messages) {
    const tarvel::Started<tarvel::DataDir> data = prepareData(options);
    if (!data) return data.problem();
    const tarvel::Started<tarvel::DataDir> folder =
        exercises.emplace(options, data->path(), messages).prepare();
    if (!folder) return folder.problem();
    return tarvel::Program::start(*folder, options.takeOver);
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
    tarvel::QtMessageBoxes messages;
    std::optional<tarvel::ExerciseStartup> exercises;
    const tarvel::Started<std::unique_ptr<tarvel::Program>> started =
        startRegister(command.options, exercises, messages);
    if (!started) {
        tarvel::tellStartProblem(started.problem(), messages);
        return 1;
    }
    tarvel::Program& program = **started;
    if (!program.ended()) {
        program.show();
        messages.setParent(&program.panel());
        exercises->setSystemEnded([&program] { return program.endedBySystem(); });
        exercises->begin(program.cashRegister(), program.panel(), program.clock());
    }
    // A signal while a start-up message or the chooser waited: the panel has closed, nothing
    // more is started.
    const int exitCode = program.ended() ? 0 : app.exec();
    // The exercise's end asks the program how the session ended: before the program goes.
    exercises->end();
    return exitCode;
}
