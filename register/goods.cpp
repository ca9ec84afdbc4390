#include "register/cash_register.h"

namespace tarvel {

// ФЦ shows and hides the goods directory; Lbd1 above the key tells whether the panel has it
// shown. The lamp is the key's only memory: closing the directory by its close box leaves the
// lamp lit, so the next press puts it out and only loads the directory, hidden, and the press
// after that shows it.
void CashRegister::FC_Click() {
    if (!s_.lit(Lamp::Lbd1)) {
        s_.light(Lamp::Lbd1);
        if (goods_) goods_->show();
    } else {
        s_.putOut(Lamp::Lbd1);
        if (goods_) goods_->hide();
    }
}

} // namespace tarvel
