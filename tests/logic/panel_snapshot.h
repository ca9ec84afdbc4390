#pragma once
// The visible panel and the register variables as "name=value" lines, so that a test states
// "this press changed exactly these lines" and a failure prints both lists.

#include "panel/panel_state.h"

#include <QStringList>
#include <algorithm>

namespace tarvel::test {

inline QString litLamps(const PanelState& s) {
    QStringList lit;
    for (int i = 0; i < kLampCount; ++i)
        if (s.lamps[std::size_t(i)]) lit << QString::fromLatin1(lampName(Lamp(i)));
    return lit.join(QLatin1Char(' '));
}

inline QStringList panelSnapshot(const PanelState& s) {
    const auto yes = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
    return {QStringLiteral("TxtIND=") + s.TxtIND.text(),
            QStringLiteral("TxtSEC=") + s.TxtSEC.text(),
            QStringLiteral("TxtCHL=") + s.TxtCHL.text(),
            QStringLiteral("locked=") + yes(s.TxtCHL.locked),
            QStringLiteral("TxtCHLK=") + s.TxtCHLK.text(),
            QStringLiteral("front=") +
                QString::fromLatin1(s.front == TapeId::Receipt ? "TxtCHL" : "TxtCHLK"),
            QStringLiteral("lit=") + litLamps(s),
            QStringLiteral("Shap1=") + yes(s.Shap1),
            QStringLiteral("bold=") + yes(s.pickerBold),
            QStringLiteral("VV=") + yes(s.commandVVVisible),
            QStringLiteral("acc=%1 oper=%2").arg(s.accumulator).arg(s.pendingOper),
            QStringLiteral("entryFlag=%1").arg(s.entryFlag),
            QStringLiteral("receiptTotal=%1").arg(s.receiptTotal),
            QStringLiteral("shiftTotal=%1").arg(s.shiftTotal),
            QStringLiteral("printRow=%1").arg(s.printRow)};
}

// `before` with the lines named in `changes` ("lit=Lbd2|TxtIND=") replaced.
inline QStringList changed(QStringList before, const QString& changes) {
    for (const QString& c : changes.split(u'|', Qt::SkipEmptyParts)) {
        const auto line = std::find_if(before.begin(), before.end(), [&](const QString& l) {
            return l.startsWith(c.left(c.indexOf(u'=') + 1));
        });
        if (line == before.end())
            before << c; // a misspelt name fails the comparison
        else
            *line = c;
    }
    return before;
}

} // namespace tarvel::test
