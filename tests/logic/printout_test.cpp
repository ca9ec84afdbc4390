// The receipt printout as the printer sees it: the calls, their order and their arguments.

#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

QStringList printoutOf(RegisterRig& rig, const QString& tape) {
    rig.s().TxtCHL.setText(tape);
    rig.printer.calls.clear();
    rig.reg->printReceiptTape();
    return rig.printer.calls;
}

// The RecordingPrinter's page is 10000 × 15000: steps of 100 across and 300 down.
TEST(Printout, SendsEachCharacterWithLineFeedsAsZoneMoves) {
    RegisterRig rig;
    const QStringList calls = printoutOf(rig, QStringLiteral("AБ\r\nC"));
    EXPECT_EQ(calls, (QStringList{
                         QStringLiteral("width"),
                         QStringLiteral("height"),
                         QStringLiteral("font 12"),
                         QStringLiteral("x 1200"),
                         QStringLiteral("y 0"),
                         QStringLiteral("stay A"),
                         QStringLiteral("stay Б"),
                         QStringLiteral("stay \r"),
                         QStringLiteral("zone    "),
                         QStringLiteral("stay C"),
                         QStringLiteral("finish"),
                     }));
    EXPECT_EQ(rig.s().printRow, 1);
    EXPECT_EQ(rig.s().printStepX, 100);
    EXPECT_EQ(rig.s().printStepY, 300);
}

TEST(Printout, EmptyTapeSetsUpAndFinishes) {
    RegisterRig rig;
    EXPECT_EQ(
        printoutOf(rig, QString()),
        (QStringList{QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("font 12"),
                     QStringLiteral("x 1200"), QStringLiteral("y 0"), QStringLiteral("finish")}));
}

// A lone CR or LF is sent as it stands; the printout never rewrites the tape.
TEST(Printout, LoneLineBreaksAreSentAsTheyAre) {
    RegisterRig rig;
    const QStringList calls = printoutOf(rig, QStringLiteral("a\rb\nc"));
    EXPECT_EQ(calls.mid(5, 5), (QStringList{QStringLiteral("stay a"), QStringLiteral("stay \r"),
                                            QStringLiteral("stay b"), QStringLiteral("zone    "),
                                            QStringLiteral("stay c")}));
}

// Each printout starts 2 % of the page lower than the one before; the 51st starts at the top
// again instead of below the page.
TEST(Printout, StacksFiftyPrintoutsThenStartsAtTheTopAgain) {
    RegisterRig rig;
    struct Expected {
        int printout; // counted from 1
        const char* y;
    };
    const Expected expected[] = {{1, "y 0"},  {2, "y 300"},  {10, "y 2700"},   {50, "y 14700"},
                                 {51, "y 0"}, {52, "y 300"}, {100, "y 14700"}, {101, "y 0"}};
    int done = 0;
    for (const Expected& e : expected) {
        QStringList calls;
        while (done < e.printout) {
            calls = printoutOf(rig, QStringLiteral("x"));
            ++done;
        }
        EXPECT_EQ(calls.value(4), QString::fromLatin1(e.y)) << e.printout;
        EXPECT_EQ(rig.s().printRow, e.printout);
    }
}

TEST(Printout, CountStopsAtItsLimit) {
    RegisterRig rig;
    rig.s().printRow = 32766;
    printoutOf(rig, QStringLiteral("x"));
    EXPECT_EQ(rig.s().printRow, 32767);
    const QStringList calls = printoutOf(rig, QStringLiteral("x"));
    EXPECT_EQ(rig.s().printRow, 32767);
    EXPECT_EQ(calls.value(4), QStringLiteral("y 5100")); // 32767 is the 17th of its fifty
}

// A failing printer: every call is still tried once, the count grows, nothing else happens.
TEST(Printout, FailingPrinterIsTriedAndSkipped) {
    RegisterRig rig;
    rig.printer.failing = true;
    const QStringList calls = printoutOf(rig, QStringLiteral("ab"));
    EXPECT_EQ(calls.size(), 8);
    for (const QString& call : calls)
        EXPECT_TRUE(call.startsWith(u"FAILED ")) << call.toStdString();
    EXPECT_EQ(rig.s().printRow, 1);
    EXPECT_EQ(rig.s().TxtCHL.text(), QStringLiteral("ab"));
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

// The printer can change its page between printouts: each printout measures it afresh.
TEST(Printout, MeasuresThePageEveryTime) {
    RegisterRig rig;
    printoutOf(rig, QStringLiteral("x"));
    rig.printer.width = 5000;
    rig.printer.height = 1000;
    const QStringList calls = printoutOf(rig, QStringLiteral("x"));
    EXPECT_EQ(calls.mid(3, 2), (QStringList{QStringLiteral("x 600"), QStringLiteral("y 20")}));
}

// A character outside the basic plane reaches the printer whole.
TEST(Printout, SendsSurrogatePairsWhole) {
    RegisterRig rig;
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QStringList calls = printoutOf(rig, pair + QLatin1Char('z'));
    EXPECT_EQ(calls.mid(5, 2),
              (QStringList{QStringLiteral("stay ") + pair, QStringLiteral("stay z")}));
}

// The close sequence makes its one call on the printer after the journal is saved.
TEST(Printout, CloseSequenceCallsThePrinterOnce) {
    RegisterRig rig;
    rig.press(QStringLiteral("1 ВВ = ВВ"));
    rig.printer.calls.clear();
    rig.reg->VKL_Click();
    EXPECT_EQ(rig.printer.calls, QStringList{QStringLiteral("close")});
}

} // namespace
