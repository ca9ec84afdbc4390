#pragma once
// Where --help, --version and a refused argument are written. A Windows program with windows
// has no console of its own: started from a command prompt, it writes into that prompt's
// console, in UTF-8 so that Russian reads right. Elsewhere the standard streams serve as they are.

namespace tarvel {

void useStartingConsole();

} // namespace tarvel
