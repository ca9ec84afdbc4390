#pragma once
// The receipt printout: the whole receipt tape sent character by character to the system
// printer, stacked 2 % of the page below the printout before it.
//
// Every printer call is guarded on its own: when there is no printer, or it fails, the failing
// call is skipped and the rest goes on, so a closing receipt still reaches the journal.

#include "register/panel_state.h"
#include "register/services.h"

namespace tarvel {

// Prints `tape` at `position` and moves the position on. A `closingLine` (the card payment's)
// stands on a line of its own under the tape, at the receipt's left margin.
void printTape(Printer& printer, PrintPosition& position, const QString& tape,
               QStringView closingLine = {});

} // namespace tarvel
