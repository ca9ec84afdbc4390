#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

TEST(StartUp, PanelStartsIdleWithHeaderAndJournal) {
    RegisterRig rig;
    const PanelState& s = rig.s();
    EXPECT_EQ(s.TxtIND.text(), QStringLiteral("0.00"));
    EXPECT_EQ(s.TxtSEC.text(), QStringLiteral("01"));
    EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader);
    EXPECT_TRUE(s.TxtCHL.locked);
    EXPECT_EQ(s.front, TapeId::Receipt);
    EXPECT_TRUE(s.Picker.isEmpty());
    for (bool lamp : s.lamps) EXPECT_FALSE(lamp);
    EXPECT_FALSE(s.Shap1);
    EXPECT_TRUE(s.commandVVVisible);
    EXPECT_EQ(s.entryFlag, 0);
    EXPECT_EQ(s.pendingOper, 0);
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

TEST(StartUp, ClockTickShowsTheTime) {
    RegisterRig rig;
    rig.reg->Timer1_Timer();
    EXPECT_EQ(rig.s().Picker, QStringLiteral("21:30:15"));
}

TEST(KeyboardFilter, OnlyDigitsAndColonPassWhileTheMarkerIsShown) {
    RegisterRig rig;
    const int codes[] = {'0', '7', '9', ':', '.', ',', 'a', 8, 13, ';', '/', 0x439};
    for (int c : codes) EXPECT_EQ(rig.reg->TxtIND_KeyPress(c), 0) << c;
    rig.s().Shap1 = true;
    rig.s().entryFlag = 0;
    for (int c : codes) {
        const bool passes = c >= '0' && c <= ':';
        EXPECT_EQ(rig.reg->TxtIND_KeyPress(c), passes ? c : 0) << c;
    }
    EXPECT_EQ(rig.s().entryFlag, 0);
}

TEST(Close, JournalIsSavedBeforeThePrinterAndTheProgramEnds) {
    for (const bool printerFails : {false, true}) {
        RegisterRig rig;
        rig.printer.failing = printerFails;
        rig.goods.loaded = true;
        rig.s().TxtCHLK.append(u"\r\nчек");
        rig.reg->VKL_Click();
        EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("\r\nчек\r\n"));
        EXPECT_EQ(rig.printer.calls.size(), 1);
        EXPECT_EQ(rig.goods.calls, QStringList{QStringLiteral("unload")});
        EXPECT_EQ(rig.programEnd.ended, 1);
        rig.reg->Form_Unload(); // the window's close after the power key runs nothing twice
        EXPECT_EQ(rig.programEnd.ended, 1);
    }
}

TEST(Close, NeverLoadedDirectoryIsNotUnloaded) {
    RegisterRig rig;
    rig.reg->Form_Unload();
    EXPECT_TRUE(rig.goods.calls.isEmpty());
}

TEST(Close, MissingHeaderAtStartDoesNotCostTheJournal) {
    RegisterRig rig(QLatin1Char('.'), false);
    rig.files.writeText(kJournalFileName, QStringLiteral("старый чек\r\n"));
    rig.files.remove(kHeaderFileName);
    rig.restart();
    EXPECT_EQ(rig.messages.texts(), QStringList{kCannotFindFile});
    rig.reg->Form_Unload();
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("старый чек\r\n\r\n"));
}

} // namespace
