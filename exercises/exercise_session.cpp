#include "exercises/exercise_session.h"

#include "exercises/results_file.h"
#include "register/cash_register.h"

#include <algorithm>

namespace tarvel {

ExerciseSession::ExerciseSession(SessionStart start, const Clock& clock, const Stopwatch& stopwatch,
                                 Alarm& alarm, MessageBoxes& messages)
    : start_(std::move(start)), clock_(clock), stopwatch_(stopwatch), alarm_(alarm),
      messages_(messages) {
    if (start_.exercise) checker_.emplace(*start_.exercise);
}

// The session hears a key before the checker, so a key after the time is up never reaches the
// checked work; and it looks for the last verdict after the checker has taken the event.
void ExerciseSession::listenTo(CashRegister& reg) {
    reg.addListener(*this);
    if (!checker_) return;
    reg.addListener(*checker_);
    reg.addListener(verdicts_);
}

const ExerciseChecker* ExerciseSession::checker() const {
    if (checked_) return &*checked_;
    return checker_ ? &*checker_ : nullptr;
}

QDateTime ExerciseSession::now() const {
    return QDateTime(clock_.currentDate(), clock_.currentTime());
}

void ExerciseSession::begin() {
    KeyLogHead head;
    head.version = start_.version;
    head.trainee = start_.trainee;
    head.exercise = start_.exercise ? start_.exercise->title : QString();
    head.started = now();
    head.receiptHeader = start_.receiptHeader;
    if (start_.exercise) head.seed = start_.exercise->seed;
    const QString problem = keys_.start(start_.dataFolder, head);
    logging_ = problem.isEmpty();
    if (!logging_) messages_.show(problem);
    armLimit();
}

qint64 ExerciseSession::elapsedMs() const {
    return stoppedMs_ ? *stoppedMs_ : stopwatch_.elapsedMs();
}

std::optional<qint64> ExerciseSession::remainingMs() const {
    if (!checker_ || checker_->exercise().terms.timeLimitMs <= 0) return std::nullopt;
    return std::max<qint64>(0, checker_->exercise().terms.timeLimitMs - elapsedMs());
}

bool ExerciseSession::verdictsHidden() const {
    return checker_ && checker_->exercise().terms.exam && !result_;
}

bool ExerciseSession::timeIsUp() const {
    return remainingMs() == 0;
}

// The alarm's timer and the stopwatch are different clocks: a ring a little early sets the
// alarm again for what is left, so the stopwatch alone decides when the time is up.
void ExerciseSession::armLimit() {
    const std::optional<qint64> left = remainingMs();
    if (!left || result_) return;
    alarm_.set(*left, [this] {
        if (!endIfTimeIsUp(true)) armLimit();
    });
}

bool ExerciseSession::endIfTimeIsUp(bool tell) {
    if (result_ || !timeIsUp()) return false;
    checker_->abandon();
    writeResult(true);
    if (onChange_) onChange_();
    if (tell)
        messages_.show(QStringLiteral("Время вышло: упражнение окончено.\n"
                                      "Результат — в окне «Задание»."));
    return true;
}

// A log that could not be written is told once and given up: a message at every key would
// stop the trainee's work.
void ExerciseSession::log(KeyLogEntry entry) {
    if (!logging_) return;
    entry.ms = stopwatch_.elapsedMs();
    const QString problem = keys_.add(entry);
    if (problem.isEmpty()) return;
    logging_ = false;
    messages_.show(problem + QStringLiteral("\nЖурнал клавиш дальше не ведётся."));
}

// Time over the limit (a late alarm, a computer asleep) is not the trainee's: the clock stops
// at the limit.
void ExerciseSession::writeResult(bool timeUp) {
    alarm_.cancel();
    const qint64 limit = checker_->exercise().terms.timeLimitMs;
    stoppedMs_ = timeUp ? limit : stopwatch_.elapsedMs();
    checked_ = checker_;
    result_ = checked_->result(*stoppedMs_);
    result_->timeUp = timeUp;
    const QString problem =
        appendResult(start_.dataFolder, {now(), start_.trainee, start_.exercise->title, *result_,
                                         start_.exercise->seed});
    if (!problem.isEmpty()) messages_.show(problem);
}

void ExerciseSession::changed() {
    if (checker_ && checker_->finished() && !result_) writeResult();
    if (onChange_) onChange_();
}

void ExerciseSession::end() {
    // The panel is closing: no box to answer now, the window shows the result to the last.
    if (!checker_ || result_ || endIfTimeIsUp(false)) return;
    checker_->abandon();
    writeResult();
    if (onChange_) onChange_();
}

// Work after the result is written is no part of the exercise: its verdicts stand. Nor is work
// after the time is up, even when it comes before the alarm has rung.
void ExerciseSession::keyPressed(Key key) {
    KeyLogEntry entry;
    entry.key = key;
    log(entry);
    endIfTimeIsUp(true);
    changed();
}

void ExerciseSession::textTyped(TypedField field, const QString& text) {
    KeyLogEntry entry;
    entry.field = field;
    entry.text = text;
    log(entry);
}

} // namespace tarvel
