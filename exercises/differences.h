#pragma once
// What differs between the work an exercise expects and what the register did, told in the
// trainee's words, one difference per entry ("строка 2: отдел 02, а нужно 01"), each with the
// kind of mistake it is. An empty list: the work is right.

#include "exercises/exercise.h"
#include "exercises/mistakes.h"

namespace tarvel {

// The sale lines alone (also of a receipt that never closed).
Differences lineDifferences(const QList<ExpectedLine>& expected, const QList<SaleLine>& actual);
Differences receiptDifferences(const ExpectedReceipt& expected, const ClosedReceipt& actual);
// Money paid in (CashIn) or taken out (CashOut), rung up as a receipt after НЛ.
Differences movementDifferences(const ExerciseItem& expected, const ClosedReceipt& actual);
Differences reportDifferences(const ExerciseItem& expected, ShiftReport report, double shiftTotal);
Differences headerDifferences(const QStringList& expected, const QString& savedText);
// The lines of a header as КР saved it: each without the spaces that only centre it, and
// without the empty lines at its end.
QStringList headerLinesOf(const QString& savedText);

} // namespace tarvel
