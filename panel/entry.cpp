#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::DigitClick(const QString&) {}

void CashRegister::Btn00_Click() {}

void CashRegister::CommandZ_Click() {}

void CashRegister::CommandC_Click() {}

} // namespace tarvel
