// The mode keys, and the department keys with their reports and the clock in КР mode.

#include "panel_snapshot.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// Each mode key pressed twice over a busy panel changes what belongs to it and nothing else.
struct ModeRow : NamedRow {
    const char *key, *first, *second; // the key, what its first and its second press change
};

class ModeKeys : public testing::TestWithParam<ModeRow> {};

TEST_P(ModeKeys, EachPressFlipsItsModeAndChangesOnlyWhatBelongsToIt) {
    const ModeRow& c = GetParam();
    RegisterRig rig;
    rig.press("КЗ 1Д 1 5 0 %");
    const QStringList before = panelSnapshot(rig.s());
    rig.press(c.key);
    const QStringList first = panelSnapshot(rig.s());
    EXPECT_EQ(first, changed(before, c.first));
    rig.press(c.key);
    EXPECT_EQ(panelSnapshot(rig.s()), changed(first, c.second));
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

const ModeRow kModeRows[] = {
    {"KN", "КН", "lit=Lbd2 Lbd6 LblVV", "lit=Lbd6 LblVV"},
    {"KCH", "КЧ", "lit=Lbd5 Lbd6 LblVV|bold=yes", "lit=Lbd6 LblVV|bold=no"},
    {"KL", "КЛ", "lit=Lbd4 Lbd6|VV=no", "lit=Lbd6|VV=yes|TxtIND="},
    {"KZ", "КЗ", "lit=LblVV|front=TxtCHL", "lit=Lbd6 LblVV"},
    {"KR", "КР", "lit=Lbd3 Lbd6 LblVV", "lit=Lbd6 LblVV|TxtIND=0.00"},
    {"CHL", "CHL", "Shap1=yes", "Shap1=no"}};

INSTANTIATE_TEST_SUITE_P(Keys, ModeKeys, testing::ValuesIn(kModeRows), rowName);

// A key toggles between its two departments; a return mark is dropped; keying carries on.
struct DepartmentRow : NamedRow {
    const char *before, *key, *after; // keys that select the department before, the key pressed
};

class DepartmentKeys : public testing::TestWithParam<DepartmentRow> {};

TEST_P(DepartmentKeys, ToggleBetweenTheirTwoDepartments) {
    const DepartmentRow& c = GetParam();
    RegisterRig rig;
    rig.press(c.before);
    rig.press("1 2");
    const QStringList before = panelSnapshot(rig.s());
    rig.press(c.key + QStringLiteral(" 5"));
    EXPECT_EQ(panelSnapshot(rig.s()), changed(before, "TxtIND=125|TxtSEC=" + QString(c.after)));
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

const DepartmentRow kDepartmentRows[] = {
    {"FirstToSecond1D", "", "1Д", "05"},      {"SecondToFirst1D", "1Д", "1Д", "01"},
    {"OtherToFirst2V", "1Д", "2В", "02"},     {"FirstToSecond2V", "2В", "2В", "06"},
    {"FirstToSecond3T", "3Т", "3Т", "07"},    {"OtherToFirst3T", "4С 4С", "3Т", "03"},
    {"SecondToFirst4C", "4С 4С", "4С", "04"}, {"FirstToSecond4C", "4С", "4С", "08"},
    {"ReturnMarkDropped", "ВТ", "1Д", "01"},  {"TwoReturnMarksDropped", "4С ВТ ВТ", "4С", "04"}};

INSTANTIATE_TEST_SUITE_P(Keys, DepartmentKeys, testing::ValuesIn(kDepartmentRows), rowName);

// Journal mode: 1Д and 2В report the shift total. КР mode: the date and the time, entry flag kept.
struct ReportRow : NamedRow {
    char separator;
    const char *keys, *indicator, *journal, *lit;
};

class ShiftReport : public testing::TestWithParam<ReportRow> {};

TEST_P(ShiftReport, DepartmentKeysReportTheShiftAndShowTheClockInTheirModes) {
    const ReportRow& c = GetParam();
    RegisterRig rig(QLatin1Char(c.separator));
    rig.press(c.keys);
    EXPECT_EQ(rig.s().TxtIND.text(), c.indicator);
    EXPECT_EQ(rig.s().TxtCHLK.text(), c.journal);
    EXPECT_EQ(litLamps(rig.s()), c.lit);
    const bool journal = *c.journal;
    EXPECT_EQ(rig.s().front, journal ? TapeId::Journal : TapeId::Receipt);
    EXPECT_EQ(rig.s().TxtCHLK.caretMovesToEnd > 0, journal);
}

const ReportRow kReportRows[] = {
    {"Report1D", '.', "КЗ 1Д", "0.00", "\r\n ИС  0 руб", "Lbd6"},
    {"Report2VLightsLblZ", ',', "КЗ 2В", "0.00", "\r\nИС  0 руб", "Lbd6 LblZ"},
    {"ShiftTotalWithComma", ',', "1 2 5 0 . 5 ВВ = КЗ 2В 1Д", "0",
     "\r\nИС  1250,5 руб\r\n ИС  1250,5 руб", "Lbd6 LblVV LblPrint LblZ"},
    {"DateInKr", '.', "КР 4 1Д", "05.12.2026", "", "Lbd3"},
    {"DigitExtendsTheDate", '.', "КР 4 1Д 3", "05.12.20263", "", "Lbd3"},
    {"TimeInKr", '.', "КР 4 + 2В", "21:30:15", "", "Lbd3"},
    {"DigitReplacesTheTime", '.', "КР 4 + 2В 7", "7", "", "Lbd3"},
    {"BothModes", '.', "КЗ КР 1Д 2В", "21:30:15", "\r\n ИС  0 руб\r\nИС  0 руб", "Lbd3 Lbd6 LblZ"}};

INSTANTIATE_TEST_SUITE_P(Keys, ShiftReport, testing::ValuesIn(kReportRows), rowName);

} // namespace
