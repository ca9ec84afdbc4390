#pragma once
// One run of the register watched for the instructor: the register's events go to the
// exercise's checker (when an exercise is set) and every key press and typed text to the key
// log. The time spent is taken from an injected stopwatch. When the last piece of work has its
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

struct SessionStart {
    QString dataFolder;               // results.csv and keys/ go here
    QString trainee;                  // may be empty
    QString version;                  // of the register, for the key log
    QString receiptHeader;            // the header on the receipt tape at the start
    std::optional<Exercise> exercise; // with its amounts drawn (exerciseForRun)
};

class ExerciseSession : public RegisterEvents {
  public:
    // `clock` dates the key log and the results line; `stopwatch` counts from the start;
    // `alarm` rings at the time limit, if the exercise has one.
    ExerciseSession(SessionStart start, const Clock& clock, const Stopwatch& stopwatch,
                    Alarm& alarm, MessageBoxes& messages);
    // The alarm outlives the session; a ring left set would call a session that is gone.
    ~ExerciseSession() override { alarm_.cancel(); }

    // Starts the key log in keys/ of the data folder, and the time limit.
    void begin();
    // The panel is closing: work still open is marked undone and the result is written.
    void end();
    // Runs after every change a window showing the session draws.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    // Nothing when only keys are recorded.
    const ExerciseChecker* checker() const { return checker_ ? &*checker_ : nullptr; }
    // The time spent, stopped when the exercise is over.
    qint64 elapsedMs() const;
    // The time left of a limit, none without one.
    std::optional<qint64> remainingMs() const;
    // An exam still running: the trainee sees no verdict yet.
    bool verdictsHidden() const;
    // The result once written (finished or abandoned).
    const std::optional<ExerciseResult>& result() const { return result_; }
    const QString& keyLogPath() const { return keys_.path(); }

    void keyPressed(Key key) override;
    void textTyped(TypedField field, const QString& text) override;
    void saleRegistered(const SaleLine& line) override;
    void receiptTotalled(double total) override;
    void shortMoney(double tendered) override;
    void receiptClosed(const ClosedReceipt& receipt) override;
    void receiptCancelled(const ClosedReceipt& receipt) override;
    void shiftReportWritten(ShiftReport report, double shiftTotal) override;
    void headerSaved(const QString& text) override;
    void arithmeticFault(ArithmeticFault fault) override;

  private:
    QDateTime now() const;
    void log(KeyLogEntry entry);
    // An event for the checker, which takes it while the exercise is not over.
    void toChecker(const std::function<void(ExerciseChecker&)>& call);
    // After each event: the result is written once the last verdict is in.
    void changed();
    void writeResult(bool timeUp = false);
    // The limit is set and the stopwatch has reached it.
    bool timeIsUp() const;
    void armLimit();
    // Ends the exercise when its time is up (before an event, on the alarm, on closing), the
    // trainee told when `tell`. False when the exercise goes on or had already ended.
    bool endIfTimeIsUp(bool tell);

    SessionStart start_;
    const Clock& clock_;
    const Stopwatch& stopwatch_;
    Alarm& alarm_;
    MessageBoxes& messages_;
    std::optional<ExerciseChecker> checker_;
    KeyLogWriter keys_;
    bool logging_ = false;
    std::optional<qint64> stoppedMs_;
    std::optional<ExerciseResult> result_;
    std::function<void()> onChange_;
};

} // namespace tarvel
