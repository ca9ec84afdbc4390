#pragma once
// The faces the panel and its tapes are drawn in, from fonts every copy of the system has: on
// Windows 10/11 the register's own design faces, elsewhere the DejaVu faces that stand in for
// them (Debian's Qt brings them).

namespace tarvel {

const char* proportionalFamily(); // the keys, labels and indicator: MS Sans Serif's successor
const char* fixedPitchFamily();   // the tapes, whose columns line up: Lucida Console

} // namespace tarvel
