#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::FC_Click() {}

} // namespace tarvel
