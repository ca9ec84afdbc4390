#include "support/fakes.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// (The indicator and lamps at start-up are in the calculator's table.)
TEST(StartUp, PanelAndClock) {
    RegisterRig rig;
    const PanelState& s = rig.s();
    EXPECT_EQ(s.TxtSEC.text(), QStringLiteral("01"));
    EXPECT_TRUE(s.TxtCHL.locked && s.front == TapeId::Receipt && s.commandVVVisible && !s.Shap1);
    rig.reg->tick();
    EXPECT_EQ(s.Picker, QStringLiteral("21:30:15"));
}

// The journal is on disk before the close's printer call, which may fail; goods unloaded if loaded.
TEST(StartUp, CloseSavesTheJournalBeforeThePrinterCallThatMayFail) {
    for (const bool printerFails : {false, true}) {
        RegisterRig rig;
        QString journalAtPrinter;
        rig.printer.onCall = [&] { journalAtPrinter = rig.files.readText(kJournalFileName); };
        rig.printer.failing = rig.goods.loaded = printerFails;
        rig.press("КЗ 1Д");
        rig.files.remove(kJournalFileName); // gone: only the close writes it back
        rig.reg->press(Key::Power);
        rig.reg->close(); // the window's close after the power key runs nothing twice
        EXPECT_EQ(journalAtPrinter, QStringLiteral("\r\n ИС  0 руб\r\n"));
        EXPECT_EQ(rig.printer.calls.size(), 1);
        EXPECT_EQ(rig.goods.calls, printerFails ? QStringList{"unload"} : QStringList());
        EXPECT_EQ(rig.programEnd.ended, 1);
    }
}

// However the background read stands when a receipt is closed, the receipt lands after the
// journal read, in the tape and in the file.
struct BackgroundRow : NamedRow {
    std::function<void(CashRegister&)> beforeTheReceipt;
};

class BackgroundRead : public testing::TestWithParam<BackgroundRow> {};

TEST_P(BackgroundRead, ComesBeforeAnyNewReceipt) {
    RegisterRig rig(QLatin1Char('.'), false);
    rig.files.writeText(kJournalFileName, QStringLiteral("старый\r\n"));
    rig.reg->start(/*journalInBackground=*/true);
    GetParam().beforeTheReceipt(*rig.reg);
    rig.reg->journal().append(u"\r\nновый");
    EXPECT_EQ(rig.s().TxtCHLK.text(), QStringLiteral("старый\r\n\r\nновый"));
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("старый\r\n\r\nновый\r\n"));
    EXPECT_TRUE(rig.reg->readJournalInBackground().isFinished()) << "nothing left to read";
}

const BackgroundRow kBackground[] = {
    {"NotYetBegun", [](CashRegister&) {}},
    {"WorkerStillReading", [](CashRegister& reg) { reg.readJournalInBackground(); }},
    {"ReadButNotTakenIn",
     [](CashRegister& reg) {
         reg.readJournalInBackground().waitForFinished();
         EXPECT_EQ(reg.state().TxtCHLK.text(), QString()) << "taken in by the worker";
     }},
};

INSTANTIATE_TEST_SUITE_P(Stages, BackgroundRead, testing::ValuesIn(kBackground), rowName);

} // namespace
