// The mode keys of the top row. Each is a two-state toggle shown by the lamp above it; the
// lamp is the mode, there is no other mode variable. A key reads its own lamp first and acts on
// what it read, and never looks at another key's lamp.

#include "register/cash_register.h"

namespace tarvel {

// КН: a lamp and nothing else.
void CashRegister::KN_Click() {
    if (s_.lit(Lamp::Lbd2))
        s_.putOut(Lamp::Lbd2);
    else
        s_.light(Lamp::Lbd2);
}

// КР: the programming mode (date and time on 1Д and 2В, header editing on 3Т). Whichever way
// the mode goes, a header left open for editing is saved in the same press.
void CashRegister::KR_Click() {
    if (!s_.inKrMode()) {
        s_.light(Lamp::Lbd3);
    } else {
        s_.putOut(Lamp::Lbd3);
        s_.TxtIND.setText(QStringLiteral("0.00"));
    }
    // A failed save has told the trainee why and left the tape open with its text, so the
    // next КР press simply tries again.
    if (!s_.TxtCHL.locked) saveHeaderFromTape();
}

// КЛ: the ВВ key is taken off the panel. Going off blanks the indicator (empty, not "0.00").
void CashRegister::KL_Click() {
    if (!s_.lit(Lamp::Lbd4)) {
        s_.light(Lamp::Lbd4);
        s_.commandVVVisible = false;
        s_.putOut(Lamp::LblVV);
    } else {
        s_.putOut(Lamp::Lbd4);
        s_.commandVVVisible = true;
        s_.TxtIND.setText(QString());
    }
}

// КЧ: the clock caption in bold while the mode is on.
void CashRegister::KCH_Click() {
    if (!s_.lit(Lamp::Lbd5)) {
        s_.light(Lamp::Lbd5);
        s_.pickerBold = true;
    } else {
        s_.putOut(Lamp::Lbd5);
        s_.pickerBold = false;
    }
}

// КЗ: the journal mode. Going on shows nothing by itself (1Д and 2В bring the journal
// forward); going off always puts the receipt tape back in front.
void CashRegister::KZ_Click() {
    if (!s_.inJournalMode()) {
        s_.light(Lamp::Lbd6);
    } else {
        s_.putOut(Lamp::Lbd6);
        s_.front = TapeId::Receipt;
    }
}

// The keyboard-entry key: while its marker is shown, digits typed on the computer keyboard
// reach the indicator (see TxtIND_KeyPress).
void CashRegister::CHL_Click() {
    s_.Shap1 = !s_.Shap1;
}

} // namespace tarvel
