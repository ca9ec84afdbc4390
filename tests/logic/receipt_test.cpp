// The ВВ key in each of its branches, driven through the keys as a trainee presses them.

#include "panel_snapshot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QChar kDot = QLatin1Char('.');
const QChar kComma = QLatin1Char(',');

// The total block "=" writes for a total shown as `total`.
QString totalBlock(const QString& total) {
    return QStringLiteral("\r\nИТОГО\r\n") + total +
           QStringLiteral("руб\r\nКАССИР ______\r\n          /_______/\r\n"
                          "******************\r\n05.12.2026 21:30:15\r\n******************");
}

const QString kCashIn = QStringLiteral("\r\n ВНЕСЕНИЕ НАЛИЧНЫХ");

QStringList litLamps(const PanelState& s) {
    QStringList lit;
    for (int i = 0; i < kLampCount; ++i)
        if (s.lamps[std::size_t(i)]) lit << QString::fromLatin1(lampName(Lamp(i)));
    return lit;
}

struct VVCase {
    const char* name;
    QChar separator;
    const char* keys;
    // What the keys leave after the header on the receipt tape.
    QString tapeAfterHeader;
    QString indicator;
    QStringList lit;
    float receiptTotal;
    // What closing appended to the journal (empty: the receipt is still open).
    QString journal;
};

void PrintTo(const VVCase& c, std::ostream* os) {
    *os << c.name;
}

class VVKey : public testing::TestWithParam<VVCase> {};

TEST_P(VVKey, LeavesTapeIndicatorLampsTotalAndJournal) {
    const VVCase& c = GetParam();
    RegisterRig rig(c.separator);
    rig.press(QString::fromUtf8(c.keys));
    const PanelState& s = rig.s();
    EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader + c.tapeAfterHeader);
    EXPECT_EQ(s.TxtIND.text(), c.indicator);
    EXPECT_EQ(litLamps(s), c.lit);
    EXPECT_EQ(s.receiptTotal, c.receiptTotal);
    EXPECT_EQ(s.TxtCHLK.text(),
              c.journal.isEmpty() ? QString() : kCrLf.toString() + kDefaultHeader + c.journal);
    EXPECT_TRUE(rig.messages.shown.isEmpty()) << rig.messages.texts().join(u'|').toStdString();
}

const QStringList kOpen{QStringLiteral("LblVV")};
const QStringList kTendered{QStringLiteral("LblNL"), QStringLiteral("LblVV"),
                            QStringLiteral("LblPrint")};

// A whole receipt of one sale paid in cash: what the journal holds after it.
QString cashReceipt(const QString& sale, const QString& tendered, const QString& change) {
    return QStringLiteral("\r\n 01  ") + sale + QStringLiteral(" руб") + totalBlock(sale) +
           kCashIn + QStringLiteral("\r\n ") + tendered + QStringLiteral(" руб\r\n СДАЧА  ") +
           change + QStringLiteral(" руб");
}

const VVCase kVVCases[] = {
    {"SaleOfAPendingProduct",
     kDot,
     "3 Х 1 5 ВВ",
     QStringLiteral("\r\n 01  45 руб"),
     {},
     kOpen,
     45,
     {}},
    {"SaleAfterAFaultRegistersTheOperand",
     kDot,
     "5 / 0 ВВ",
     QStringLiteral("\r\n 01  0 руб"),
     {},
     kOpen,
     0,
     {}},
    {"SaleOfTheStartUpIndicator",
     kDot,
     "ВВ",
     QStringLiteral("\r\n 01  0.00 руб"),
     {},
     kOpen,
     0,
     {}},
    {"SaleOfAnEmptyIndicator",
     kDot,
     "7 ВВ ВВ",
     QStringLiteral("\r\n 01  7 руб\r\n 01   руб"),
     {},
     kOpen,
     7,
     {}},
    {"SaleWithFractionUnderComma",
     kComma,
     "1 2 . 5 ВВ",
     QStringLiteral("\r\n 01  12,5 руб"),
     {},
     kOpen,
     12.5f,
     {}},
    {"ReturnMarkIsTextOnly",
     kDot,
     "ВТ 1 5 0 ВВ",
     QStringLiteral("     ВОЗВРАТ\r\n 01  -  150 руб"),
     {},
     kOpen,
     150,
     {}},
    {"TenderShort",
     kDot,
     "2 0 1 ВВ = НЛ 1 0 0 ВВ",
     QStringLiteral("\r\n 01  201 руб") + totalBlock(QStringLiteral("201")) + kCashIn +
         QStringLiteral("\r\n 100 руб\r\n СДАЧА  -101 руб"),
     QStringLiteral(" МАЛО ДЕНЕГ!  "),
     kTendered,
     201,
     {}},
    {"TenderShortTwiceTendersTheMessage",
     kDot,
     "2 0 1 ВВ = НЛ 1 0 0 ВВ ВВ",
     QStringLiteral("\r\n 01  201 руб") + totalBlock(QStringLiteral("201")) + kCashIn +
         QStringLiteral("\r\n 100 руб\r\n СДАЧА  -101 руб\r\n  МАЛО ДЕНЕГ!   руб"
                        "\r\n СДАЧА  -201 руб"),
     QStringLiteral(" МАЛО ДЕНЕГ!  "),
     kTendered,
     201,
     {}},
    {"TenderShortByAFractionUnderComma",
     kComma,
     "2 0 0 . 5 ВВ = НЛ 2 0 0 . 3 ВВ",
     QStringLiteral("\r\n 01  200,5 руб") + totalBlock(QStringLiteral("200,5")) + kCashIn +
         QStringLiteral("\r\n 200.3 руб\r\n СДАЧА  -0,2 руб"),
     QStringLiteral(" МАЛО ДЕНЕГ!  "),
     kTendered,
     200.5f,
     {}},
    {"TenderExact",
     kDot,
     "2 0 1 ВВ = НЛ 2 0 1 ВВ",
     {},
     QStringLiteral("0"),
     {},
     0,
     cashReceipt(QStringLiteral("201"), QStringLiteral("201"), QStringLiteral("0"))},
    {"TenderWithFractions",
     kDot,
     "2 0 0 . 5 ВВ = НЛ 5 0 0 ВВ",
     {},
     QStringLiteral("0"),
     {},
     0,
     cashReceipt(QStringLiteral("200.5"), QStringLiteral("500"), QStringLiteral("299.5"))},
    {"TenderWithFractionsUnderComma",
     kComma,
     "2 0 0 . 5 ВВ = НЛ 5 0 0 ВВ",
     {},
     QStringLiteral("0"),
     {},
     0,
     cashReceipt(QStringLiteral("200,5"), QStringLiteral("500"), QStringLiteral("299,5"))},
    {"ChangeTiesRoundToEvenDown",
     kDot,
     "1 0 ВВ = НЛ 1 0 . 1 2 5 ВВ",
     {},
     QStringLiteral("0"),
     {},
     0,
     cashReceipt(QStringLiteral("10"), QStringLiteral("10.125"), QStringLiteral("0.12"))},
    {"ChangeTiesRoundToEvenUp",
     kDot,
     "1 0 ВВ = НЛ 1 0 . 3 7 5 ВВ",
     {},
     QStringLiteral("0"),
     {},
     0,
     cashReceipt(QStringLiteral("10"), QStringLiteral("10.375"), QStringLiteral("0.38"))},
    // 33.3 is stored just below its digits: the same digits tendered leave a tiny positive
    // difference and close the receipt with the change 0.
    {"FloatNoiseBelowCloses",
     kDot,
     "3 3 . 3 ВВ = НЛ 3 3 . 3 ВВ",
     {},
     QStringLiteral("0"),
     {},
     0,
     cashReceipt(QStringLiteral("33.3"), QStringLiteral("33.3"), QStringLiteral("0"))},
    // 0.1 is stored just above its digits: the same digits tendered are short.
    {"FloatNoiseAboveIsShort",
     kDot,
     "0 . 1 ВВ = НЛ 0 . 1 ВВ",
     QStringLiteral("\r\n 01  0.1 руб") + totalBlock(QStringLiteral("0.1")) + kCashIn +
         QStringLiteral("\r\n 0.1 руб\r\n СДАЧА  0 руб"),
     QStringLiteral(" МАЛО ДЕНЕГ!  "),
     kTendered,
     0.1f,
     {}},
    {"CloseWithoutChange",
     kDot,
     "1 5 0 ВВ = ВВ",
     {},
     QStringLiteral("0"),
     {},
     0,
     QStringLiteral("\r\n 01  150 руб") + totalBlock(QStringLiteral("150"))},
};

INSTANTIATE_TEST_SUITE_P(Receipts, VVKey, testing::ValuesIn(kVVCases),
                         [](const auto& info) { return std::string(info.param.name); });

// With no printer at all the receipt is still journaled and closed, and the trainee is not
// bothered: only the paper is missing. The printout count still grows.
TEST(VVKey, ClosesWithoutAPrinter) {
    for (const char* keys : {"1 5 0 ВВ = ВВ", "1 5 0 ВВ = НЛ 2 0 0 ВВ"}) {
        RegisterRig rig;
        rig.printer.failing = true;
        rig.press(QString::fromUtf8(keys));
        EXPECT_TRUE(rig.s().TxtCHLK.text().startsWith(kCrLf.toString() + kDefaultHeader +
                                                      QStringLiteral("\r\n 01  150 руб")))
            << keys;
        EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader) << keys;
        EXPECT_TRUE(litLamps(rig.s()).isEmpty()) << keys;
        EXPECT_EQ(rig.s().printRow, 1) << keys;
        EXPECT_TRUE(rig.messages.shown.isEmpty()) << keys;
        EXPECT_TRUE(rig.printer.paperText().isEmpty()) << keys;
    }
}

// The closing prints the tape exactly as it stands, change line included.
TEST(VVKey, PrintsTheWholeReceiptOnClosing) {
    RegisterRig rig;
    rig.press(QStringLiteral("1 5 0 ВВ = НЛ 2 0 0 ВВ"));
    const QString closed = rig.s().TxtCHLK.text().mid(2);
    QString paper = closed;
    paper.replace(QStringLiteral("\r\n"), QStringLiteral("\n   \t"));
    EXPECT_EQ(rig.printer.paperText(), paper);
    EXPECT_TRUE(closed.endsWith(u"\r\n 200 руб\r\n СДАЧА  50 руб"));
}

// Header being typed, or КР mode: the key changes nothing at all, not even LblVV.
TEST(VVKey, DoesNothingWhileTheHeaderIsOpenOrInKRMode) {
    for (const bool headerOpen : {true, false}) {
        RegisterRig rig;
        rig.press(QStringLiteral("1 5"));
        if (headerOpen)
            rig.s().TxtCHL.locked = false;
        else
            rig.s().light(Lamp::Lbd3);
        const QStringList before = panelSnapshot(rig.s());
        rig.press(QStringLiteral("ВВ"));
        EXPECT_EQ(panelSnapshot(rig.s()), before);
        EXPECT_TRUE(rig.printer.calls.isEmpty());
    }
}

// In КЗ mode with LblZ lit every press prints the tape as the press leaves it.
TEST(VVKey, PrintsAfterEveryPressInKZModeWithLblZ) {
    RegisterRig rig;
    rig.s().light(Lamp::Lbd6);
    rig.s().light(Lamp::LblZ);
    rig.press(QStringLiteral("1 5 0 ВВ"));
    EXPECT_EQ(rig.printer.calls.count(QStringLiteral("finish")), 1);
    EXPECT_TRUE(rig.printer.paperText().endsWith(u"\n   \t 01  150 руб"));
    EXPECT_EQ(rig.s().printRow, 1);
}

// A missing header file at closing: the message, the last good header on the tape, and the
// closed receipt never reaches the journal a second time.
TEST(VVKey, MissingHeaderAtClosingNeverJournalsTwice) {
    RegisterRig rig;
    rig.files.remove(kHeaderFileName);
    rig.press(QStringLiteral("1 5 0 ВВ = ВВ"));
    EXPECT_EQ(rig.messages.texts(), QStringList{kCannotFindFile});
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
    rig.press(QStringLiteral("2 ВВ = ВВ"));
    const QString journal = rig.s().TxtCHLK.text();
    EXPECT_EQ(journal.count(u" 01  150 руб"), 1);
    EXPECT_EQ(journal.count(u" 01  2 руб"), 1);
    EXPECT_EQ(journal.count(kDefaultHeader), 2);
}

// A cash closing reloads the header twice, once itself and once through СБ: two messages.
TEST(VVKey, MissingHeaderAtCashClosingIsReportedByClosingAndReset) {
    RegisterRig rig;
    rig.files.remove(kHeaderFileName);
    rig.press(QStringLiteral("1 5 0 ВВ = НЛ 2 0 0 ВВ"));
    EXPECT_EQ(rig.messages.texts(), QStringList(2, kCannotFindFile));
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("0"));
}

// A receipt total beyond the single-precision range: the sale is refused with a message, the
// tape and the total stay as they were.
TEST(VVKey, RefusesASaleThatWouldOverflowTheReceiptTotal) {
    RegisterRig rig;
    rig.s().TxtIND.setText(QStringLiteral("3E38"));
    rig.press(QStringLiteral("ВВ"));
    EXPECT_EQ(rig.s().receiptTotal, 3e38f);
    const QString tape = rig.s().TxtCHL.text();
    for (const char* amount : {"3E38", "1E39"}) {
        rig.s().TxtIND.setText(QString::fromLatin1(amount));
        rig.press(QStringLiteral("ВВ"));
        EXPECT_EQ(rig.s().receiptTotal, 3e38f) << amount;
        EXPECT_EQ(rig.s().TxtCHL.text(), tape) << amount;
        EXPECT_EQ(rig.s().TxtIND.text(), QString::fromLatin1(amount));
    }
    ASSERT_EQ(rig.messages.shown.size(), 2);
    EXPECT_TRUE(rig.messages.shown[0].text.contains(u"Продажа не пробита"));
}

} // namespace
