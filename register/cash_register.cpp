#include "register/cash_register.h"

namespace tarvel {

CashRegister::CashRegister(Services services)
    : svc_(std::move(services)),
      journal_(s_.TxtCHLK, svc_.dataDir.filePath(kJournalFileName), watch_) {
    s_.TxtCHL.setText(kDefaultHeader);
}

// The listeners hear of the key first, then the key's operation runs. The СБ that ВВ runs after
// a cash payment is the register's own step and is not told as a key.
void CashRegister::press(Key key) {
    watch_.keyPressed(key);
    switch (key) {
    case Key::Digit0:
    case Key::Digit1:
    case Key::Digit2:
    case Key::Digit3:
    case Key::Digit4:
    case Key::Digit5:
    case Key::Digit6:
    case Key::Digit7:
    case Key::Digit8:
    case Key::Digit9:
        return keyDigit(int(key) - int(Key::Digit0));
    case Key::DoubleZero:
        return keyDoubleZero();
    case Key::Point:
        return keyPoint();
    case Key::Clear:
        return clear();
    case Key::Plus:
        operatorKey(Operator::Plus);
        return;
    case Key::Minus:
        return subtract();
    case Key::Multiply:
        operatorKey(Operator::Multiply);
        return;
    case Key::Divide:
        operatorKey(Operator::Divide);
        return;
    case Key::Equals:
        return total();
    case Key::Enter:
        return enter();
    case Key::Return:
        return returnMark();
    case Key::CashIn:
        return markCash();
    case Key::Percent:
        return payByCard();
    case Key::KN:
        return toggleKn();
    case Key::KR:
        return toggleProgramMode();
    case Key::KL:
        return toggleEnterHidden();
    case Key::KCH:
        return toggleBoldClock();
    case Key::KZ:
        return toggleJournalMode();
    case Key::CHL:
        return toggleKeyboardEntry();
    case Key::FC:
        return toggleDirectory();
    case Key::Dept1:
    case Key::Dept2:
    case Key::Dept3:
    case Key::Dept4:
        return departmentKey(key);
    case Key::Power:
        return close();
    }
}

// The header is read at once, the journal on a worker thread when asked. The journal is read
// even when the header is missing, so a missing header can never lead to an empty journal
// being written over a stored one.
void CashRegister::start(bool journalInBackground) {
    loadHeader();
    journal_.startLoad(journalInBackground);
    s_.TxtIND.setText(QStringLiteral("0.00"));
    s_.TxtSEC.setText(QStringLiteral("01"));
}

void CashRegister::close() {
    if (closed_) return;
    closed_ = true;
    journal_.close();
    svc_.printer.closeJob();
    if (goods_ && goods_->isLoaded()) goods_->unload();
    svc_.programEnd.endProgram();
}

void CashRegister::tick() {
    s_.Picker = svc_.regional.longTime(svc_.clock.currentTime());
}

// While the keyboard-entry marker is shown, the digits '0'..'9' pass, and so does ':', the code
// right after '9': the register has always let the colon through with the digits.
int CashRegister::keyboardCharacter(int code) const {
    if (!s_.Shap1) return 0;
    return (code >= '0' && code <= ':') ? code : 0;
}

void CashRegister::indicatorEdited(const QString& text) {
    s_.TxtIND.setText(text);
}

void CashRegister::indicatorTyped() {
    watch_.typed(TypedField::Indicator, s_.TxtIND.text());
}

void CashRegister::appendGoodsEntry(const QString& entry) {
    s_.TxtCHL.append(kCrLf);
    s_.TxtCHL.append(entry);
}

void CashRegister::tell(const QString& text, Notice::Kind kind) {
    watch_.notice({text, kind});
}

} // namespace tarvel
