#include "qt/console_output.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <cstdio>
#include <windows.h>
#endif

namespace tarvel {

void useStartingConsole() {
#ifdef Q_OS_WIN
    // Output redirected to a file or a pipe goes there already.
    if (::GetStdHandle(STD_OUTPUT_HANDLE) != nullptr) return;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    ::SetConsoleOutputCP(CP_UTF8);
    [[maybe_unused]] FILE* out = std::freopen("CONOUT$", "w", stdout);
    [[maybe_unused]] FILE* err = std::freopen("CONOUT$", "w", stderr);
#endif
}

} // namespace tarvel
