#include "qt/system_fonts.h"

#include <QtGlobal>

namespace tarvel {

const char* proportionalFamily() {
#ifdef Q_OS_WIN
    return "Microsoft Sans Serif";
#else
    return "DejaVu Sans";
#endif
}

const char* fixedPitchFamily() {
#ifdef Q_OS_WIN
    return "Lucida Console";
#else
    return "DejaVu Sans Mono";
#endif
}

} // namespace tarvel
