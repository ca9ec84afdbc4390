#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::CommandVV_Click() {}

void CashRegister::CommandEnter_Click() {}

void CashRegister::VT_Click() {}

void CashRegister::NL_Click() {}

} // namespace tarvel
