// The total key "=", the return and cash marks ВТ and НЛ, and one whole receipt from the first
// key to the journal file.

#include "panel_snapshot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QChar kDot = QLatin1Char('.');
const QChar kComma = QLatin1Char(',');

QString totalBlock(const QString& total) {
    return QStringLiteral("\r\nИТОГО\r\n") + total +
           QStringLiteral("руб\r\nКАССИР ______\r\n          /_______/\r\n"
                          "******************\r\n05.12.2026 21:30:15\r\n******************");
}

struct TotalCase {
    const char* name;
    QChar separator;
    const char* keys;
    QString shown; // the total as the block shows it
    float shiftTotal;
};

void PrintTo(const TotalCase& c, std::ostream* os) {
    *os << c.name;
}

class TotalKey : public testing::TestWithParam<TotalCase> {};

// The block byte for byte after the sale lines, "0" on the indicator, LblPrint lit, and the
// receipt counted in the shift total, fraction included under either separator.
TEST_P(TotalKey, WritesTheBlockAndCountsTheShift) {
    const TotalCase& c = GetParam();
    RegisterRig rig(c.separator);
    rig.press(QString::fromUtf8(c.keys));
    const QString tapeBefore = rig.s().TxtCHL.text();
    rig.press(QStringLiteral("="));
    const PanelState& s = rig.s();
    EXPECT_EQ(s.TxtCHL.text(), tapeBefore + totalBlock(c.shown));
    EXPECT_TRUE(s.TxtCHL.caretToEnd);
    EXPECT_EQ(s.TxtIND.text(), QStringLiteral("0"));
    EXPECT_TRUE(s.lit(Lamp::LblPrint));
    EXPECT_TRUE(s.lit(Lamp::LblVV));
    EXPECT_EQ(s.shiftTotal, c.shiftTotal);
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

const TotalCase kTotalCases[] = {
    {"TwoSales", kDot, "1 5 0 ВВ 5 1 ВВ", QStringLiteral("201"), 201},
    {"FractionDot", kDot, "1 2 . 5 ВВ", QStringLiteral("12.5"), 12.5f},
    {"FractionComma", kComma, "1 2 . 5 ВВ", QStringLiteral("12,5"), 12.5f},
    {"PendingCalculationFirst", kDot, "1 ВВ 2 Х 3", QStringLiteral("1"), 1},
    {"ExponentForm", kDot, "1 2 5 0 0 0 0 0 ВВ", QStringLiteral("1.25E+07"), 12.5e6f},
    {"ExponentFormComma", kComma, "1 2 5 0 0 0 0 0 ВВ", QStringLiteral("1,25E+07"), 12.5e6f},
};

INSTANTIATE_TEST_SUITE_P(Receipts, TotalKey, testing::ValuesIn(kTotalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TotalKey, WithNoReceiptOpenOnlyCompletesTheCalculation) {
    RegisterRig rig;
    rig.press(QStringLiteral("2 + 3"));
    PanelState expected = rig.s();
    rig.press(QStringLiteral("="));
    expected.TxtIND.setText(QStringLiteral("5"));
    expected.accumulator = 5;
    expected.pendingOper = 0;
    expected.entryFlag = 0;
    EXPECT_EQ(panelSnapshot(rig.s()), panelSnapshot(expected));
}

TEST(TotalKey, PressedTwiceWritesTwoBlocksAndCountsTwice) {
    RegisterRig rig;
    rig.press(QStringLiteral("1 5 0 ВВ = ="));
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader + QStringLiteral("\r\n 01  150 руб") +
                                         totalBlock(QStringLiteral("150")) +
                                         totalBlock(QStringLiteral("150")));
    EXPECT_EQ(rig.s().shiftTotal, 300);
}

// A fault of the pending calculation is shown, and the receipt is not totalled on it.
TEST(TotalKey, ShowsAFaultAndDoesNotTotal) {
    RegisterRig rig;
    rig.press(QStringLiteral("1 ВВ 5 / 0"));
    const QString tape = rig.s().TxtCHL.text();
    rig.press(QStringLiteral("="));
    EXPECT_EQ(rig.messages.texts(), QStringList{faultMessage(ArithmeticFault::DivisionByZero)});
    EXPECT_EQ(rig.s().TxtCHL.text(), tape);
    EXPECT_FALSE(rig.s().lit(Lamp::LblPrint));
    EXPECT_EQ(rig.s().shiftTotal, 0);
}

// A shift total beyond the single-precision range keeps its last value, with a message; the
// receipt itself is totalled as usual.
TEST(TotalKey, ShiftTotalOverflowKeepsTheLastValue) {
    RegisterRig rig;
    rig.s().shiftTotal = 3e38f;
    rig.press(QStringLiteral("1 ВВ"));
    rig.s().receiptTotal = 1e38f;
    rig.press(QStringLiteral("="));
    EXPECT_EQ(rig.s().shiftTotal, 3e38f);
    ASSERT_EQ(rig.messages.shown.size(), 1);
    EXPECT_TRUE(rig.messages.shown[0].text.contains(u"Сменный итог"));
    EXPECT_TRUE(rig.s().lit(Lamp::LblPrint));
    EXPECT_TRUE(rig.s().TxtCHL.text().endsWith(u"******************"));
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("0"));
}

TEST(ReturnKey, WritesTheWordAndMarksTheDepartment) {
    RegisterRig rig;
    rig.press(QStringLiteral("ВТ"));
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader + QStringLiteral("     ВОЗВРАТ"));
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("01  -"));
    // After a sale line the word continues that line; a second press repeats both marks.
    rig.press(QStringLiteral("5 ВВ ВТ ВТ"));
    EXPECT_TRUE(rig.s().TxtCHL.text().endsWith(u"\r\n 01  -  5 руб     ВОЗВРАТ     ВОЗВРАТ"));
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("01  -  -  -"));
    EXPECT_EQ(rig.s().receiptTotal, 5);
    // In any mode, header editing included.
    rig.s().light(Lamp::Lbd3);
    rig.s().TxtCHL.locked = false;
    rig.press(QStringLiteral("ВТ"));
    EXPECT_TRUE(rig.s().TxtCHL.text().endsWith(u"ВОЗВРАТ     ВОЗВРАТ     ВОЗВРАТ"));
}

struct CashMarkCase {
    bool totalled;
    bool minus;
    const char* line;
    bool nlLit;
};

class CashKey : public testing::TestWithParam<CashMarkCase> {};

TEST_P(CashKey, WritesTheLineAndSwitchesTheLamps) {
    const CashMarkCase& c = GetParam();
    RegisterRig rig;
    if (c.totalled) rig.s().light(Lamp::LblPrint);
    if (c.minus) rig.s().light(Lamp::Lblmin);
    PanelState expected = rig.s();
    rig.press(QStringLiteral("НЛ"));
    expected.TxtCHL.append(QStringLiteral("\r\n") + QString::fromUtf8(c.line));
    expected.TxtCHL.moveCaretToEnd();
    if (c.nlLit) expected.light(Lamp::LblNL);
    expected.putOut(Lamp::Lblmin);
    EXPECT_EQ(panelSnapshot(rig.s()), panelSnapshot(expected));
}

INSTANTIATE_TEST_SUITE_P(Receipts, CashKey,
                         testing::Values(CashMarkCase{false, false, " ВНЕСЕНИЕ НАЛИЧНЫХ", false},
                                         CashMarkCase{false, true, "    ИНКАССАЦИЯ", false},
                                         CashMarkCase{true, false, " ВНЕСЕНИЕ НАЛИЧНЫХ", true},
                                         CashMarkCase{true, true, "    ИНКАССАЦИЯ", true}));

// The minus key lights Lblmin, which one НЛ consumes.
TEST(CashKey, MinusCountsForOnePressOnly) {
    RegisterRig rig;
    rig.press(QStringLiteral("5 - НЛ НЛ"));
    EXPECT_TRUE(rig.s().TxtCHL.text().endsWith(u"\r\n    ИНКАССАЦИЯ\r\n ВНЕСЕНИЕ НАЛИЧНЫХ"));
    EXPECT_FALSE(rig.s().lit(Lamp::Lblmin));
    EXPECT_FALSE(rig.s().lit(Lamp::LblNL));
}

// The road of one receipt: two sales, the total, cash tendered with change, and the journal
// file after the power key. The amounts are whole, so both separators give the same bytes.
TEST(OneReceipt, FromTheFirstKeyToTheJournalFile) {
    const QString receipt = QStringLiteral("\r\n 01  150 руб\r\n 01  51 руб") +
                            totalBlock(QStringLiteral("201")) +
                            QStringLiteral("\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 500 руб\r\n СДАЧА  299 руб");
    for (const QChar separator : {kDot, kComma}) {
        RegisterRig rig(separator);
        PanelState& s = rig.s();
        rig.press(QStringLiteral("1 5 0"));
        EXPECT_EQ(s.TxtIND.text(), QStringLiteral("150"));
        rig.press(QStringLiteral("ВВ"));
        EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader + QStringLiteral("\r\n 01  150 руб"));
        EXPECT_EQ(s.receiptTotal, 150);
        EXPECT_EQ(s.TxtIND.text(), QString());
        EXPECT_TRUE(s.lit(Lamp::LblVV));
        rig.press(QStringLiteral("5 1 ВВ ="));
        EXPECT_EQ(s.shiftTotal, 201);
        EXPECT_EQ(s.TxtIND.text(), QStringLiteral("0"));
        EXPECT_TRUE(s.lit(Lamp::LblPrint));
        rig.press(QStringLiteral("НЛ"));
        EXPECT_TRUE(s.lit(Lamp::LblNL));
        rig.press(QStringLiteral("5 0 0"));
        const QString beforeClosing = s.TxtCHL.text();
        rig.press(QStringLiteral("ВВ"));

        EXPECT_EQ(beforeClosing + QStringLiteral("\r\n 500 руб\r\n СДАЧА  299 руб"),
                  kDefaultHeader + receipt);
        EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader);
        EXPECT_EQ(s.TxtCHLK.text(), QStringLiteral("\r\n") + kDefaultHeader + receipt);
        EXPECT_EQ(s.TxtIND.text(), QStringLiteral("0"));
        EXPECT_EQ(s.TxtSEC.text(), QStringLiteral("01"));
        EXPECT_EQ(s.receiptTotal, 0);
        for (bool lamp : s.lamps)
            EXPECT_FALSE(lamp);
        QString paper = kDefaultHeader + receipt;
        paper.replace(QStringLiteral("\r\n"), QStringLiteral("\n   \t"));
        EXPECT_EQ(rig.printer.paperText(), paper);
        EXPECT_TRUE(rig.messages.shown.isEmpty());

        rig.reg->VKL_Click();
        EXPECT_EQ(rig.files.readText(kJournalFileName),
                  QStringLiteral("\r\n") + kDefaultHeader + receipt + QStringLiteral("\r\n"));
    }
}

} // namespace
