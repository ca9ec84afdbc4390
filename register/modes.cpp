// The mode keys of the top row. Each is a two-state toggle shown by the lamp above it; the
// lamp is the mode, there is no other mode variable. A key reads its own lamp first and acts on
// what it read, and never looks at another key's lamp.

#include "register/cash_register.h"

namespace tarvel {

// КН: a lamp and nothing else.
void CashRegister::toggleKn() {
    if (s_.lit(Lamp::KnMode))
        s_.putOut(Lamp::KnMode);
    else
        s_.light(Lamp::KnMode);
}

// КР: the programming mode (date and time on 1Д and 2В, header editing on 3Т). Whichever way
// the mode goes, a header left open for editing is saved in the same press.
void CashRegister::toggleProgramMode() {
    if (!s_.inKrMode()) {
        s_.light(Lamp::ProgramMode);
    } else {
        s_.putOut(Lamp::ProgramMode);
        s_.TxtIND.setText(QStringLiteral("0.00"));
    }
    // A failed save has told the trainee why and left the tape open with its text, so the
    // next КР press simply tries again.
    if (!s_.TxtCHL.locked) saveHeader();
}

// КЛ: the ВВ key is taken off the panel. Going off blanks the indicator (empty, not "0.00").
void CashRegister::toggleEnterHidden() {
    if (!s_.lit(Lamp::EnterHidden)) {
        s_.light(Lamp::EnterHidden);
        s_.commandVVVisible = false;
        s_.putOut(Lamp::ReceiptOpen);
    } else {
        s_.putOut(Lamp::EnterHidden);
        s_.commandVVVisible = true;
        s_.TxtIND.setText(QString());
    }
}

// КЧ: the clock caption in bold while the mode is on.
void CashRegister::toggleBoldClock() {
    if (!s_.lit(Lamp::BoldClock)) {
        s_.light(Lamp::BoldClock);
        s_.pickerBold = true;
    } else {
        s_.putOut(Lamp::BoldClock);
        s_.pickerBold = false;
    }
}

// КЗ: the journal mode. Going on shows nothing by itself (1Д and 2В bring the journal
// forward); going off always puts the receipt tape back in front.
void CashRegister::toggleJournalMode() {
    if (!s_.inJournalMode()) {
        s_.light(Lamp::JournalMode);
    } else {
        s_.putOut(Lamp::JournalMode);
        s_.front = TapeId::Receipt;
    }
}

// The keyboard-entry key: while its marker is shown, digits typed on the computer keyboard
// reach the indicator (see keyboardCharacter).
void CashRegister::toggleKeyboardEntry() {
    s_.Shap1 = !s_.Shap1;
}

// ФЦ shows and hides the goods directory; the lamp above the key (Lbd1) tells whether the
// panel has it shown. The lamp is the key's only memory: closing the directory by its close
// box leaves the lamp lit, so the next press puts it out and only loads the directory, hidden,
// and the press after that shows it.
void CashRegister::toggleDirectory() {
    if (!s_.lit(Lamp::DirectoryShown)) {
        s_.light(Lamp::DirectoryShown);
        if (goods_) goods_->show();
    } else {
        s_.putOut(Lamp::DirectoryShown);
        if (goods_) goods_->hide();
    }
}

} // namespace tarvel
