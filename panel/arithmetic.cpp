#include "panel/cash_register.h"

namespace tarvel {

ArithmeticFault CashRegister::OperClick(std::int16_t) { return ArithmeticFault::None; }

ArithmeticFault CashRegister::DoOper() { return ArithmeticFault::None; }

void CashRegister::arithmeticKey(std::int16_t) {}

void CashRegister::CommandPlus_Click() {}

void CashRegister::CammandMinus_Click() {}

void CashRegister::UMN_Click() {}

void CashRegister::DEL_Click() {}

} // namespace tarvel
