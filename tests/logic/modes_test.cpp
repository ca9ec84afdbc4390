// The mode keys, and the department keys with their journal reports and the clock in КР mode.
// (КР saving the header is in header_test.)

#include "panel_snapshot.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// Each mode key pressed on, then off, over a busy panel: what each press changes, and nothing
// else (КЛ blanks the indicator, not "0.00").
TEST(ModeKeys, EachPressFlipsItsModeAndChangesOnlyWhatBelongsToIt) {
    const char* cases[][3] = {{"КН", "lit=Lbd2 LblVV", "lit=LblVV"},
                              {"КЧ", "lit=Lbd5 LblVV|bold=yes", "lit=LblVV|bold=no"},
                              {"КЛ", "lit=Lbd4|VV=no", "lit=|VV=yes|TxtIND="},
                              {"КЗ", "lit=Lbd6 LblVV", "lit=LblVV|front=TxtCHL"},
                              {"КР", "lit=Lbd3 LblVV", "lit=LblVV|TxtIND=0.00"},
                              {"CHL", "Shap1=yes", "Shap1=no"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        RegisterRig rig;
        rig.press("1 5 0");
        rig.s().light(Lamp::LblVV);
        rig.s().front = TapeId::Journal;
        const QStringList before = panelSnapshot(rig.s());
        rig.press(c[0]);
        const QStringList on = panelSnapshot(rig.s());
        EXPECT_EQ(on, changed(before, c[1]));
        rig.press(c[0]);
        EXPECT_EQ(panelSnapshot(rig.s()), changed(on, c[2]));
        EXPECT_TRUE(rig.messages.shown.isEmpty());
    }
}

// A key selects its first department, or its second when its first is selected; a return mark
// makes the text differ and is dropped. Outside КР and journal mode 1Д and 2В bring the receipt
// tape forward, 3Т and 4С change nothing else, and the amount being keyed carries on.
TEST(DepartmentKeys, ToggleBetweenTheirTwoDepartments) {
    const char* cases[][3] = {{"01", "1Д", "05"},      {"05", "1Д", "01"}, {"05", "2В", "02"},
                              {"02", "2В", "06"},      {"03", "3Т", "07"}, {"08", "3Т", "03"},
                              {"08", "4С", "04"},      {"04", "4С", "08"}, {"01  -", "1Д", "01"},
                              {"04  -  -", "4С", "04"}}; // before, key, after
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c[0]) + " " + c[1]);
        RegisterRig rig;
        rig.press("1 2");
        rig.s().TxtSEC.setText(c[0]);
        rig.s().front = TapeId::Journal;
        const QStringList before = panelSnapshot(rig.s());
        rig.press(c[1] + QStringLiteral(" 5"));
        const bool bringsTape = c[1] == QStringLiteral("1Д") || c[1] == QStringLiteral("2В");
        EXPECT_EQ(panelSnapshot(rig.s()), changed(before, "TxtIND=125|TxtSEC=" + QString(c[2]) +
                                                              (bringsTape ? "|front=TxtCHL" : "")));
        EXPECT_TRUE(rig.messages.shown.isEmpty());
    }
}

// In journal mode 1Д writes CR LF, " ИС  ", the shift total and " руб" into the journal and
// shows its end; 2В writes the same without the first space and lights LblZ. In КР mode 1Д
// shows the date and 2В the time, leaving the entry flag alone: the next digit extends the text
// if an amount was being keyed and replaces it otherwise.
TEST(DepartmentKeys, ReportTheShiftAndShowTheClockInTheirModes) {
    const struct {
        char separator;
        const char *keys, *indicator, *journal, *lit;
    } cases[] = {{'.', "КЗ 1Д", "0.00", "\r\n ИС  0 руб", "Lbd6"},
                 {',', "КЗ 2В", "0.00", "\r\nИС  0 руб", "Lbd6 LblZ"},
                 {'.', "1 2 5 0 . 5 ВВ = КЗ 2В 1Д", "0", "\r\nИС  1250.5 руб\r\n ИС  1250.5 руб",
                  "Lbd6 LblVV LblPrint LblZ"},
                 {',', "1 2 5 0 . 5 ВВ = КЗ 2В 1Д", "0", "\r\nИС  1250,5 руб\r\n ИС  1250,5 руб",
                  "Lbd6 LblVV LblPrint LblZ"},
                 {'.', "КР 4 1Д", "05.12.2026", "", "Lbd3"},
                 {'.', "КР 4 1Д 3", "05.12.20263", "", "Lbd3"},
                 {'.', "КР 4 + 2В", "21:30:15", "", "Lbd3"},
                 {'.', "КР 4 + 2В 7", "7", "", "Lbd3"},
                 {'.', "КЗ КР 1Д 2В", "21:30:15", "\r\n ИС  0 руб\r\nИС  0 руб", "Lbd3 Lbd6 LblZ"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        RegisterRig rig(QLatin1Char(c.separator));
        rig.press(c.keys);
        EXPECT_EQ(rig.s().TxtIND.text(), c.indicator);
        EXPECT_EQ(rig.s().TxtCHLK.text(), c.journal);
        EXPECT_EQ(litLamps(rig.s()), c.lit);
        const bool journal = *c.journal;
        EXPECT_EQ(rig.s().front, journal ? TapeId::Journal : TapeId::Receipt);
        EXPECT_EQ(rig.s().TxtCHLK.caretToEnd, journal);
    }
}

} // namespace
