#include "panel_snapshot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QString kSale = QStringLiteral("\r\n 01  150 руб");
const QString kTotalBlock = QStringLiteral("\r\nИТОГО\r\n150руб\r\nКАССИР ______\r\n"
                                           "          /_______/\r\n******************\r\n"
                                           "05.12.2026 21:30:15\r\n******************");
const QString kOldJournal = QStringLiteral("\r\nстарый чек");
const QString kCardLine = QStringLiteral(" ОПЛАТА КАРТОЙ");

enum class Receipt { Idle, Open, Totalled, TotalledCashTendered, TotalledVVHidden, HeaderOpen };

struct PercentCase {
    const char* name;
    Receipt receipt;
    bool printerFails;
};

void PrintTo(const PercentCase& c, std::ostream* os) {
    *os << c.name;
}

void arrange(PanelState& s, Receipt receipt) {
    s.TxtCHLK.setText(kOldJournal);
    s.TxtIND.setText(QStringLiteral("0"));
    s.entryFlag = 1;
    s.shiftTotal = 150;
    if (receipt == Receipt::Idle) return;
    s.TxtCHL.setText(kDefaultHeader + kSale);
    s.receiptTotal = 150;
    s.light(Lamp::LblVV);
    if (receipt == Receipt::Open) return;
    s.TxtCHL.append(kTotalBlock);
    s.light(Lamp::LblPrint);
    if (receipt == Receipt::TotalledCashTendered) s.light(Lamp::LblNL);
    if (receipt == Receipt::TotalledVVHidden) s.putOut(Lamp::LblVV); // КЛ put it out
    if (receipt == Receipt::HeaderOpen) {
        s.light(Lamp::Lbd3);
        s.light(Lamp::LblClish);
        s.TxtCHL.locked = false;
    }
}

class PercentKey : public testing::TestWithParam<PercentCase> {};

// Only a totalled receipt is closed: printed, journaled, replaced by the header, its total and
// lamps cleared. In every other state the key only lights LblVV. The printer never decides
// anything and never leads to a message.
TEST_P(PercentKey, ClosesATotalledReceiptAndOnlyLightsTheLampOtherwise) {
    const PercentCase& c = GetParam();
    RegisterRig rig;
    rig.printer.failing = c.printerFails;
    PanelState& s = rig.s();
    arrange(s, c.receipt);
    s.TxtCHLK.takeChange();
    const QString tape = s.TxtCHL.text();
    const bool closes = s.lit(Lamp::LblPrint);
    PanelState expected = s;

    rig.press(QStringLiteral("%"));

    expected.light(Lamp::LblVV);
    if (closes) {
        expected.TxtCHLK.append(kCrLf.toString() + tape);
        expected.TxtCHL.setText(kDefaultHeader);
        expected.receiptTotal = 0;
        expected.putOut(Lamp::LblVV);
        expected.putOut(Lamp::LblPrint);
        expected.printRow = 1;
        // The header reload leaves its file channel in the entry flag.
        EXPECT_NE(s.entryFlag, 0);
        expected.entryFlag = s.entryFlag;
    }
    EXPECT_EQ(panelSnapshot(s), panelSnapshot(expected));
    EXPECT_TRUE(rig.messages.shown.isEmpty());

    // The card line reaches the paper only.
    EXPECT_FALSE(s.TxtCHL.text().contains(QStringLiteral("КАРТОЙ")));
    EXPECT_FALSE(s.TxtCHLK.text().contains(QStringLiteral("КАРТОЙ")));
    const QString paper = rig.printer.paperText();
    EXPECT_EQ(paper.count(kCardLine), closes && !c.printerFails ? 1 : 0) << paper.toStdString();
    if (!closes) {
        EXPECT_TRUE(rig.printer.calls.isEmpty());
    }
    if (closes && c.printerFails) {
        EXPECT_FALSE(rig.printer.calls.isEmpty());
        for (const QString& call : rig.printer.calls)
            EXPECT_TRUE(call.startsWith(QStringLiteral("FAILED "))) << call.toStdString();
    }
    if (closes) {
        // The journal gains the receipt as an append, never a rewrite of the whole journal.
        const TextField::Change change = s.TxtCHLK.takeChange();
        EXPECT_FALSE(change.replaced);
        EXPECT_EQ(change.from, kOldJournal.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, PercentKey,
    testing::Values(PercentCase{"Idle", Receipt::Idle, false},
                    PercentCase{"IdleNoPrinter", Receipt::Idle, true},
                    PercentCase{"Open", Receipt::Open, false},
                    PercentCase{"OpenNoPrinter", Receipt::Open, true},
                    PercentCase{"Totalled", Receipt::Totalled, false},
                    PercentCase{"TotalledNoPrinter", Receipt::Totalled, true},
                    PercentCase{"CashTendered", Receipt::TotalledCashTendered, false},
                    PercentCase{"CashTenderedNoPrinter", Receipt::TotalledCashTendered, true},
                    PercentCase{"VVHidden", Receipt::TotalledVVHidden, false},
                    PercentCase{"HeaderOpen", Receipt::HeaderOpen, false},
                    PercentCase{"HeaderOpenNoPrinter", Receipt::HeaderOpen, true}),
    [](const testing::TestParamInfo<PercentCase>& info) { return std::string(info.param.name); });

// The printout of a small tape, call by call: the receipt printout's start and characters,
// then the card line on a line of its own at the same left margin, then the finish.
struct PrintoutCase {
    std::int16_t printRow;
    const char* y;
};

class PercentPrintout : public testing::TestWithParam<PrintoutCase> {};

TEST_P(PercentPrintout, PrintsTheTapeThenTheCardLine) {
    RegisterRig rig;
    PanelState& s = rig.s();
    s.TxtCHL.setText(QStringLiteral("AB\r\nC"));
    s.light(Lamp::LblPrint);
    s.printRow = GetParam().printRow;
    rig.press(QStringLiteral("%"));
    const QStringList expected = {
        QStringLiteral("width"),
        QStringLiteral("height"),
        QStringLiteral("font 12"),
        QStringLiteral("x 1200"),
        QString::fromUtf8(GetParam().y),
        QStringLiteral("stay A"),
        QStringLiteral("stay B"),
        QStringLiteral("stay \r"),
        QStringLiteral("zone    "),
        QStringLiteral("stay C"),
        QStringLiteral("endline \r\n"),
        QStringLiteral("x 1200"),
        QStringLiteral("endline  ОПЛАТА КАРТОЙ"),
        QStringLiteral("finish"),
    };
    EXPECT_EQ(rig.printer.calls, expected);
    EXPECT_EQ(s.printRow, GetParam().printRow + 1);
}

// 2 % of the printable height (15000) per printout since start-up; from the 51st printout on
// the offset starts again at the top so the receipt still lands on the page.
INSTANTIATE_TEST_SUITE_P(Rows, PercentPrintout,
                         testing::Values(PrintoutCase{0, "y 0"}, PrintoutCase{9, "y 2700"},
                                         PrintoutCase{50, "y 0"}, PrintoutCase{51, "y 300"}));

TEST(PercentKey, EmptyTapePrintsOnlyTheClosingLines) {
    RegisterRig rig;
    rig.s().TxtCHL.setText(QString());
    rig.s().light(Lamp::LblPrint);
    rig.press(QStringLiteral("%"));
    const QStringList tail = rig.printer.calls.mid(5);
    EXPECT_EQ(tail,
              (QStringList{QStringLiteral("endline \r\n"), QStringLiteral("x 1200"),
                           QStringLiteral("endline  ОПЛАТА КАРТОЙ"), QStringLiteral("finish")}));
    EXPECT_EQ(rig.s().TxtCHLK.text(), kCrLf.toString());
}

// A whole receipt rung up, totalled and paid by card; the next receipt starts from nothing.
TEST(PercentKey, CardPaymentOfARealReceipt) {
    for (const QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        RegisterRig rig{separator};
        PanelState& s = rig.s();
        rig.press(QStringLiteral("1 5 0 ВВ 5 1 ВВ = НЛ"));
        ASSERT_TRUE(s.lit(Lamp::LblPrint));
        const QString tape = s.TxtCHL.text();
        rig.press(QStringLiteral("%"));
        EXPECT_EQ(s.TxtCHLK.text(), kCrLf.toString() + tape);
        EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader);
        EXPECT_TRUE(s.lit(Lamp::LblNL)); // the card payment leaves the cash lamp alone
        EXPECT_FALSE(s.lit(Lamp::LblVV));
        EXPECT_FALSE(s.lit(Lamp::LblPrint));
        EXPECT_EQ(s.receiptTotal, 0.0f);
        EXPECT_EQ(s.shiftTotal, 201.0f);
        EXPECT_TRUE(rig.printer.paperText().endsWith(kCardLine + QLatin1Char('\n')));

        rig.press(QStringLiteral("СБ 2 0 ВВ"));
        EXPECT_EQ(s.receiptTotal, 20.0f);
        rig.reg->VKL_Click();
        EXPECT_FALSE(rig.files.readText(kJournalFileName).contains(kCardLine));
    }
}

// A header that cannot be reloaded still leaves no closed receipt on the tape, so the receipt
// can never reach the journal twice.
TEST(PercentKey, MissingHeaderAtClosingJournalsTheReceiptOnce) {
    RegisterRig rig;
    PanelState& s = rig.s();
    arrange(s, Receipt::Totalled);
    const QString tape = s.TxtCHL.text();
    rig.files.remove(kHeaderFileName);
    rig.press(QStringLiteral("%"));
    EXPECT_EQ(rig.messages.texts(), QStringList{kCannotFindFile});
    EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader);
    rig.press(QStringLiteral("%"));
    EXPECT_EQ(s.TxtCHLK.text(), kOldJournal + kCrLf.toString() + tape);
    EXPECT_TRUE(s.lit(Lamp::LblVV));
}

} // namespace
