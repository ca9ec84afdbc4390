#include "panel_snapshot.h"
#include "storage/codepage.h"
#include "support/fakes.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// A mode key pressed twice from the start-up state: what the first press changes (mode on) and
// what the second changes (mode off). Everything not named must stay exactly as it was.
struct ToggleCase {
    const char* name;
    const char* key;
    std::function<void(PanelState&)> switchOn;
    std::function<void(PanelState&)> switchOff;
};

void PrintTo(const ToggleCase& c, std::ostream* os) {
    *os << c.key;
}

class ModeToggle : public testing::TestWithParam<ToggleCase> {};

TEST_P(ModeToggle, EachPressFlipsTheModeAndChangesOnlyWhatBelongsToIt) {
    const ToggleCase& c = GetParam();
    RegisterRig rig;
    PanelState& s = rig.s();
    // A busy panel, so that a key touching something it must not shows up.
    s.TxtIND.setText(QStringLiteral("150"));
    s.entryFlag = 1;
    s.light(Lamp::LblVV);
    s.front = TapeId::Journal;
    s.Picker = QStringLiteral("21:30:15");
    s.TxtCHLK.setText(QStringLiteral("\r\nстарый чек"));

    for (const bool on : {true, false}) {
        PanelState expected = s;
        (on ? c.switchOn : c.switchOff)(expected);
        rig.press(QString::fromUtf8(c.key));
        EXPECT_EQ(panelSnapshot(s), panelSnapshot(expected)) << (on ? "on" : "off");
    }
    EXPECT_TRUE(rig.messages.shown.isEmpty());
    EXPECT_TRUE(rig.printer.calls.isEmpty());
}

const ToggleCase kToggles[] = {
    ToggleCase{"KN", "КН", [](PanelState& e) { e.light(Lamp::Lbd2); },
               [](PanelState& e) { e.putOut(Lamp::Lbd2); }},
    ToggleCase{"KCH", "КЧ",
               [](PanelState& e) {
                   e.light(Lamp::Lbd5);
                   e.pickerBold = true;
               },
               [](PanelState& e) {
                   e.putOut(Lamp::Lbd5);
                   e.pickerBold = false;
               }},
    // On: ВВ leaves the panel and the receipt-open lamp goes out. Off: the indicator is
    // blanked, not reset to "0.00".
    ToggleCase{"KL", "КЛ",
               [](PanelState& e) {
                   e.light(Lamp::Lbd4);
                   e.commandVVVisible = false;
                   e.putOut(Lamp::LblVV);
               },
               [](PanelState& e) {
                   e.putOut(Lamp::Lbd4);
                   e.commandVVVisible = true;
                   e.TxtIND.setText(QString());
               }},
    // On: the journal stays in front. Off: the receipt tape comes to the front.
    ToggleCase{"KZ", "КЗ", [](PanelState& e) { e.light(Lamp::Lbd6); },
               [](PanelState& e) {
                   e.putOut(Lamp::Lbd6);
                   e.front = TapeId::Receipt;
               }},
    // With the tape locked, КР only switches its mode; leaving it resets the indicator.
    ToggleCase{"KR", "КР", [](PanelState& e) { e.light(Lamp::Lbd3); },
               [](PanelState& e) {
                   e.putOut(Lamp::Lbd3);
                   e.TxtIND.setText(QStringLiteral("0.00"));
               }},
    ToggleCase{"CHL", "CHL", [](PanelState& e) { e.Shap1 = true; },
               [](PanelState& e) { e.Shap1 = false; }},
};

INSTANTIATE_TEST_SUITE_P(Keys, ModeToggle, testing::ValuesIn(kToggles),
                         [](const testing::TestParamInfo<ToggleCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(ModeKeys, ModesAreIndependentOfEachOther) {
    RegisterRig rig;
    rig.press(QStringLiteral("КН КР КЛ КЧ КЗ CHL"));
    for (Lamp l : {Lamp::Lbd2, Lamp::Lbd3, Lamp::Lbd4, Lamp::Lbd5, Lamp::Lbd6})
        EXPECT_TRUE(rig.s().lit(l)) << lampName(l);
    rig.press(QStringLiteral("КЗ КН"));
    EXPECT_FALSE(rig.s().lit(Lamp::Lbd6));
    EXPECT_FALSE(rig.s().lit(Lamp::Lbd2));
    for (Lamp l : {Lamp::Lbd3, Lamp::Lbd4, Lamp::Lbd5})
        EXPECT_TRUE(rig.s().lit(l)) << lampName(l);
    EXPECT_TRUE(rig.s().Shap1);
    EXPECT_FALSE(rig.s().lit(Lamp::Lbd1));
}

TEST(ModeKeys, KlTwiceLeavesTheIndicatorEmptyAndTheReceiptLampDark) {
    RegisterRig rig;
    rig.s().light(Lamp::LblVV);
    rig.press(QStringLiteral("КЛ КЛ"));
    EXPECT_EQ(rig.s().TxtIND.text(), QString());
    EXPECT_FALSE(rig.s().lit(Lamp::LblVV));
    EXPECT_TRUE(rig.s().commandVVVisible);
}

TEST(ModeKeys, ClockCaptionStaysBoldFromItsFirstTick) {
    RegisterRig rig;
    rig.press(QStringLiteral("КЧ"));
    rig.reg->Timer1_Timer();
    EXPECT_EQ(rig.s().Picker, QStringLiteral("21:30:15"));
    EXPECT_TRUE(rig.s().pickerBold);
}

TEST(ModeKeys, KeyboardDigitsReachTheIndicatorOnlyWhileChlIsOn) {
    RegisterRig rig;
    EXPECT_EQ(rig.reg->TxtIND_KeyPress('7'), 0);
    rig.press(QStringLiteral("CHL"));
    EXPECT_EQ(rig.reg->TxtIND_KeyPress('7'), '7');
    EXPECT_EQ(rig.reg->TxtIND_KeyPress(':'), ':');
    rig.press(QStringLiteral("CHL"));
    EXPECT_EQ(rig.reg->TxtIND_KeyPress('7'), 0);
}

// --- КР and the receipt header -------------------------------------------------------------

QByteArray cp1251(const QString& text) {
    return encodeWindows1251(text).bytes;
}

TEST(KrHeader, LockedTapeWritesNoFile) {
    RegisterRig rig;
    rig.files.remove(kHeaderFileName);
    rig.press(QStringLiteral("КР КР КР КР"));
    EXPECT_FALSE(QFileInfo::exists(rig.files.path(kHeaderFileName)));
    EXPECT_TRUE(rig.s().TxtCHL.locked);
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

// The tape open for editing, whichever way the press turns КР mode: the header is saved in the
// same press, the tape locked again and LblClish put out.
struct SaveCase {
    bool krModeBefore;
    const char* tape;
    const char* file;
};

class KrSavesOpenHeader : public testing::TestWithParam<SaveCase> {};

TEST_P(KrSavesOpenHeader, WritesTheTapeWithOneMoreLineBreak) {
    const SaveCase& c = GetParam();
    RegisterRig rig;
    PanelState& s = rig.s();
    if (c.krModeBefore) s.light(Lamp::Lbd3);
    s.light(Lamp::LblClish);
    s.TxtCHL.locked = false;
    s.TxtCHL.adoptViewText(QString::fromUtf8(c.tape));
    s.TxtIND.setText(QStringLiteral("7"));

    rig.press(QStringLiteral("КР"));

    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), cp1251(QString::fromUtf8(c.file)));
    EXPECT_TRUE(s.TxtCHL.locked);
    EXPECT_FALSE(s.lit(Lamp::LblClish));
    EXPECT_EQ(s.lit(Lamp::Lbd3), !c.krModeBefore);
    EXPECT_EQ(s.TxtIND.text(), c.krModeBefore ? QStringLiteral("0.00") : QStringLiteral("7"));
    EXPECT_EQ(s.TxtCHL.text(), QString::fromUtf8(c.tape)); // the tape keeps what was typed
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KrSavesOpenHeader,
    testing::Values(SaveCase{true, "  МАГАЗИН\r\nИНН 1\r\n", "  МАГАЗИН\r\nИНН 1\r\n\r\n"},
                    SaveCase{true, "  МАГАЗИН\r\nИНН 1", "  МАГАЗИН\r\nИНН 1\r\n"},
                    SaveCase{true, "", "\r\n"}, SaveCase{false, "ЧЕК\r\n", "ЧЕК\r\n\r\n"}));

TEST(KrHeader, FailedSaveKeepsEditingOpenWithTheTextIntact) {
    RegisterRig rig;
    PanelState& s = rig.s();
    const QByteArray before = rig.files.readBytes(kHeaderFileName);
    const QString typed = QStringLiteral("ООО \u4E2D\r\n"); // a character windows-1251 lacks
    s.light(Lamp::Lbd3);
    s.light(Lamp::LblClish);
    s.TxtCHL.locked = false;
    s.TxtCHL.adoptViewText(typed);

    rig.press(QStringLiteral("КР"));

    ASSERT_EQ(rig.messages.shown.size(), 1);
    EXPECT_FALSE(rig.messages.shown[0].text.isEmpty());
    EXPECT_FALSE(s.TxtCHL.locked);
    EXPECT_TRUE(s.lit(Lamp::LblClish));
    EXPECT_EQ(s.TxtCHL.text(), typed);
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), before);

    // The trainee mends the text and presses КР again: this time the header is saved.
    s.TxtCHL.adoptViewText(QStringLiteral("ООО\r\n"));
    rig.press(QStringLiteral("КР"));
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), cp1251(QStringLiteral("ООО\r\n\r\n")));
    EXPECT_TRUE(s.TxtCHL.locked);
    EXPECT_FALSE(s.lit(Lamp::LblClish));
}

TEST(KrHeader, UnwritableFileKeepsEditingOpenUntilARetrySucceeds) {
    RegisterRig rig;
    PanelState& s = rig.s();
    rig.files.remove(kHeaderFileName);
    ASSERT_TRUE(QDir(rig.files.path(QString())).mkdir(kHeaderFileName)); // not a file
    s.light(Lamp::Lbd3);
    s.light(Lamp::LblClish);
    s.TxtCHL.locked = false;
    s.TxtCHL.adoptViewText(QStringLiteral("НОВОЕ КЛИШЕ\r\n"));

    rig.press(QStringLiteral("КР"));
    EXPECT_EQ(rig.messages.shown.size(), 1);
    EXPECT_FALSE(s.TxtCHL.locked);
    EXPECT_TRUE(s.lit(Lamp::LblClish));
    EXPECT_EQ(s.TxtCHL.text(), QStringLiteral("НОВОЕ КЛИШЕ\r\n"));
    EXPECT_EQ(rig.programEnd.ended, 0);

    ASSERT_TRUE(QDir(rig.files.path(QString())).rmdir(kHeaderFileName));
    rig.press(QStringLiteral("КР"));
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), cp1251(QStringLiteral("НОВОЕ КЛИШЕ\r\n\r\n")));
    EXPECT_TRUE(s.TxtCHL.locked);
}

// The whole editing round: КР, 3Т opens the tape, the trainee types a new header, КР saves it
// and the next reset shows it with the empty line the save added.
TEST(KrHeader, EditSaveAndReloadRoundTrip) {
    RegisterRig rig;
    PanelState& s = rig.s();
    rig.press(QStringLiteral("КР 3Т"));
    EXPECT_EQ(rig.messages.texts(), QStringList{QStringLiteral("Впишите новое клише")});
    ASSERT_FALSE(s.TxtCHL.locked);
    EXPECT_TRUE(s.lit(Lamp::LblClish));

    s.TxtCHL.adoptViewText(QStringLiteral(" ООО РОМАШКА\r\n ИНН 500100\r\n"));
    rig.press(QStringLiteral("КР"));
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName),
              cp1251(QStringLiteral(" ООО РОМАШКА\r\n ИНН 500100\r\n\r\n")));
    EXPECT_FALSE(s.lit(Lamp::Lbd3));
    EXPECT_FALSE(s.lit(Lamp::LblClish));
    EXPECT_TRUE(s.TxtCHL.locked);

    rig.press(QStringLiteral("СБ"));
    EXPECT_EQ(s.TxtCHL.text(), QStringLiteral(" ООО РОМАШКА\r\n ИНН 500100\r\n\r\n"));
    EXPECT_EQ(rig.messages.shown.size(), 1);
}

} // namespace
