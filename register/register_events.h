#pragma once
// What the register tells whoever watches a trainee's work: the receipts it closes with their
// lines and payment, the shift reports, a saved header, the faults and the keys pressed.
//
// The register publishes these from its own operations, as they happen, so a watcher never
// reads the tape's text. Every call has an empty default: a watcher overrides what it needs.
// The calls come on the register's thread, in the middle of a key's operation; a watcher only
// takes note and never calls back into the register.

#include "register/key.h"

#include <QList>
#include <QString>

namespace tarvel {

enum class ArithmeticFault; // register/cash_register.h

// One sale line as ВВ printed it.
struct SaleLine {
    int department = 1;    // 1..8, from the department field
    bool isReturn = false; // ВТ marked the department before ВВ
    QString shown;         // the amount as it stands on the tape ("12.50")
    double amount = 0;     // what the line added to the receipt total
};

// НЛ pressed while no total stood on the receipt: the tape says the money goes in, or, after
// "-", out (ИНКАССАЦИЯ).
enum class CashMovement { None, In, Out };

enum class Payment {
    None, // ВВ right after the total: closed without a payment
    Cash, // НЛ after the total, the money tendered, ВВ: the change worked out
    Card, // % after the total
};

struct ClosedReceipt {
    QList<SaleLine> lines;
    CashMovement movement = CashMovement::None;
    double total = 0; // the receipt total the register kept
    Payment payment = Payment::None;
    // Cash only: each amount tendered that was short (" МАЛО ДЕНЕГ!  "), in order, then the
    // amount that closed the receipt and its change.
    QList<double> shortTenders;
    double tendered = 0;
    double change = 0;
};

// A field the trainee types into: the receipt tape while its header is being edited, the
// indicator while keyboard entry is on.
enum class TypedField { ReceiptTape, Indicator };

// What the trainee is to read, in the register's words: a file that cannot be read or
// written, an arithmetic fault, the next step to take. The windows show it in a box.
struct Notice {
    enum class Kind { Information, Critical };
    QString text;
    Kind kind = Kind::Information;
};

// The two shift reports written into the journal in КЗ mode.
enum class ShiftReport { OneD, TwoV }; // 1Д, 2В

class RegisterEvents {
  public:
    virtual ~RegisterEvents() = default;

    // A key of the panel pressed by the trainee (not the СБ that ВВ runs after a cash payment).
    virtual void keyPressed(Key) {}
    // The trainee typed into a field; `text` is the field's whole text after the change.
    virtual void textTyped(TypedField, const QString& /*text*/) {}
    virtual void saleRegistered(const SaleLine&) {}
    virtual void receiptTotalled(double /*total*/) {}
    virtual void shortMoney(double /*tendered*/) {}
    virtual void receiptClosed(const ClosedReceipt&) {}
    // СБ on a receipt with sale lines: the receipt is dropped, nothing reaches the journal.
    virtual void receiptCancelled(const ClosedReceipt&) {}
    virtual void shiftReportWritten(ShiftReport, double /*shiftTotal*/) {}
    // КР saved the receipt tape as the new header; `text` is the tape as typed.
    virtual void headerSaved(const QString& /*text*/) {}
    // A fault shown to the trainee by "+", "-", "Х", "/" or "=".
    virtual void arithmeticFault(ArithmeticFault) {}
    // The trainee is to read this now, before the next key.
    virtual void notice(const Notice&) {}
};

} // namespace tarvel
