#pragma once
// The panel and the register variables as "name=value" lines (no text of a test holds "|").

#include "register/panel_state.h"

#include <QRegularExpression>
#include <QStringList>

namespace tarvel::test {

// The lamps' names on the panel, in the order of Lamp.
inline const QStringList kLampNames = {"Lbd1",     "Lbd2",   "Lbd3",    "Lbd4",  "Lbd5",
                                       "Lbd6",     "LblCB2", "LblNL",   "LblVV", "Lblmin",
                                       "LblPrint", "LblZ",   "LblClish"};

inline QString litLamps(const PanelState& s) {
    QStringList lit;
    for (int i = 0; i < kLampCount; ++i)
        if (s.lamps[std::size_t(i)]) lit << kLampNames[i];
    return lit.join(QLatin1Char(' '));
}

inline QStringList panelSnapshot(const PanelState& s) {
    const auto yes = [](bool b) { return QString::fromLatin1(b ? "yes" : "no"); };
    const auto num = [](double v) { return QString::number(v); };
    return QStringLiteral("TxtIND=%1|TxtSEC=%2|TxtCHL=%3|locked=%4|TxtCHLK=%5|front=%6|lit=%7|"
                          "Shap1=%8|bold=%9|VV=%10|acc=%11|oper=%12|entryFlag=%13|"
                          "receiptTotal=%14|shiftTotal=%15|printRow=%16")
        .arg(s.TxtIND.text(), s.TxtSEC.text(), s.TxtCHL.text(), yes(s.TxtCHL.locked),
             s.TxtCHLK.text(), s.front == TapeId::Receipt ? "TxtCHL" : "TxtCHLK", litLamps(s),
             yes(s.Shap1), yes(s.pickerBold), yes(s.commandVVVisible), num(s.accumulator),
             num(int(s.pendingOper)), num(s.entryFlag), num(s.receiptTotal), num(s.shiftTotal),
             num(s.print.row))
        .split(u'|');
}

// `before` with the lines named in `changes` ("lit=Lbd2|TxtIND=") replaced (a misspelt one added).
inline QStringList changed(QStringList before, const QString& changes) {
    for (const QString& c : changes.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype i =
            before.indexOf(QRegularExpression(c.section(u'=', 0, 0) + "=[\\s\\S]*"));
        i < 0 ? void(before << c) : void(before[i] = c);
    }
    return before;
}

} // namespace tarvel::test
