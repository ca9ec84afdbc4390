#pragma once
// The check of an exercise, fed by the register's events while the trainee works: each piece
// of expected work gets its verdict as soon as the register finishes it (a receipt closed, a
// report written, a header saved), ✔ or ✘ with what differs. The keys, the СБ presses and the
// faults are counted for the result.
//
// Receipts (and money paid in or out, which the register rings up as receipts) are taken in
// order: each closed receipt is checked against the next receipt the exercise expects, and a
// report, header or cancel the trainee skipped is marked undone on the way. A report, a header
// or a cancel the exercise does not expect at that point is noted as extra and checks nothing.

#include "exercises/exercise.h"
#include "exercises/mistakes.h"

namespace tarvel {

enum class Verdict { Pending, Right, Wrong };

struct ItemCheck {
    Verdict verdict = Verdict::Pending;
    Differences differences; // what is wrong, in the trainee's words, each with its kind
};

struct ExerciseResult {
    int right = 0;
    int total = 0;
    qint64 seconds = 0;
    int keyPresses = 0;
    int clearPresses = 0;       // СБ
    int faults = 0;             // " МАЛО ДЕНЕГ!  " and arithmetic faults
    bool completed = false;     // every item checked, not abandoned
    bool timeUp = false;        // abandoned when the time limit ran out
    MistakeTally mistakes = {}; // the kinds of every difference and of the extra work
    // Exams: the items right that pass; nothing for an exercise that is no exam.
    std::optional<int> passMark = std::nullopt;

    bool passed() const { return passMark && right >= *passMark; }
};

class ExerciseChecker : public RegisterEvents {
  public:
    explicit ExerciseChecker(Exercise exercise);

    const Exercise& exercise() const { return exercise_; }
    const QList<ItemCheck>& checks() const { return checks_; }
    // Every item has its verdict.
    bool finished() const { return next_ >= checks_.size(); }
    // The trainee stops before the end: every item still open is marked ✘ with why.
    void abandon();
    // Work the exercise did not ask for ("лишний чек: ...").
    const QStringList& extras() const { return extras_; }
    // The faults met, in order (" МАЛО ДЕНЕГ!  ", "Деление на ноль").
    const QStringList& faults() const { return faults_; }
    ExerciseResult result(qint64 elapsedMs) const;

    void keyPressed(Key key) override;
    void saleRegistered(const SaleLine& line) override;
    void receiptTotalled(double total) override;
    void shortMoney(double tendered) override;
    void receiptClosed(const ClosedReceipt& receipt) override;
    void receiptCancelled(const ClosedReceipt& receipt) override;
    void shiftReportWritten(ShiftReport report, double shiftTotal) override;
    void headerSaved(const QString& text) override;
    void arithmeticFault(ArithmeticFault fault) override;

  private:
    void judge(const Differences& differences);
    void skip();
    bool nextIs(ItemKind kind) const;
    Differences unfinishedReceipt() const;

    Exercise exercise_;
    QList<ItemCheck> checks_;
    qsizetype next_ = 0;
    // The receipt being rung up, for the verdict when the exercise ends before it closes.
    QList<SaleLine> openLines_;
    bool openTotalled_ = false;
    QStringList extras_;
    QStringList faults_;
    int keys_ = 0;
    int clears_ = 0;
    bool abandoned_ = false;
};

// "✔", or "✘ " and the differences.
QString verdictText(const ItemCheck& check);
// "Верно 3 из 4. Время 2 мин 05 с. Нажатий клавиш 57, из них СБ 2. Ошибок 1."
QString resultText(const ExerciseResult& result);
// How it ended, the result, and for an exam the mark: "Время вышло: упражнение прервано. Верно
// 3 из 4. … Экзамен не сдан: нужно верно 4."
QString resultSummary(const ExerciseResult& result);

} // namespace tarvel
