#pragma once
// The whole visible panel and the register variables as a list of "name=value" lines, so a
// test can say "this key changed exactly these things" by editing a copy of the state and
// comparing the two lists (a failure prints both, CR and LF shown).

#include "panel/panel_state.h"

#include <QStringList>

namespace tarvel::test {

inline QStringList panelSnapshot(const PanelState& s) {
    QStringList lit;
    for (int i = 0; i < kLampCount; ++i)
        if (s.lamps[std::size_t(i)]) lit << QString::fromLatin1(lampName(Lamp(i)));
    const auto flag = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
    return {
        QStringLiteral("TxtIND=") + s.TxtIND.text(),
        QStringLiteral("TxtSEC=") + s.TxtSEC.text(),
        QStringLiteral("TxtCHL=") + s.TxtCHL.text(),
        QStringLiteral("TxtCHL.locked=") + flag(s.TxtCHL.locked),
        QStringLiteral("TxtCHLK=") + s.TxtCHLK.text(),
        QStringLiteral("front=") +
            (s.front == TapeId::Receipt ? QStringLiteral("TxtCHL") : QStringLiteral("TxtCHLK")),
        QStringLiteral("lit=") + lit.join(QLatin1Char(' ')),
        QStringLiteral("Shap1=") + flag(s.Shap1),
        QStringLiteral("Picker=") + s.Picker,
        QStringLiteral("pickerBold=") + flag(s.pickerBold),
        QStringLiteral("commandVVVisible=") + flag(s.commandVVVisible),
        QStringLiteral("accumulator=%1").arg(s.accumulator),
        QStringLiteral("pendingOper=%1").arg(s.pendingOper),
        QStringLiteral("entryFlag=%1").arg(s.entryFlag),
        QStringLiteral("receiptTotal=%1").arg(s.receiptTotal),
        QStringLiteral("shiftTotal=%1").arg(s.shiftTotal),
        QStringLiteral("printRow=%1").arg(s.printRow),
    };
}

} // namespace tarvel::test
