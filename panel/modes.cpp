#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::KN_Click() {}

void CashRegister::KR_Click() {}

void CashRegister::KL_Click() {}

void CashRegister::KCH_Click() {}

void CashRegister::KZ_Click() {}

void CashRegister::CHL_Click() {}

} // namespace tarvel
