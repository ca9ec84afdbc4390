#pragma once
// An exercise written by doing it: the instructor works the register as a trainee should, and
// this listener takes down the work in the order the register did it, as the items an exercise
// file expects. What the trainee is checked on is what it keeps: receipts with their lines and
// payment, money paid in and taken out, shift reports, a new header and a receipt dropped with
// СБ. The instructor's slips on the way (" МАЛО ДЕНЕГ!  " before the right amount aside, which
// is part of the payment, and the calculator's faults) are no work to expect.

#include "exercises/exercise.h"

namespace tarvel {

class ExerciseRecorder : public RegisterEvents {
  public:
    const QList<ExerciseItem>& work() const { return work_; }

    void receiptClosed(const ClosedReceipt& receipt) override;
    void receiptCancelled(const ClosedReceipt& receipt) override;
    void shiftReportWritten(ShiftReport report, double shiftTotal) override;
    void headerSaved(const QString& text) override;

  private:
    QList<ExerciseItem> work_;
};

// Passes every event of the register to two listeners in turn: the key log's session and the
// recorder both watch one register, which tells a single listener.
class BothListen : public RegisterEvents {
  public:
    BothListen(RegisterEvents& first, RegisterEvents& second) : first_(first), second_(second) {}

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
    RegisterEvents& first_;
    RegisterEvents& second_;
};

} // namespace tarvel
