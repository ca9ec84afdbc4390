#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::Btn1D_Click() {}

void CashRegister::Btn2V_Click() {}

void CashRegister::Btn3T_Click() {}

void CashRegister::Btn4C_Click() {}

} // namespace tarvel
