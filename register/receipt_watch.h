#pragma once
// The register's side of RegisterEvents: follows the receipt being rung up (its lines, a cash
// mark, the short tenders) so that closing or cancelling it can be told whole, and tells each
// event to every listener, in the order they came. The key operations call it at the points
// where the receipt changes; with no listener it only keeps its notes.

#include "register/register_events.h"

#include <QList>

namespace tarvel {

class ReceiptWatch {
  public:
    void addListener(RegisterEvents& listener) { listeners_.append(&listener); }

    void keyPressed(Key key) { tell(&RegisterEvents::keyPressed, key); }
    void typed(TypedField field, const QString& text) {
        tell(&RegisterEvents::textTyped, field, text);
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
    void notice(const Notice& notice) { tell(&RegisterEvents::notice, notice); }

  private:
    template <typename... Parameters, typename... Arguments>
    void tell(void (RegisterEvents::*event)(Parameters...), const Arguments&... arguments) {
        for (RegisterEvents* listener : listeners_)
            (listener->*event)(arguments...);
    }

    QList<RegisterEvents*> listeners_;
    ClosedReceipt open_;
};

} // namespace tarvel
