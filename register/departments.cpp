// The department keys 1Д, 2В, 3Т and 4С. Each key serves two departments: a press selects its
// first one, and a press while that one is already selected switches to its second. 1Д and 2В
// also write the shift total into the journal in journal mode (КЗ) and show the date or the
// time in КР mode; 3Т opens the receipt header for editing in КР mode. No department key
// touches entryFlag, so an amount being keyed carries on across them.

#include "numbers/numbers.h"
#include "register/cash_register.h"

namespace tarvel {

namespace {

// The whole text is compared: a department carrying a return mark is "another" department, so
// the key selects its first one and the mark is dropped.
void selectDepartment(TextField& TxtSEC, QStringView first, QStringView second) {
    if (TxtSEC.text() != first)
        TxtSEC.setText(first.toString());
    else
        TxtSEC.setText(second.toString());
}

// The shift report in the journal: the line break comes first, so the journal's text ends on
// " руб". 1Д writes " ИС  " and 2В "ИС  " before the amount.
QString shiftReportLine(QStringView label, float shiftTotal, QChar separator) {
    QString line = kCrLf.toString();
    line += label;
    line += displayText(shiftTotal, separator);
    line += QStringLiteral(" руб");
    return line;
}

} // namespace

void CashRegister::departmentKey(Key key) {
    switch (key) {
    case Key::Dept1:
        selectDepartment(s_.TxtSEC, u"01", u"05");
        if (s_.inJournalMode()) writeShiftReport(ShiftReport::OneD);
        if (s_.inKrMode()) s_.TxtIND.setText(svc_.regional.shortDate(svc_.clock.currentDate()));
        break;
    case Key::Dept2:
        selectDepartment(s_.TxtSEC, u"02", u"06");
        if (s_.inJournalMode()) {
            // PrintEachEnter makes the following ВВ presses print the tape as well.
            s_.light(Lamp::PrintEachEnter);
            writeShiftReport(ShiftReport::TwoV);
        }
        if (s_.inKrMode()) s_.TxtIND.setText(svc_.regional.longTime(svc_.clock.currentTime()));
        break;
    case Key::Dept3:
        // In КР mode 3Т lights the header lamp; openHeader opens the tape only when it finds
        // both that lamp and КР mode lit, so outside КР mode it does nothing.
        selectDepartment(s_.TxtSEC, u"03", u"07");
        if (s_.inKrMode()) s_.light(Lamp::HeaderOpen);
        openHeader();
        return;
    default:
        selectDepartment(s_.TxtSEC, u"04", u"08");
        return;
    }
    s_.front = s_.inJournalMode() ? TapeId::Journal : TapeId::Receipt;
}

// The shift total into the journal, the journal in front with its end in view.
void CashRegister::writeShiftReport(ShiftReport report) {
    s_.front = TapeId::Journal;
    const QStringView label = report == ShiftReport::OneD ? u" ИС  " : u"ИС  ";
    journal_.append(shiftReportLine(label, s_.shiftTotal, svc_.regional.decimalSeparator()));
    watch_.shiftReport(report, s_.shiftTotal);
    s_.TxtCHLK.moveCaretToEnd();
}

} // namespace tarvel
