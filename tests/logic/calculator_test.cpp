#include "panel_snapshot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QString kDiv = QStringLiteral("Деление на ноль");
const QString kOver = QStringLiteral("Переполнение");
const QString e38 = QStringLiteral("1") + QStringLiteral(" 00").repeated(19); // 1E+38 keyed

// The indicator, entryFlag, pendingOper, accumulator, the lit lamps and the messages shown.
QString panel(RegisterRig& rig) {
    const PanelState& s = rig.s();
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(s.TxtIND.text(), QString::number(s.entryFlag), QString::number(int(s.pendingOper)),
             QString::number(s.accumulator, 'g', 7), litLamps(s), rig.messages.texts().join(u';'));
}

// Key sequences from start-up; "," sets a comma as the system's separator, "клише" is the
// header reload that ends ВВ's closing and %, setting the entry flag under any indicator.
TEST(Calculator, KeySequences) {
    const std::pair<QString, QString> cases[] = {
        {".", "0.00|0|0|0||"},
        {"0 0 5", "5|1|0|0||"},
        {"1 . 5 . 2", "1.52|1|0|0||"},
        {"1 2 00", "1200|1|0|0||"},
        {"1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0", "12345678901234567890|1|0|0||"},
        {"СБ . 5", "0.5|1|0|0||"},
        {"5 + 3 + .", "8.|0|1|8||"},
        {"1 5 0 ВВ . 5", "5|1|0|150|LblVV|"}, // after a sale "." is a lone point, flag clear
        {"1 КР 2В +", "21|0|1|21|Lbd3|"},     // the time shown in КР mode reads as 21
        // A chain without precedence; the last operator key pressed counts.
        {"2 + 3 Х 4 =", "20|0|0|20||"},
        {"5 + - 3 =", "2|0|0|2|Lblmin|"},
        {"5 - 8 =", "-3|0|0|-3|Lblmin|"},
        {"2 + 3 = + 4 =", "9|0|0|9||"},
        {"2 + 3 = 4 + 1 =", "5|0|0|5||"},
        {"1 / 3 =", "0.3333333|0|0|0.3333333||"},
        {"1 6 7 7 7 2 1 6 + 1 =", "1.677722E+07|0|0|1.677722e+07||"},
        {"клише =", "0|0|0|0||"},
        // СБ clears the chain, and the receipt lamps when a receipt is open; never a mode lamp.
        {"5 + 3 + СБ", "0|1|0|0||"},
        {"1 5 0 ВВ = СБ", "0|1|0|0||"},
        {"1 ВВ = КЛ 5 - СБ", "0|1|0|0|Lbd4 LblPrint|"},
        // A fault leaves result, operand and chain; further operations fault again until СБ.
        {"5 / 0 =", "0|1|4|inf||" + kDiv},
        {"0 / 0 =", "0|1|4|nan||Недопустимая операция (0 / 0)"},
        {"5 / 0 ВВ", "|1|4|inf|LblVV|"}, // ВВ goes on after a fault, and tells nothing of it
        {e38 + " Х 1 0 0 =", "100|1|3|inf||" + kOver},
        {e38 + " =", "1E+38|0|0|1e+38||"},
        {"7 + " + e38 + " 00 =", "1" + QString(40, u'0') + "|1|1|7||" + kOver},
        {"5 / 0 = 2 =", "2|1|4|inf||" + kDiv + ";" + kOver},
        {"5 / 0 = 2 = СБ 7 + 1 =", "8|0|0|8||" + kDiv + ";" + kOver},
        // The result shows the system's separator and reads back whole.
        {", 1 . 5 + 1 =", "2,5|0|0|2.5||"},
        {", 1 . 5 + 1 = клише Х 2 =", "5|0|0|5||"}};
    for (const auto& c : cases) {
        RegisterRig rig;
        for (const QString& key : c.first.split(u' ')) {
            if (key == u",") rig.regional.separator = u',';
            if (key == u"клише") rig.reg->clishe();
            if (key != u"," && key != u"клише") rig.press(key);
        }
        EXPECT_EQ(panel(rig), c.second) << c.first.toStdString();
    }
}

// СБ cancels the receipt and brings back department 01 and the header; the shift total and
// the journal stay.
TEST(Calculator, ResetKeepsShiftTotalAndJournal) {
    RegisterRig rig;
    rig.press("1 5 0 ВВ = 2В СБ");
    const PanelState& s = rig.s();
    EXPECT_EQ(QStringList({s.TxtSEC.text(), s.TxtCHL.text(), s.TxtCHLK.text()}),
              QStringList({"01", kDefaultHeader, ""}));
    EXPECT_EQ(std::pair(s.receiptTotal, s.shiftTotal), std::pair(0.0f, 150.0f));
}

} // namespace
