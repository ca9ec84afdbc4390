#pragma once
// One run of the register watched for the instructor: the exercise's checker (when an exercise
// is set) hears the register's events, and every key press and typed text goes to the key log.
// The time spent is taken from an injected stopwatch. When the last piece of work has its
// verdict, or the panel closes before that, one line goes to results.csv; a run without an
// exercise (--record) keeps only its key log.
//
// An exercise with a time limit ends by itself when the time runs out, as abandoned, and the
// trainee is told; work done after the limit counts for nothing. An exam keeps its verdicts
// from the trainee until the result is written.
//
// The session only takes note: problems with its files are told to the trainee once, and the
// register goes on as if nothing were watching.

#include "exercises/checker.h"
#include "exercises/key_log.h"
#include "exercises/timing.h"
#include "register/services.h"

#include <functional>
#include <optional>

namespace tarvel {

class CashRegister;

struct SessionStart {
    QString dataFolder;               // results.csv and keys/ go here
    QString trainee;                  // may be empty
    QString version;                  // of the register, for the key log
    QString receiptHeader;            // the header on the receipt tape at the start
    std::optional<Exercise> exercise; // with its amounts drawn (exerciseForRun)
};

class ExerciseSession : private RegisterEvents {
  public:
    // `clock` dates the key log and the results line; `stopwatch` counts from the start;
    // `alarm` rings at the time limit, if the exercise has one.
    ExerciseSession(SessionStart start, const Clock& clock, const Stopwatch& stopwatch,
                    Alarm& alarm, MessageBoxes& messages);
    // The alarm outlives the session; a ring left set would call a session that is gone.
    ~ExerciseSession() override { alarm_.cancel(); }

    // The session and its checker hear the register's events; they outlive the register.
    void listenTo(CashRegister& reg);
    // Starts the key log in keys/ of the data folder, and the time limit.
    void begin();
    // The panel is closing: work still open is marked undone and the result is written.
    void end();
    // Runs after every change a window showing the session draws.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    // Nothing when only keys are recorded; once the result is written, the checker as it stood
    // then.
    const ExerciseChecker* checker() const;
    // The time spent, stopped when the exercise is over.
    qint64 elapsedMs() const;
    // The time left of a limit, none without one.
    std::optional<qint64> remainingMs() const;
    // An exam still running: the trainee sees no verdict yet.
    bool verdictsHidden() const;
    // The result once written (finished or abandoned).
    const std::optional<ExerciseResult>& result() const { return result_; }
    const QString& keyLogPath() const { return keys_.path(); }

  private:
    // Heard after the checker: the events that may give a verdict.
    class VerdictWatch : public RegisterEvents {
      public:
        explicit VerdictWatch(ExerciseSession& session) : session_(session) {}
        void receiptClosed(const ClosedReceipt&) override { session_.changed(); }
        void receiptCancelled(const ClosedReceipt&) override { session_.changed(); }
        void shiftReportWritten(ShiftReport, double) override { session_.changed(); }
        void headerSaved(const QString&) override { session_.changed(); }

      private:
        ExerciseSession& session_;
    };

    // Heard before the checker: every key and typed text for the log, and the time limit.
    void keyPressed(Key key) override;
    void textTyped(TypedField field, const QString& text) override;

    QDateTime now() const;
    void log(KeyLogEntry entry);
    // After a key or a verdict: the result is written once the last verdict is in.
    void changed();
    void writeResult(bool timeUp = false);
    // The limit is set and the stopwatch has reached it.
    bool timeIsUp() const;
    void armLimit();
    // Ends the exercise when its time is up (before a key, on the alarm, on closing), the
    // trainee told when `tell`. False when the exercise goes on or had already ended.
    bool endIfTimeIsUp(bool tell);

    SessionStart start_;
    const Clock& clock_;
    const Stopwatch& stopwatch_;
    Alarm& alarm_;
    MessageBoxes& messages_;
    std::optional<ExerciseChecker> checker_; // hears the register to the end
    // The checker when the result was written: what the register does after that, or after
    // the time is up, is no part of the exercise.
    std::optional<ExerciseChecker> checked_;
    VerdictWatch verdicts_{*this};
    KeyLogWriter keys_;
    bool logging_ = false;
    std::optional<qint64> stoppedMs_;
    std::optional<ExerciseResult> result_;
    std::function<void()> onChange_;
};

} // namespace tarvel
