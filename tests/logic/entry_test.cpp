#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// A key sequence from a given indicator and entry flag (by default the start-up state,
// "0.00" with the flag clear), and what the indicator and the flag read afterwards.
struct EntryCase {
    const char* name;
    const char* keys;
    const char* indicator;
    int entryFlag;
    const char* startIndicator = "0.00";
    int startFlag = 0;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.keys;
}

class AmountEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(AmountEntry, KeysBuildTheIndicatorText) {
    const EntryCase& c = GetParam();
    RegisterRig rig;
    rig.s().TxtIND.setText(QString::fromUtf8(c.startIndicator));
    rig.s().entryFlag = std::int16_t(c.startFlag);
    rig.press(QString::fromUtf8(c.keys));
    EXPECT_EQ(rig.s().TxtIND.text(), QString::fromUtf8(c.indicator));
    EXPECT_EQ(rig.s().entryFlag, c.entryFlag);
}

const EntryCase kEntryCases[] = {
    // Right after start-up the indicator reads "0.00" with the flag clear.
    {"StartDigit", "7", "7", 1},
    {"StartZero", "0", "0", 1},
    {"StartPointChangesNothing", ".", "0.00", 0},
    {"StartDoubleZero", "00", "0", 1},
    {"LeadingZerosDropped", "0 0 5", "5", 1},
    {"DoubleZeroThenDigit", "00 5", "5", 1},
    {"SmallFraction", "0 . 0 5", "0.05", 1},
    {"SecondPointNeverAdded", "1 . 5 .", "1.5", 1},
    {"PointAfterFractionDigits", "1 . 5 . 2", "1.52", 1},
    {"DoubleZeroMultiplies", "1 2 00", "1200", 1},
    {"ZerosAfterPointKept", "1 . 0 0", "1.00", 1},
    {"TwentyDigitsAllStand", "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0", "12345678901234567890", 1},
    // After СБ the indicator reads "0" and the header reload has set the flag.
    {"Reset", "СБ", "0", 1},
    {"ResetDigitReplacesZero", "СБ 5", "5", 1},
    {"ResetZeroStaysSingle", "СБ 0 0", "0", 1},
    {"ResetPoint", "СБ .", "0.", 1},
    {"ResetPointDigit", "СБ . 5", "0.5", 1},
    {"ResetMidAmount", "1 2 СБ 3", "3", 1},
    // After an operator key the result is shown and the flag is clear.
    {"Result", "5 + 3 +", "8", 0},
    {"PointAppendsToResult", "5 + 3 + .", "8.", 0},
    {"DigitAfterPointedResultStartsAfresh", "5 + 3 + . 4", "4", 1},
    {"ZeroAfterResult", "5 + 3 + 0", "0", 1},
    {"FractionResultGetsNoSecondPoint", "1 . 5 + 1 + .", "2.5", 0},
    // After ВВ has registered a sale the indicator is empty and the flag clear.
    {"AfterSaleDigit", "5", "5", 1, "", 0},
    {"AfterSalePointIsLone", ".", ".", 0, "", 0},
    {"AfterSalePointThenDigit", ". 5", "5", 1, "", 0},
    {"AfterSaleZero", "0", "0", 1, "", 0},
    // A date or time on the indicator is text like any other.
    {"TimeExtendedWhileKeying", "5", "21:30:155", 1, "21:30:15", 1},
    {"TimeReplacedOnNewAmount", "5", "5", 1, "21:30:15", 0},
    {"TimeGetsAPoint", ".", "21:30:15.", 1, "21:30:15", 1},
};

INSTANTIATE_TEST_SUITE_P(Keys, AmountEntry, ::testing::ValuesIn(kEntryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AmountEntry, OnlyDigitTagsKeyAnything) {
    RegisterRig rig;
    for (const char* tag : {"", "A", ".", "-", ":"}) {
        rig.reg->DigitClick(QString::fromLatin1(tag));
        EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("0.00")) << tag;
        EXPECT_EQ(rig.s().entryFlag, 0) << tag;
    }
}

// A receipt in progress with every lamp and register variable away from its rest state.
void dirtyPanel(RegisterRig& rig, bool receiptOpen) {
    PanelState& s = rig.s();
    s.lamps.fill(true);
    if (!receiptOpen) s.putOut(Lamp::LblVV);
    s.TxtSEC.setText(QStringLiteral("05"));
    s.TxtCHL.append(u"\r\n01        150");
    s.TxtCHLK.append(u"\r\nжурнал");
    s.accumulator = 42;
    s.receiptTotal = 150;
    s.shiftTotal = 300;
    s.pendingOper = 3;
    s.entryFlag = 1;
}

TEST(Reset, CancelsAnOpenReceiptWithAllItsLamps) {
    RegisterRig rig;
    dirtyPanel(rig, true);
    rig.press(QStringLiteral("СБ"));
    const PanelState& s = rig.s();
    EXPECT_EQ(s.TxtIND.text(), QStringLiteral("0"));
    EXPECT_EQ(s.TxtSEC.text(), QStringLiteral("01"));
    EXPECT_EQ(s.accumulator, 0);
    EXPECT_EQ(s.receiptTotal, 0);
    EXPECT_EQ(s.pendingOper, 0);
    EXPECT_EQ(s.entryFlag, 1); // left set by the header reload
    EXPECT_EQ(s.shiftTotal, 300);
    EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader);
    EXPECT_EQ(s.TxtCHLK.text(), QStringLiteral("\r\nжурнал"));
    for (Lamp l :
         {Lamp::LblCB2, Lamp::LblVV, Lamp::LblPrint, Lamp::LblZ, Lamp::LblNL, Lamp::Lblmin})
        EXPECT_FALSE(s.lit(l)) << lampName(l);
    for (Lamp l :
         {Lamp::Lbd1, Lamp::Lbd2, Lamp::Lbd3, Lamp::Lbd4, Lamp::Lbd5, Lamp::Lbd6, Lamp::LblClish})
        EXPECT_TRUE(s.lit(l)) << lampName(l);
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

TEST(Reset, WithNoReceiptOpenLeavesTheReceiptLampsAlone) {
    RegisterRig rig;
    dirtyPanel(rig, false);
    rig.press(QStringLiteral("СБ"));
    const PanelState& s = rig.s();
    EXPECT_FALSE(s.lit(Lamp::LblVV));
    EXPECT_TRUE(s.lit(Lamp::LblPrint));
    EXPECT_TRUE(s.lit(Lamp::LblCB2));
    for (Lamp l : {Lamp::LblZ, Lamp::LblNL, Lamp::Lblmin})
        EXPECT_FALSE(s.lit(l)) << lampName(l);
    EXPECT_EQ(s.TxtCHL.text(), kDefaultHeader);
}

} // namespace
