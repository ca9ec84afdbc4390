#pragma once
// What the command line asks of the exercises, wired around the register and its panel:
//   --exercise FILE|FOLDER [--trainee NAME]: the exercise (a folder gets the chooser), checked
//       as the trainee works, the window "Задание" beside the panel, the key log, results.csv;
//   --record: the key log alone;
//   --new-exercise FILE: the key log, and the instructor's work written to FILE as an exercise
//       when the panel closes;
//   --replay LOG [--speed N]: the log played on the panel over a scratch copy of the data folder.
// An exercise file that cannot be used is told in Russian and the panel runs without one.

#include "app/command_line.h"
#include "app/start_problem.h"
#include "exercises/exercise_recorder.h"
#include "exercises/exercise_session.h"
#include "exercises/replay.h"

#include <functional>
#include <memory>

namespace tarvel {

class ExerciseWindow;
class PanelWindow;
class ReplayWindow;

class ExerciseStartup {
  public:
    ExerciseStartup(CommandLine options, QString dataFolder, MessageBoxes& messages);
    ~ExerciseStartup();

    // Before the register starts: a replay's log is read and its scratch folder made. The
    // folder the register works in (the data folder, or a replay's scratch copy), or why the
    // replay cannot start.
    Started<DataDir> prepare();
    // Once the panel is on screen.
    void begin(CashRegister& reg, PanelWindow& panel, const Clock& clock);
    // The panel is closing: an exercise not done is written as abandoned, a new one is written
    // to its file.
    void end();
    // Whether the system ended the session (a signal, a logout): what the end has to tell then
    // goes to standard error, as no one may be there to close a message box.
    void setSystemEnded(std::function<bool()> systemEnded) {
        systemEnded_ = std::move(systemEnded);
    }

  private:
    std::optional<Exercise> loadExercise(QWidget& panel);
    std::optional<Exercise> chooseExercise(const QString& folder, QWidget& panel);
    void startSession(CashRegister& reg, PanelWindow& panel, const Clock& clock);
    void startReplay(CashRegister& reg, PanelWindow& panel);
    void saveNewExercise();

    CommandLine options_;
    QString dataFolder_;
    MessageBoxes& messages_;
    std::optional<KeyLog> log_;
    std::unique_ptr<ReplayFolder> scratch_;
    std::unique_ptr<SteadyStopwatch> stopwatch_;
    TimerAlarm limitAlarm_; // the exercise's time limit; outlives the session
    std::unique_ptr<ExerciseSession> session_;
    std::unique_ptr<ExerciseWindow> window_;
    std::unique_ptr<ExerciseRecorder> recorder_;
    bool newExerciseSaved_ = false;
    std::function<bool()> systemEnded_;
    TimerAlarm alarm_;
    std::unique_ptr<ReplayPlayer> player_;
    std::unique_ptr<ReplayWindow> replayWindow_;
};

} // namespace tarvel
