// The receipt keys ВВ, "=", ВТ and НЛ as a trainee presses them, up to the journal and the paper.

#include "panel_snapshot.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// "<ИТОГО 201>" in an expected text stands for the total block of 201.
QString expand(const char* text) {
    static const QRegularExpression total(QStringLiteral("<ИТОГО ([^>]*)>"));
    return QString::fromUtf8(text).replace(
        total, QStringLiteral("\r\nИТОГО\r\n\\1руб\r\nКАССИР ______\r\n          /_______/\r\n"
                              "******************\r\n05.12.2026 21:30:15\r\n******************"));
}

// On paper each CR LF is a line break, three spaces and a move to the next print zone.
QString onPaper(QString tape) {
    return tape.replace(QStringLiteral("\r\n"), "\n   \t");
}

struct ReceiptCase : NamedRow {
    char separator;
    bool printerFails;
    const char *keys, *tape, *indicator, *lit; // tape: after the header
    float receiptTotal, shiftTotal;
    const char* journal;      // after CR LF and the header; null while the receipt is open
    const char* message = ""; // the messages shown, joined by ";"
};

const ReceiptCase kCases[] = {
    {"ProductSold", '.', false, "3 Х 1 5 ВВ", "\r\n 01  45 руб", "", "LblVV", 45, 0, nullptr},
    {"SecondVVSellsNoAmount", '.', false, "7 ВВ ВВ", "\r\n 01  7 руб\r\n 01   руб", "", "LblVV", 7,
     0, nullptr},
    {"ReturnMarkIsTextOnly", '.', false, "5 ВВ КР ВТ КР ВТ ВВ",
     "\r\n 01  5 руб     ВОЗВРАТ     ВОЗВРАТ\r\n 01  -  -  0.00 руб", "", "LblVV", 5, 0, nullptr},
    {"EqualsWithoutReceiptOnlyCalculates", '.', false, "2 + 3 =", "", "5", "", 0, 0, nullptr},
    {"ProductWorkedOutNotSold", '.', false, "1 ВВ 2 Х 3 =", "\r\n 01  1 руб<ИТОГО 1>", "0",
     "LblVV LblPrint", 1, 1, nullptr},
    {"ExponentFormWithComma", ',', false, "1 2 5 0 0 0 0 0 ВВ =",
     "\r\n 01  1,25E+07 руб<ИТОГО 1,25E+07>", "0", "LblVV LblPrint", 12.5e6f, 12.5e6f, nullptr},
    {"SecondTotalCountsAgain", '.', false, "1 5 0 ВВ = =", "\r\n 01  150 руб<ИТОГО 150><ИТОГО 150>",
     "0", "LblVV LblPrint", 150, 300, nullptr},
    {"FaultTotalsNothing", '.', false, "1 5 0 ВВ 5 / 0 =", "\r\n 01  150 руб", "0", "LblVV", 150, 0,
     nullptr, "Деление на ноль"},
    // The dropped calculation must not jam the receipt.
    {"TotalAfterAFault", '.', false, "1 0 ВВ 5 / 0 = = ВВ", "", "0", "", 0, 10,
     "\r\n 01  10 руб<ИТОГО 10>", "Деление на ноль"},
    {"VVAfterAFault", '.', false, "1 0 ВВ 5 / 0 ВВ = ВВ", "", "0", "", 0, 10,
     "\r\n 01  10 руб\r\n 01  0 руб<ИТОГО 10>", "Деление на ноль"},
    {"CashOutThenIn", '.', false, "5 - НЛ НЛ", "\r\n    ИНКАССАЦИЯ\r\n ВНЕСЕНИЕ НАЛИЧНЫХ", "5", "",
     0, 0, nullptr},
    {"CashTenderedAfterTotal", '.', false, "1 ВВ = 5 - НЛ НЛ",
     "\r\n 01  1 руб<ИТОГО 1>\r\n    ИНКАССАЦИЯ\r\n ВНЕСЕНИЕ НАЛИЧНЫХ", "5", "LblNL LblVV LblPrint",
     1, 1, nullptr},
    {"TooLittleMoneyWaits", '.', false, "2 0 1 ВВ = НЛ 1 0 0 ВВ ВВ",
     "\r\n 01  201 руб<ИТОГО 201>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 100 руб\r\n СДАЧА  -101 руб"
     "\r\n  МАЛО ДЕНЕГ!   руб\r\n СДАЧА  -201 руб",
     " МАЛО ДЕНЕГ!  ", "LblNL LblVV LblPrint", 201, 201, nullptr},
    {"ShortByAFractionWithComma", ',', false, "2 0 0 . 5 ВВ = НЛ 2 0 0 . 3 ВВ",
     "\r\n 01  200,5 руб<ИТОГО 200,5>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 200.3 руб\r\n СДАЧА  -0,2 руб",
     " МАЛО ДЕНЕГ!  ", "LblNL LblVV LblPrint", 200.5f, 200.5f, nullptr},
    {"RightAmountAfterTooLittle", '.', false, "2 0 1 ВВ = НЛ 1 0 0 ВВ 3 0 0 ВВ", "", "0", "", 0,
     201,
     "\r\n 01  201 руб<ИТОГО 201>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 100 руб\r\n СДАЧА  -101 руб"
     "\r\n 300 руб\r\n СДАЧА  99 руб"},
    // 0.1 is stored just above its digits, 33.3 just below: tendering the same digits differs.
    {"StoredAboveItsDigitsIsShort", '.', false, "0 . 1 ВВ = НЛ 0 . 1 ВВ",
     "\r\n 01  0.1 руб<ИТОГО 0.1>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 0.1 руб\r\n СДАЧА  0 руб",
     " МАЛО ДЕНЕГ!  ", "LblNL LblVV LblPrint", 0.1f, 0.1f, nullptr},
    {"ClosedWithoutChange", '.', false, "1 5 0 ВВ = ВВ", "", "0", "", 0, 150,
     "\r\n 01  150 руб<ИТОГО 150>"},
    {"ExactMoney", '.', false, "1 5 0 ВВ = НЛ 1 5 0 ВВ", "", "0", "", 0, 150,
     "\r\n 01  150 руб<ИТОГО 150>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 150 руб\r\n СДАЧА  0 руб"},
    {"OneReceiptWithChange", ',', false, "1 5 0 ВВ 5 1 ВВ = НЛ 5 0 0 ВВ", "", "0", "", 0, 201,
     "\r\n 01  150 руб\r\n 01  51 руб<ИТОГО 201>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 500 руб\r\n СДАЧА  299 "
     "руб"},
    {"ChangeWithoutPrinter", ',', true, "2 0 0 . 5 ВВ = НЛ 5 0 0 ВВ", "", "0", "", 0, 200.5f,
     "\r\n 01  200,5 руб<ИТОГО 200,5>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 500 руб\r\n СДАЧА  299,5 руб"},
    {"ChangeRoundedHalfToEven", '.', false, "1 0 ВВ = НЛ 1 0 . 1 2 5 ВВ", "", "0", "", 0, 10,
     "\r\n 01  10 руб<ИТОГО 10>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 10.125 руб\r\n СДАЧА  0.12 руб"},
    {"StoredBelowItsDigitsGivesNoChange", '.', false, "3 3 . 3 ВВ = НЛ 3 3 . 3 ВВ", "", "0", "", 0,
     33.3f, "\r\n 01  33.3 руб<ИТОГО 33.3>\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n 33.3 руб\r\n СДАЧА  0 руб"},
};

class ReceiptKeySequences : public testing::TestWithParam<ReceiptCase> {};

TEST_P(ReceiptKeySequences, LeaveTapeIndicatorLampsTotalsJournalAndPaper) {
    const ReceiptCase& c = GetParam();
    RegisterRig rig(QLatin1Char(c.separator));
    rig.printer.failing = c.printerFails;
    rig.press(c.keys);
    const PanelState& s = rig.s();
    EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader + expand(c.tape));
    EXPECT_EQ(s.TxtIND.text(), c.indicator);
    EXPECT_EQ(litLamps(s), c.lit);
    EXPECT_EQ(s.receiptTotal, c.receiptTotal);
    EXPECT_EQ(s.shiftTotal, c.shiftTotal);
    const QString closed = c.journal ? kDefaultHeader + expand(c.journal) : QString();
    EXPECT_EQ(s.TxtCHLK.text(), c.journal ? "\r\n" + closed : QString());
    EXPECT_EQ(rig.printer.paperText(), c.printerFails ? QString() : onPaper(closed));
    EXPECT_EQ(s.print.row, c.journal ? 1 : 0);
    EXPECT_EQ(rig.messages.texts().join(u';'), c.message);
}

INSTANTIATE_TEST_SUITE_P(Keys, ReceiptKeySequences, testing::ValuesIn(kCases), rowName);

// A header left open by a failed КР save must block ВВ outside КР mode too.
TEST(VVKey, DoesNothingWhileTheHeaderIsOpenOrInKrMode) {
    for (const bool headerOpen : {true, false}) {
        RegisterRig rig;
        if (headerOpen) {
            rig.press("КР 3Т");
            rig.typeHeader("ä");
        }
        rig.press("КР 1 5");
        ASSERT_EQ(rig.s().TxtCHL.locked, !headerOpen);
        ASSERT_EQ(rig.s().inKrMode(), !headerOpen);
        const QStringList before = panelSnapshot(rig.s());
        rig.press("ВВ");
        EXPECT_EQ(panelSnapshot(rig.s()), before);
    }
}

TEST(VVKey, PrintsAfterEveryPressInJournalModeWithLblZ) {
    RegisterRig rig;
    rig.press("КЗ 2В 1 5 0 ВВ");
    EXPECT_EQ(rig.printer.paperText(), onPaper(kDefaultHeader + "\r\n 02  150 руб"));
}

TEST(VVKey, MissingHeaderAtClosingIsToldAndNeverJournalsTwice) {
    RegisterRig rig;
    rig.files.remove(kHeaderFileName);
    rig.press("1 5 0 ВВ = ВВ");
    EXPECT_EQ(rig.messages.texts(), QStringList{kCannotFindFile});
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
    rig.press("2 ВВ = НЛ 5 ВВ"); // reloaded by the closing and by СБ
    EXPECT_EQ(rig.messages.texts(), QStringList(3, kCannotFindFile));
    EXPECT_EQ(rig.s().TxtCHLK.text().count(u" 01  150 руб"), 1);
    EXPECT_EQ(rig.s().TxtCHLK.text().count(kDefaultHeader), 2);
}

// Change beyond every number cannot be worked out: the failed check counts as short.
TEST(VVKey, TenderBeyondEveryNumberIsShortAndTheNextAmountCloses) {
    RegisterRig rig;
    const QString tendered = QString(400, u'9');
    rig.press("1 0 ВВ = НЛ " + QStringList(tendered.size(), "9").join(u' ') + " ВВ");
    EXPECT_TRUE(rig.s().TxtCHL.text().endsWith("\r\n " + tendered + " руб\r\n СДАЧА  0 руб"));
    EXPECT_EQ(rig.s().TxtIND.text(), " МАЛО ДЕНЕГ!  ");
    EXPECT_EQ(rig.s().TxtCHLK.text(), "");
    rig.press("1 0 ВВ");
    EXPECT_TRUE(rig.s().TxtCHLK.text().endsWith("\r\n 10 руб\r\n СДАЧА  0 руб"));
}

// 100000.5 + 0.55 is kept as 100001, then + 0.55 as 100001.5: 7 digits after every total.
TEST(TotalKey, ShiftTotalIsRoundedToSevenDigitsAfterEveryTotal) {
    RegisterRig rig;
    rig.press("1 0 0 0 0 0 . 5 ВВ = ВВ 0 . 5 5 ВВ = ВВ 0 . 5 5 ВВ = ВВ КЗ 1Д");
    EXPECT_TRUE(rig.s().TxtCHLK.text().endsWith("\r\n ИС  100001.5 руб"));
}

// A sale or total beyond single precision is refused; the totals keep their last values.
TEST(ReceiptKeys, TotalsBeyondTheirRangeKeepTheirLastValues) {
    const QString e38 = "3" + QString(" 00").repeated(19); // 3E+38 keyed
    RegisterRig rig;
    rig.press(e38 + " ВВ = ВВ " + e38 + " ВВ " + e38);
    const QString tape = rig.s().TxtCHL.text();
    rig.press("ВВ");
    EXPECT_EQ(rig.s().TxtCHL.text(), tape);
    EXPECT_EQ(rig.s().TxtIND.text(), "3E+38"); // the keyed amount, as worked out
    rig.press("=");
    EXPECT_EQ(std::pair(rig.s().receiptTotal, rig.s().shiftTotal), std::pair(3e38f, 3e38f));
    EXPECT_EQ(litLamps(rig.s()), "LblVV LblPrint");
    EXPECT_EQ(rig.s().TxtIND.text(), "0");
    EXPECT_EQ(rig.messages.texts(),
              QStringList({"Сумма чека вышла бы за пределы кассы. Продажа не пробита.",
                           "Сменный итог вышел бы за пределы кассы и не изменён."}));
}

} // namespace
