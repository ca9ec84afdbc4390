#include "panel/cash_register.h"

namespace tarvel {

void CashRegister::printReceiptTape() {}

void CashRegister::beginPrintout() {}

void CashRegister::printTapeCharacters() {}

void CashRegister::finishPrintout() {}

} // namespace tarvel
