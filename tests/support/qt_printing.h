#pragma once
// Lets GoogleTest print Qt strings (and lists of them) as text, with CR and LF visible.

#include <QString>
#include <ostream>

inline void PrintTo(QString s, std::ostream* os) {
    s.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
    *os << '"' << s.toStdString() << '"';
}
