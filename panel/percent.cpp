#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::PROC_Click() {}

} // namespace tarvel
