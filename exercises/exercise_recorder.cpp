#include "exercises/exercise_recorder.h"

#include "exercises/differences.h"

#include <cstdlib>

namespace tarvel {
namespace {

ExpectedReceipt expectedOf(const ClosedReceipt& receipt) {
    ExpectedReceipt expected;
    expected.lines = expectedLines(receipt.lines);
    expected.payment = receipt.payment;
    if (receipt.payment == Payment::Cash) {
        // The short amounts come first, as the trainee is to hand them over.
        for (double tender : receipt.shortTenders)
            expected.tenders << toKopecks(tender);
        expected.tenders << toKopecks(receipt.tendered);
    }
    return expected;
}

} // namespace

// НЛ before any total rings money in or out as a receipt of its own; the amount is what it
// totals (taken out, it may stand as negative: its size is what counts).
void ExerciseRecorder::receiptClosed(const ClosedReceipt& receipt) {
    ExerciseItem item;
    if (receipt.movement == CashMovement::None) {
        item.receipt = expectedOf(receipt);
    } else {
        item.kind = receipt.movement == CashMovement::In ? ItemKind::CashIn : ItemKind::CashOut;
        item.amount = std::abs(toKopecks(receipt.total));
    }
    work_ << item;
}

void ExerciseRecorder::receiptCancelled(const ClosedReceipt&) {
    ExerciseItem item;
    item.kind = ItemKind::Cancel;
    work_ << item;
}

// The shift total starts from nothing with every run, so a trainee doing the same work from
// the start gets the same total.
void ExerciseRecorder::shiftReportWritten(ShiftReport report, double shiftTotal) {
    ExerciseItem item;
    item.kind = ItemKind::Report;
    item.report = report;
    item.reportTotal = toKopecks(shiftTotal);
    work_ << item;
}

void ExerciseRecorder::headerSaved(const QString& text) {
    ExerciseItem item;
    item.kind = ItemKind::Header;
    item.headerLines = headerLinesOf(text);
    work_ << item;
}

} // namespace tarvel
