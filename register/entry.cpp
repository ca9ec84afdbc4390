// Amount entry: the digit keys, "00", the point and the reset СБ.
//
// The amount being keyed is never a number: it is the indicator's text, exactly as keyed, with
// no limit on its length. entryFlag decides whether a digit starts a new amount (0: the
// indicator still shows a result, a date or the start-up "0.00") or extends the one being
// keyed. The digit keys set it, the operator keys clear it, and the header reload leaves it
// set, so that right after СБ the indicator's "0" counts as an amount being keyed.

#include "register/cash_register.h"

namespace tarvel {
namespace {

bool isZero(const TextField& field) {
    return field == u"0";
}

} // namespace

void CashRegister::keyDigit(int digit) {
    const QString keyed = QString::number(digit);
    if (digit != 0) {
        if (s_.entryFlag == 0) {
            s_.TxtIND.setText(keyed);
            s_.entryFlag = 1;
        } else if (isZero(s_.TxtIND)) {
            s_.TxtIND.setText(keyed); // a lone leading zero is replaced
        } else {
            s_.TxtIND.append(keyed);
        }
    } else if (s_.entryFlag == 0) {
        s_.TxtIND.setText(keyed);
        s_.entryFlag = 1;
    } else if (!isZero(s_.TxtIND)) {
        s_.TxtIND.append(keyed);
    } // a second leading zero is never keyed
}

// "00" is two presses of the "0" key: a lone 0 on a new amount, 12 becomes 1200.
void CashRegister::keyDoubleZero() {
    keyDigit(0);
    keyDigit(0);
}

// The point is always ".", whatever the system's decimal separator. It never reads entryFlag:
// after a result it is appended to the result, and only a bare "0" turns into a new amount.
void CashRegister::keyPoint() {
    if (isZero(s_.TxtIND)) {
        s_.TxtIND.setText(QStringLiteral("0."));
        s_.entryFlag = 1;
    }
    if (!s_.TxtIND.text().contains(QLatin1Char('.'))) s_.TxtIND.append(u".");
}

void CashRegister::clear() {
    watch_.cleared();
    s_.TxtIND.setText(QStringLiteral("0"));
    s_.TxtSEC.setText(QStringLiteral("01"));
    s_.accumulator = 0;
    s_.receiptTotal = 0;
    s_.pendingOper = Operator::None;
    s_.entryFlag = 0;
    // An open receipt is cancelled with its lamps; with none open, the receipt lamps of a closed
    // one stay as they are. The minus, НЛ and Z lamps go out either way.
    if (s_.lit(Lamp::ReceiptOpen)) {
        for (Lamp l : {Lamp::ClearLamp, Lamp::ReceiptOpen, Lamp::Totalled})
            s_.putOut(l);
    }
    for (Lamp l : {Lamp::CashOut, Lamp::CashTendered, Lamp::PrintEachEnter})
        s_.putOut(l);
    // A fresh header on the tape; the reload leaves entryFlag set.
    reloadHeader();
}

} // namespace tarvel
