#include "panel_snapshot.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// The indicator, entryFlag, pending operation, lit lamps and messages: what decides the next key.
QString panel(const RegisterRig& rig) {
    const PanelState& s = rig.s();
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(s.TxtIND.text(), QString::number(s.entryFlag), QString::number(int(s.pendingOper)),
             litLamps(s), rig.messages.texts().join(u';'));
}

struct CalculatorRow : NamedRow {
    QString keys, panel;
};

class Calculator : public testing::TestWithParam<CalculatorRow> {};

// "," sets a comma as the system's separator; "⌨text" leaves typed `text` in the indicator.
TEST_P(Calculator, KeySequences) {
    RegisterRig rig;
    for (const QString& key : GetParam().keys.split(u' ')) {
        if (key == u",")
            rig.regional.separator = u',';
        else if (key.startsWith(u'⌨'))
            rig.reg->indicatorEdited(key.mid(1));
        else
            rig.press(key);
    }
    EXPECT_EQ(panel(rig), GetParam().panel);
}

const QString kDiv = QStringLiteral("Деление на ноль");
const QString kInvalid = QStringLiteral("Недопустимая операция (0 / 0)");
const QString kOver = QStringLiteral("Переполнение");
const QString e38 = QStringLiteral("1") + QStringLiteral(" 00").repeated(19); // 1E+38 keyed

const CalculatorRow kRows[] = {
    {"PointAtStartUp", ".", "0.00|0|0||"},
    {"LeadingZerosDropped", "0 0 5", "5|1|0||"},
    {"OnePoint", "1 . 5 . 2", "1.52|1|0||"},
    {"DoubleZero", "1 2 00", "1200|1|0||"},
    {"TwentyDigits", "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0", "12345678901234567890|1|0||"},
    {"PointAfterReset", "СБ . 5", "0.5|1|0||"},
    {"PointAfterResult", "5 + 3 + .", "8.|0|1||"},
    {"PointAfterSale", "1 5 0 ВВ . 5", "5|1|0|LblVV|"}, // a lone point, flag clear
    {"TimeReadsAsItsHours", "1 КР 2В +", "21|0|1|Lbd3|"},
    // A chain without precedence; the last operator key pressed counts.
    {"NoPrecedence", "2 + 3 Х 4 =", "20|0|0||"},
    {"LastOperatorCounts", "5 + - 3 =", "2|0|0|Lblmin|"},
    {"ChainGoesOnAfterTotal", "2 + 3 = + 4 =", "9|0|0||"},
    {"NewChainAfterTotal", "2 + 3 = 4 + 1 =", "5|0|0||"},
    {"SevenDigits", "1 / 3 =", "0.3333333|0|0||"},
    {"SinglePrecision", "1 6 7 7 7 2 1 6 + 1 =", "1.677722E+07|0|0||"},
    {"EqualsReadsTheZerosShown", "1 КР КР =", "0|0|0||"},
    // СБ clears the chain, and the receipt lamps when a receipt is open; never a mode lamp.
    {"ResetClearsChain", "5 + 3 + СБ", "0|1|0||"},
    {"ResetCancelsReceipt", "1 5 0 ВВ = СБ", "0|1|0||"},
    {"ResetKeepsModeLamps", "1 ВВ = КЛ 5 - СБ", "0|1|0|Lbd4 LblPrint|"},
    // A fault is told, the operand stays shown and the chain is dropped; the next keys work.
    {"DivisionByZero", "5 / 0 =", "0|0|0||" + kDiv},
    {"ZeroByZero", "0 / 0 =", "0|0|0||" + kInvalid},
    {"VVTellsTheFaultAndSellsTheOperand", "5 / 0 ВВ", "|0|0|LblVV|" + kDiv},
    {"ProductOverflows", e38 + " Х 1 0 0 =", "100|0|0||" + kOver},
    {"LargestAmount", e38 + " =", "1E+38|0|0||"},
    {"KeyedAmountOverflows", "7 + " + e38 + " 00 =", "1" + QString(40, u'0') + "|0|0||" + kOver},
    {"NextAmountAfterAFault", "5 / 0 = 2 =", "2|0|0||" + kDiv},
    {"ResetAfterAFault", "5 / 0 = 2 = СБ 7 + 1 =", "8|0|0||" + kDiv},
    {"DigitAfterAFaultStartsAnAmount", "5 / 0 = 2", "2|1|0||" + kDiv},
    {"OperatorsWorkAfterAFault", "5 / 0 - - 3 =", "-3|0|0|Lblmin|" + kDiv},
    {"EqualsWorkAfterAFault", "5 / 0 = = + 4 =", "4|0|0||" + kDiv},
    // The result shows the system's separator and reads back whole.
    {"CommaSeparator", ", 1 . 5 + 1 =", "2,5|0|0||"},
    {"CommaReadBack", ", 1 ⌨2,5 Х 2 =", "5|0|0||"}};

INSTANTIATE_TEST_SUITE_P(Keys, Calculator, testing::ValuesIn(kRows), rowName);

// СБ cancels the receipt, back to department 01; the shift total and journal stay.
TEST(Calculator, ResetKeepsShiftTotalAndJournal) {
    RegisterRig rig;
    rig.press("1 5 0 ВВ = 2В СБ");
    const PanelState& s = rig.s();
    EXPECT_EQ(QStringList({s.TxtSEC.text(), s.TxtCHL.text(), s.TxtCHLK.text()}),
              QStringList({"01", kDefaultHeader, ""}));
    EXPECT_EQ(std::pair(s.receiptTotal, s.shiftTotal), std::pair(0.0f, 150.0f));
}

} // namespace
