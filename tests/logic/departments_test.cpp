#include "panel_snapshot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// --- Department selection ------------------------------------------------------------------

struct SelectCase {
    const char* before;
    const char* key;
    const char* after;
};

void PrintTo(const SelectCase& c, std::ostream* os) {
    *os << '"' << c.before << "\" " << c.key << " -> \"" << c.after << '"';
}

class DepartmentSelection : public testing::TestWithParam<SelectCase> {};

TEST_P(DepartmentSelection, KeyTogglesBetweenItsTwoDepartments) {
    const SelectCase& c = GetParam();
    RegisterRig rig;
    rig.s().TxtSEC.setText(QString::fromUtf8(c.before));
    rig.press(QString::fromUtf8(c.key));
    EXPECT_EQ(rig.s().TxtSEC.text(), QString::fromUtf8(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DepartmentSelection,
    testing::Values(
        SelectCase{"01", "1Д", "05"}, SelectCase{"05", "1Д", "01"}, SelectCase{"03", "1Д", "01"},
        SelectCase{"02", "2В", "06"}, SelectCase{"06", "2В", "02"}, SelectCase{"05", "2В", "02"},
        SelectCase{"03", "3Т", "07"}, SelectCase{"07", "3Т", "03"}, SelectCase{"08", "3Т", "03"},
        SelectCase{"04", "4С", "08"}, SelectCase{"08", "4С", "04"}, SelectCase{"01", "4С", "04"},
        // A return mark makes the text differ from the key's first department: the key
        // selects its first department and the mark is gone.
        SelectCase{"01  -", "1Д", "01"}, SelectCase{"05  -", "1Д", "01"},
        SelectCase{"02  -", "2В", "02"}, SelectCase{"04  -  -", "4С", "04"},
        // Whatever else stands there (typed by hand into the window) is simply replaced.
        SelectCase{"", "1Д", "01"}, SelectCase{"1", "2В", "02"}));

TEST(DepartmentSelection, ReturnKeyThenDepartmentKeyDropsTheMark) {
    RegisterRig rig;
    rig.press(QStringLiteral("ВТ"));
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("01  -"));
    rig.press(QStringLiteral("1Д"));
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("01"));
}

TEST(DepartmentSelection, AmountBeingKeyedCarriesOnAcrossTheKeys) {
    RegisterRig rig;
    rig.press(QStringLiteral("1 2 2В 5"));
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("125"));
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("02"));
    rig.press(QStringLiteral("1Д 3Т 4С 0"));
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("1250"));
}

// 4С and, outside КР and journal mode, 1Д, 2В and 3Т change the department and nothing else
// but the tape in front.
TEST(DepartmentSelection, OutsideTheModesOnlyTheDepartmentAndTheFrontTapeChange) {
    for (const char* key : {"1Д", "2В", "3Т", "4С"}) {
        RegisterRig rig;
        PanelState& s = rig.s();
        s.TxtIND.setText(QStringLiteral("42"));
        s.entryFlag = 1;
        s.light(Lamp::Lbd2);
        s.light(Lamp::Lbd4);
        PanelState expected = s;
        rig.press(QString::fromUtf8(key));
        expected.TxtSEC.setText(s.TxtSEC.text());
        EXPECT_EQ(panelSnapshot(s), panelSnapshot(expected)) << key;
        EXPECT_NE(s.TxtSEC.text(), QStringLiteral("01")) << key;
        EXPECT_TRUE(rig.messages.shown.isEmpty()) << key;
        EXPECT_FALSE(s.TxtCHLK.caretToEnd) << key;
    }
}

// --- Shift reports in journal mode ---------------------------------------------------------

struct ReportCase {
    char separator;
    float shiftTotal;
    const char* key;
    const char* line; // what the journal gains, byte for byte
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.key << " '" << c.separator << "' " << c.shiftTotal;
}

class ShiftReport : public testing::TestWithParam<ReportCase> {};

TEST_P(ShiftReport, AppendsTheLineAndShowsTheJournalAtItsEnd) {
    const ReportCase& c = GetParam();
    RegisterRig rig{QLatin1Char(c.separator)};
    PanelState& s = rig.s();
    s.TxtCHLK.setText(QStringLiteral("\r\nстарый чек"));
    s.shiftTotal = c.shiftTotal;
    s.TxtIND.setText(QStringLiteral("3"));
    s.entryFlag = 1;
    rig.press(QStringLiteral("КЗ"));
    s.TxtCHLK.takeChange(); // the view has drawn the journal
    const bool secondKey = QString::fromUtf8(c.key) == QStringLiteral("2В");
    PanelState expected = s;

    rig.press(QString::fromUtf8(c.key));

    const QString line = QString::fromUtf8(c.line);
    expected.TxtCHLK.append(line);
    expected.TxtSEC.setText(secondKey ? QStringLiteral("02") : QStringLiteral("05"));
    expected.front = TapeId::Journal;
    if (secondKey) expected.light(Lamp::LblZ);
    EXPECT_EQ(panelSnapshot(s), panelSnapshot(expected));
    EXPECT_TRUE(s.TxtCHLK.caretToEnd);
    // Drawn as an append: a long journal is never laid out anew for one report line.
    const TextField::Change change = s.TxtCHLK.takeChange();
    EXPECT_FALSE(change.replaced);
    EXPECT_EQ(change.from, QStringLiteral("\r\nстарый чек").size());
}

// 1Д: CR LF, " ИС  ", the amount, " руб"; 2В the same without the first space.
INSTANTIATE_TEST_SUITE_P(Lines, ShiftReport,
                         testing::Values(ReportCase{'.', 0, "1Д", "\r\n ИС  0 руб"},
                                         ReportCase{',', 0, "1Д", "\r\n ИС  0 руб"},
                                         ReportCase{'.', 0, "2В", "\r\nИС  0 руб"},
                                         ReportCase{',', 0, "2В", "\r\nИС  0 руб"},
                                         ReportCase{'.', 1250.5f, "1Д", "\r\n ИС  1250.5 руб"},
                                         ReportCase{',', 1250.5f, "1Д", "\r\n ИС  1250,5 руб"},
                                         ReportCase{'.', 1250.5f, "2В", "\r\nИС  1250.5 руб"},
                                         ReportCase{',', 1250.5f, "2В", "\r\nИС  1250,5 руб"},
                                         ReportCase{'.', 33.3f, "1Д", "\r\n ИС  33.3 руб"},
                                         ReportCase{',', 0.25f, "2В", "\r\nИС  0,25 руб"},
                                         ReportCase{'.', 12500000.0f, "1Д",
                                                    "\r\n ИС  1.25E+07 руб"},
                                         ReportCase{'.', -40.0f, "2В", "\r\nИС  -40 руб"}));

TEST(ShiftReport, LineFor1250Point5Has15CharactersAfterTheLineBreak) {
    for (const char* key : {"1Д", "2В"}) {
        RegisterRig rig;
        rig.s().shiftTotal = 1250.5f;
        rig.press(QStringLiteral("КЗ"));
        const qsizetype before = rig.s().TxtCHLK.text().size();
        rig.press(QString::fromUtf8(key));
        const QString piece = rig.s().TxtCHLK.text().mid(before);
        ASSERT_TRUE(piece.startsWith(kCrLf)) << key;
        EXPECT_EQ(piece.size() - 2, QString::fromUtf8(key) == QStringLiteral("1Д") ? 15 : 14);
        EXPECT_TRUE(rig.s().TxtCHLK.text().endsWith(QStringLiteral(" руб")));
    }
}

TEST(ShiftReport, EveryPressWritesOneMoreLine) {
    RegisterRig rig;
    rig.s().shiftTotal = 201;
    rig.press(QStringLiteral("КЗ 1Д 1Д 2В"));
    EXPECT_EQ(rig.s().TxtCHLK.text(),
              QStringLiteral("\r\n ИС  201 руб\r\n ИС  201 руб\r\nИС  201 руб"));
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("02"));
}

TEST(ShiftReport, OutsideJournalModeTheReceiptTapeComesForwardAndNothingIsWritten) {
    for (const char* key : {"1Д", "2В"}) {
        RegisterRig rig;
        rig.s().front = TapeId::Journal;
        rig.s().TxtCHLK.setText(QStringLiteral("\r\nчек"));
        rig.press(QString::fromUtf8(key));
        EXPECT_EQ(rig.s().front, TapeId::Receipt) << key;
        EXPECT_EQ(rig.s().TxtCHLK.text(), QStringLiteral("\r\nчек")) << key;
        EXPECT_FALSE(rig.s().lit(Lamp::LblZ)) << key;
    }
}

TEST(ShiftReport, LeavingJournalModePutsTheReceiptTapeBackInFront) {
    RegisterRig rig;
    rig.press(QStringLiteral("КЗ 2В"));
    EXPECT_EQ(rig.s().front, TapeId::Journal);
    rig.press(QStringLiteral("КЗ"));
    EXPECT_EQ(rig.s().front, TapeId::Receipt);
    EXPECT_TRUE(rig.s().lit(Lamp::LblZ)); // only the reset puts it out
}

// --- Date and time in КР mode --------------------------------------------------------------

struct ClockCase {
    const char* key;
    const char* shown;
};

class ClockOnIndicator : public testing::TestWithParam<ClockCase> {};

TEST_P(ClockOnIndicator, ShowsTheClockWithoutTouchingTheEntryFlag) {
    for (const std::int16_t flag : {std::int16_t(0), std::int16_t(1), std::int16_t(3)}) {
        RegisterRig rig;
        rig.press(QStringLiteral("КР"));
        rig.s().TxtIND.setText(QStringLiteral("12"));
        rig.s().entryFlag = flag;
        rig.press(QString::fromUtf8(GetParam().key));
        EXPECT_EQ(rig.s().TxtIND.text(), QString::fromUtf8(GetParam().shown));
        EXPECT_EQ(rig.s().entryFlag, flag);
        EXPECT_EQ(rig.s().TxtCHLK.text(), QString()); // no report outside journal mode
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, ClockOnIndicator,
                         testing::Values(ClockCase{"1Д", "05.12.2026"},
                                         ClockCase{"2В", "21:30:15"}));

TEST(ClockOnIndicator, NextDigitFollowsTheEntryFlag) {
    RegisterRig rig;
    rig.press(QStringLiteral("КР 4 1Д 3"));
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("05.12.20263")); // an amount was being keyed
    rig.press(QStringLiteral("+ 2В 7"));
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("7")); // after an operator: replaced
}

TEST(ClockOnIndicator, JournalModeAndKrModeTogetherDoBoth) {
    RegisterRig rig;
    rig.s().shiftTotal = 10;
    rig.press(QStringLiteral("КЗ КР 1Д"));
    EXPECT_EQ(rig.s().TxtCHLK.text(), QStringLiteral("\r\n ИС  10 руб"));
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("05.12.2026"));
    rig.press(QStringLiteral("2В"));
    EXPECT_EQ(rig.s().TxtCHLK.text(), QStringLiteral("\r\n ИС  10 руб\r\nИС  10 руб"));
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("21:30:15"));
    EXPECT_TRUE(rig.s().lit(Lamp::LblZ));
    EXPECT_EQ(rig.s().front, TapeId::Journal);
}

// --- 3Т and the receipt header -------------------------------------------------------------

TEST(HeaderEditingKey, OutsideKrModeOnlyTheDepartmentChanges) {
    RegisterRig rig;
    rig.press(QStringLiteral("3Т 3Т"));
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("07"));
    EXPECT_FALSE(rig.s().lit(Lamp::LblClish));
    EXPECT_TRUE(rig.s().TxtCHL.locked);
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

TEST(HeaderEditingKey, InKrModeOpensTheTapeAndAsksForTheNewHeaderEachPress) {
    RegisterRig rig;
    rig.press(QStringLiteral("КР 3Т"));
    EXPECT_TRUE(rig.s().lit(Lamp::LblClish));
    EXPECT_FALSE(rig.s().TxtCHL.locked);
    ASSERT_EQ(rig.messages.shown.size(), 1);
    EXPECT_EQ(rig.messages.shown[0].text, QStringLiteral("Впишите новое клише"));
    EXPECT_EQ(rig.messages.shown[0].caption, kProgramTitle);
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("03"));
    rig.press(QStringLiteral("3Т"));
    EXPECT_EQ(rig.messages.shown.size(), 2);
    EXPECT_EQ(rig.s().TxtSEC.text(), QStringLiteral("07"));
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
}

} // namespace
