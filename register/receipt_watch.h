#pragma once
// The register's side of RegisterEvents: follows the receipt being rung up (its lines, a cash
// mark, the short tenders) so that closing or cancelling it can be told whole, and passes each
// event on to the watcher, if any. The key operations call it at the points where the receipt
// changes; with no watcher it only keeps its notes.

#include "register/register_events.h"

namespace tarvel {

class ReceiptWatch {
  public:
    void setObserver(RegisterEvents* events) { events_ = events; }

    void keyPressed(Key key) {
        if (events_) events_->keyPressed(key);
    }
    void typed(TypedField field, const QString& text) {
        if (events_) events_->textTyped(field, text);
    }

    // `department` is the department field as ВВ printed it ("01", "02  -").
    void sale(const QString& department, const QString& shown, double amount);
    void totalled(double total);
    // НЛ: with the receipt totalled it marks cash tendered, otherwise money in or out.
    void cashKey(bool totalled, bool minusLit);
    void shortMoney(double tendered);
    void cashTendered(double tendered, double change);
    void closed(double total);
    void closedByCard(double total);
    // СБ: the tape starts afresh; a receipt with lines is cancelled.
    void cleared();
    void shiftReport(ShiftReport report, double shiftTotal);
    void headerSaved(const QString& text);
    void arithmeticFault(ArithmeticFault fault);

  private:
    RegisterEvents* events_ = nullptr;
    ClosedReceipt open_;
};

} // namespace tarvel
