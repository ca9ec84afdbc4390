#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::clisheED() {}

void CashRegister::clishe() {}

bool CashRegister::saveHeaderFromTape() { return false; }

} // namespace tarvel
