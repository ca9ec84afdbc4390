#pragma once
// Lets GoogleTest print Qt strings (and lists of them) as text in its failure messages, with
// CR and LF visible.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    QString shown = s;
    shown.replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
    *os << '"' << shown.toStdString() << '"';
}
