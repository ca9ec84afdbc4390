// The receipt printout and the card-payment key %, as the printer sees them.

#include "panel_snapshot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// The recording printer's page is 10000 × 15000: steps of 100 across and 300 down.
const QStringList kStart = {"width", "height", "font 12", "x 1200", "y 0"};

// A line feed is three spaces and a zone move, a CR ends the printed line, a character outside
// the basic plane goes whole; % adds the card line at the same margin before the finish.
TEST(Printout, SendsTheTapeCharacterByCharacter) {
    RegisterRig rig;
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    rig.s().TxtCHL.setText("A" + pair + "\r\nБ\rC\n");
    const QStringList tape = {"stay A", "stay " + pair, "stay \r", "zone    ",
                              "stay Б", "stay \r",      "stay C",  "zone    "};
    rig.reg->printReceiptTape();
    EXPECT_EQ(rig.printer.calls, kStart + tape + QStringList("finish"));

    rig.printer.calls.clear();
    rig.s().light(Lamp::LblPrint);
    rig.press("%");
    const QStringList card = {"endline \r\n", "x 1200", "endline  ОПЛАТА КАРТОЙ", "finish"};
    EXPECT_EQ(rig.printer.calls.mid(5), tape + card);
}

// Each printout, by ВВ or by %, starts 2 % of the page lower than the one before; the 51st
// starts at the top again instead of below the page, and the count stops at its limit. Cases:
// the printout count before, the printout's top, the count after.
TEST(Printout, StacksPrintoutsDownThePage) {
    const std::tuple<std::int16_t, const char*, std::int16_t> cases[] = {
        {0, "y 0", 1},   {9, "y 2700", 10},        {49, "y 14700", 50},
        {50, "y 0", 51}, {32766, "y 4800", 32767}, {32767, "y 5100", 32767}};
    for (const bool card : {false, true})
        for (const auto& [row, y, after] : cases) {
            RegisterRig rig;
            rig.s().printRow = row;
            rig.s().light(Lamp::LblPrint);
            card ? rig.press("%") : rig.reg->printReceiptTape();
            EXPECT_EQ(rig.printer.calls.value(4), y) << row << card;
            EXPECT_EQ(rig.s().printRow, after) << row << card;
        }
}

// Only a totalled receipt is paid by card (printed, journaled, the header back, total and lamps
// cleared), in any mode, printer or none; otherwise % only lights LblVV. The card line is on
// the paper only.
TEST(PercentKey, ClosesATotalledReceiptAndOnlyLightsTheLampOtherwise) {
    const std::pair<const char*, const char*> cases[] = {
        {"", nullptr},          {"1 ВВ", nullptr},     {"1 ВВ =", ""},
        {"1 ВВ = НЛ", "LblNL"}, {"1 ВВ = КЛ", "Lbd4"}, {"1 ВВ = КР 3Т", "Lbd3 LblClish"}};
    for (const bool printerFails : {false, true})
        for (const auto& [keys, litAfterClosing] : cases) {
            SCOPED_TRACE(std::string(keys) + (printerFails ? " without a printer" : ""));
            RegisterRig rig;
            rig.press(keys);
            rig.messages.clear();
            rig.printer.failing = printerFails;
            const QStringList before = panelSnapshot(rig.s());
            const QString closing = "TxtCHL=" + kDefaultHeader + "|TxtCHLK=\r\n" +
                                    rig.s().TxtCHL.text() + "|lit=" + litAfterClosing +
                                    "|receiptTotal=0|entryFlag=1|printRow=1";
            rig.press("%");
            EXPECT_EQ(panelSnapshot(rig.s()),
                      changed(before, litAfterClosing ? closing : "lit=LblVV"));
            EXPECT_EQ(rig.printer.paperText().count(u" ОПЛАТА КАРТОЙ\n"),
                      litAfterClosing && !printerFails ? 1 : 0);
            EXPECT_EQ(rig.printer.calls.isEmpty(), !litAfterClosing);
            EXPECT_TRUE(rig.messages.shown.isEmpty());
        }
}

} // namespace
