// The receipt printout and the card-payment key %, as the paper shows them.

#include "panel_snapshot.h"
#include "register/printout.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QString kIndent = QString(12, u' '); // the receipt's left margin: 12 % of the page
const QString kZone = QString(14, u' ');   // a line's text after the LF of its CR LF

// The first row of a page with ink on it.
qsizetype firstPrintedRow(const QStringList& page) {
    for (qsizetype row = 0; row < page.size(); ++row)
        if (!page[row].trimmed().isEmpty()) return row;
    return -1;
}

// From the margin; CR returns to the left edge, LF of CR LF prints "   " and moves a print zone.
TEST(Printout, PutsTheTapeOnThePaperLineByLine) {
    RecordingPrinter printer;
    PrintPosition position;
    printTape(printer, position, "ЧЕК\r\n\r\nA😀\rБ\nC");
    EXPECT_EQ(printer.pages(), QList<QStringList>({{kIndent + "ЧЕК", "   ", kZone + "A😀",
                                                    "Б" + QString(13, u' ') + "C"}}));
}

// % prints the tape, then the card line on a line of its own at the receipt's margin.
TEST(Printout, CardPaymentLineStandsUnderTheTape) {
    RegisterRig rig;
    rig.press("% = %");
    ASSERT_EQ(rig.printer.pages().size(), 1);
    EXPECT_EQ(rig.printer.pages()[0].last(3),
              QStringList({kZone + "******************", "", kIndent + " ОПЛАТА КАРТОЙ"}));
}

// Each printout starts a row lower; the 51st at the top again; past the count's limit, fixed.
TEST(Printout, EachPrintoutStartsOneRowLower) {
    const struct {
        const char* name;
        int printedBefore, firstRow;
    } rows[] = {{"first", 0, 0},
                {"fiftieth", 49, 49},
                {"fifty-first", 50, 0},
                {"last counted", 32766, 16},
                {"beyond the count", 32767, 17},
                {"and after", 32768, 17}};
    RecordingPrinter printer;
    PrintPosition position;
    int printed = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (; printed < row.printedBefore; ++printed) {
            printTape(printer, position, "X");
            printer.calls.clear();
        }
        printTape(printer, position, "X");
        ++printed;
        ASSERT_EQ(printer.pages().size(), 1);
        EXPECT_EQ(firstPrintedRow(printer.pages()[0]), row.firstRow);
        EXPECT_EQ(position.row, std::min(printed, 32767));
        printer.calls.clear();
    }
}

// Only a totalled receipt is paid by card, in any mode, printer or none; else % lights LblVV.
struct PercentRow : NamedRow {
    const char* keys;
    const char* litAfterClosing; // null: the receipt is not totalled, nothing is closed
};

class PercentKey : public testing::TestWithParam<std::tuple<PercentRow, bool>> {};

TEST_P(PercentKey, ClosesATotalledReceiptAndOnlyLightsTheLampOtherwise) {
    const auto& [c, printerFails] = GetParam();
    RegisterRig rig;
    rig.press(c.keys);
    rig.messages.clear();
    rig.printer.failing = printerFails;
    const QStringList before = panelSnapshot(rig.s());
    const QString closing = "TxtCHL=" + kDefaultHeader + "|TxtCHLK=\r\n" + rig.s().TxtCHL.text() +
                            "|lit=" + c.litAfterClosing + "|receiptTotal=0|entryFlag=1|printRow=1";
    rig.press("%");
    EXPECT_EQ(panelSnapshot(rig.s()), changed(before, c.litAfterClosing ? closing : "lit=LblVV"));
    EXPECT_EQ(rig.printer.paperText().count(u" ОПЛАТА КАРТОЙ\n"),
              c.litAfterClosing && !printerFails ? 1 : 0);
    EXPECT_EQ(rig.printer.calls.isEmpty(), !c.litAfterClosing);
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

const PercentRow kPercentRows[] = {
    {"NothingKeyed", "", nullptr},     {"SaleOpen", "1 ВВ", nullptr},
    {"Totalled", "1 ВВ =", ""},        {"CashTendered", "1 ВВ = НЛ", "LblNL"},
    {"VVHidden", "1 ВВ = КЛ", "Lbd4"}, {"HeaderOpen", "1 ВВ = КР 3Т", "Lbd3 LblClish"}};

INSTANTIATE_TEST_SUITE_P(Receipts, PercentKey,
                         testing::Combine(testing::ValuesIn(kPercentRows), testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "WithoutPrinter" : "");
                         });

} // namespace
