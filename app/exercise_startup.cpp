#include "app/exercise_startup.h"

#include "exercises/exercise_file.h"
#include "exercises/exercise_writer.h"
#include "exercises/variants.h"
#include "ui/exercise_chooser.h"
#include "ui/exercise_window.h"
#include "ui/panel_window.h"
#include "ui/replay_window.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace tarvel {
namespace {

// How long a played key is shown pressed.
constexpr int kKeyShownMs = 180;
// Pixels between the panel and the window beside it.
constexpr int kGap = 12;

// The panel and the window beside it, to its right, stand side by side in the middle of the
// screen; where the screen is too narrow the window covers the panel's right part rather than
// leave the screen.
void placeBeside(QWidget& window, QWidget& panel) {
    const QRect screen = panel.screen()->availableGeometry();
    const QSize frame = panel.frameGeometry().size();
    const int width = frame.width() + kGap + window.frameGeometry().width();
    const int left = screen.left() + std::max(0, (screen.width() - width) / 2);
    const int top = screen.top() +
                    std::max(0, (screen.height() - std::max(frame.height(), window.height())) / 2);
    panel.move(left, top);
    window.move(
        std::min(left + frame.width() + kGap, screen.right() - window.frameGeometry().width()),
        top);
}

void showPressed(QWidget& panel, Key key) {
    QPointer<QAbstractButton> button = panel.findChild<QAbstractButton*>(keyName(key).toString());
    if (!button) return;
    button->setDown(true);
    QTimer::singleShot(kKeyShownMs, button, [button] {
        if (button) button->setDown(false);
    });
}

} // namespace

ExerciseStartup::ExerciseStartup(CommandLine options, QString dataFolder, MessageBoxes& messages)
    : options_(std::move(options)), dataFolder_(std::move(dataFolder)), messages_(messages) {}

ExerciseStartup::~ExerciseStartup() {
    end();
}

Started<DataDir> ExerciseStartup::prepare() {
    ReplayFolder::removeAbandoned();
    if (options_.replay.isEmpty()) return DataDir(dataFolder_);
    KeyLogRead read = readKeyLog(options_.replay);
    if (!read.log) return replayProblem(read.error);
    scratch_ = std::make_unique<ReplayFolder>();
    if (const QString problem = scratch_->prepare(read.log->head, dataFolder_); !problem.isEmpty())
        return replayProblem(problem);
    log_ = std::move(read.log);
    return DataDir(scratch_->path());
}

void ExerciseStartup::begin(CashRegister& reg, PanelWindow& panel, const Clock& clock) {
    if (log_)
        startReplay(reg, panel);
    else if (!options_.exercise.isEmpty() || options_.record || !options_.newExercise.isEmpty())
        startSession(reg, panel, clock);
}

void ExerciseStartup::end() {
    if (session_) session_->end();
    saveNewExercise();
}

// Once: the close box, the end of the session and the program's end all come here.
void ExerciseStartup::saveNewExercise() {
    if (!recorder_ || newExerciseSaved_) return;
    newExerciseSaved_ = true;
    const SavedExercise saved =
        saveRecordedExercise(recorder_->work(), options_.newExercise, session_->keyLogPath());
    if (systemEnded_ && systemEnded_()) {
        std::fputs(qPrintable(saved.message + QLatin1Char('\n')), stderr);
        return;
    }
    messages_.show(saved.message, kProgramTitle,
                   saved.written ? MessageBoxes::Icon::None : MessageBoxes::Icon::Critical);
}

// From a folder the trainee chooses; a file is read as it is. Nothing when there is no usable
// exercise: the panel then runs without one.
std::optional<Exercise> ExerciseStartup::loadExercise(QWidget& panel) {
    const QString& path = options_.exercise;
    if (path.isEmpty()) return std::nullopt;
    if (QFileInfo(path).isDir()) return chooseExercise(path, panel);
    ExerciseLoad load = readExerciseFile(path);
    if (!load.exercise)
        messages_.show(load.error + QStringLiteral("\nКасса работает без упражнения."),
                       kProgramTitle, MessageBoxes::Icon::Critical);
    return std::move(load.exercise);
}

// The list shows the titles read from the top of each file; a mistake further down is found
// when the file is chosen and read whole. It is told, the file is greyed in the list with it,
// and the trainee chooses again.
std::optional<Exercise> ExerciseStartup::chooseExercise(const QString& folder, QWidget& panel) {
    QList<ListedExercise> listed = listExercises(folder);
    if (listed.isEmpty()) {
        messages_.show(QStringLiteral("В папке %1 нет упражнений (файлов .toml).\n"
                                      "Касса работает без упражнения.")
                           .arg(folder));
        return std::nullopt;
    }
    for (;;) {
        ExerciseChooser chooser(listed, &panel);
        if (chooser.exec() != QDialog::Accepted) return std::nullopt;
        const QString chosen = chooser.chosenPath();
        ExerciseLoad load = readExerciseFile(chosen);
        if (load.exercise) return std::move(load.exercise);
        messages_.show(load.error + QStringLiteral("\nВыберите другое упражнение."), kProgramTitle,
                       MessageBoxes::Icon::Critical);
        for (ListedExercise& exercise : listed)
            if (exercise.path == chosen) exercise = {chosen, {}, load.error};
    }
}

void ExerciseStartup::startSession(CashRegister& reg, PanelWindow& panel, const Clock& clock) {
    std::optional<Exercise> exercise = loadExercise(panel);
    if (!exercise && !options_.record && options_.newExercise.isEmpty()) return;
    // Each run draws its own amounts; the seed goes to the key log and results.csv.
    if (exercise) exercise = exerciseForRun(std::move(*exercise));
    stopwatch_ = std::make_unique<SteadyStopwatch>();
    session_ = std::make_unique<ExerciseSession>(
        SessionStart{dataFolder_, options_.trainee, QStringLiteral(TARVEL_VERSION),
                     reg.state().TxtCHL.text(), std::move(exercise)},
        clock, *stopwatch_, limitAlarm_, messages_);
    session_->listenTo(reg);
    if (!options_.newExercise.isEmpty()) {
        // The key log is kept too: should the file not be written, the work can be shown again.
        recorder_ = std::make_unique<ExerciseRecorder>();
        reg.addListener(*recorder_);
    }
    // The close box, the power key and the end of the session all end the event loop.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &panel, [this] { end(); });
    session_->begin();
    if (!session_->checker()) return;
    window_ = std::make_unique<ExerciseWindow>(*session_);
    session_->setOnChange([this] { window_->render(); });
    placeBeside(*window_, panel);
    window_->show();
}

void ExerciseStartup::startReplay(CashRegister& reg, PanelWindow& panel) {
    replayWindow_ =
        std::make_unique<ReplayWindow>(*log_, options_.speed, QStringLiteral(TARVEL_VERSION));
    ReplayPlayer::Hooks hooks;
    hooks.showKey = [&panel](Key key) { showPressed(panel, key); };
    hooks.stepped = [this, &panel] {
        panel.render();
        replayWindow_->showProgress(player_->played(), player_->total(), false);
    };
    hooks.finished = [this] {
        replayWindow_->showProgress(player_->played(), player_->total(), true);
    };
    player_ = std::make_unique<ReplayPlayer>(reg, log_->entries, options_.speed, alarm_,
                                             std::move(hooks));
    placeBeside(*replayWindow_, panel);
    replayWindow_->showProgress(0, player_->total(), false);
    replayWindow_->show();
    player_->start();
}

} // namespace tarvel
