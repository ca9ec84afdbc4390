#pragma once
// An exercise as the instructor wrote it: a title, the task the trainee reads, and the work
// expected, in order: receipts with their lines and payment, and the steps beside receipts
// (money paid in or taken out, a shift report, a new receipt header, a receipt cancelled).
//
// Amounts are whole kopecks, so "78.90" is 7890 and nothing is lost to binary fractions.

#include "register/register_events.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tarvel {

using Kopecks = qint64;

struct ExpectedLine {
    int department = 1; // 1..8
    Kopecks amount = 0;
    bool isReturn = false;
};

struct ExpectedReceipt {
    QList<ExpectedLine> lines;
    Payment payment = Payment::None;
    // Cash only: the amounts handed over, in order; all but the last are short of the total.
    QList<Kopecks> tenders;
    // Cash only: the customer hands over the smallest banknote that covers the total (worked
    // out again for every drawn variant); `tenders` then holds that one banknote.
    bool banknote = false;
};

enum class ItemKind {
    Receipt,
    CashIn,  // НЛ, the amount, ВВ, "=", ВВ
    CashOut, // "-", НЛ, the amount, ВВ, "=", ВВ
    Report,  // 1Д or 2В in КЗ mode
    Header,  // КР, 3Т, the new header typed on the tape, КР
    Cancel,  // a receipt dropped with СБ
};

// An amount the instructor wrote as "{name}": drawn from a range for each run, so that
// trainees side by side get their own numbers.
struct ValueRange {
    QString name;
    Kopecks from = 0;
    Kopecks to = 0;
    Kopecks step = 1;
};

// Where a drawn value goes in an item: the line or tender of that index, the amount paid in or
// out, the report's total.
enum class AmountPlace { Line, Tender, Movement, ReportTotal };

struct ValueUse {
    AmountPlace place = AmountPlace::Line;
    qsizetype index = 0; // Line, Tender
    QString name;
};

struct ExerciseItem {
    ItemKind kind = ItemKind::Receipt;
    int sourceLine = 0;      // where the instructor wrote it
    ExpectedReceipt receipt; // Receipt
    Kopecks amount = 0;      // CashIn, CashOut
    ShiftReport report = ShiftReport::OneD;
    std::optional<Kopecks> reportTotal; // Report: the shift total it must show, if given
    QStringList headerLines;            // Header
    QList<ValueUse> uses;               // the amounts drawn for each run
};

// How the work is timed and marked. An exam keeps every verdict from the trainee until the
// work is done or the time is up, then shows them all, with whether the exam is passed.
struct ExerciseTerms {
    qint64 timeLimitMs = 0; // 0: as long as the trainee likes
    bool exam = false;
    int passMark = 0; // exams: the items right that pass; 0: all of them
};

struct Exercise {
    QString fileName; // as given to the reader, for messages
    QString title;
    QString task;
    QList<ExerciseItem> items;
    ExerciseTerms terms;
    // The named amounts in the order the file defines them, the order they are drawn in. As
    // read, the items hold each at its lowest ("from"); a run draws its own (drawVariant).
    QList<ValueRange> values;
    // The draw the amounts come from; none for an exercise without values, or not drawn yet.
    std::optional<quint32> seed = std::nullopt;
};

// "78.90", "-5.00", "0.05".
QString formatMoney(Kopecks amount);
// An amount as the register kept it (a float's digits), to the nearest kopeck.
Kopecks toKopecks(double amount);
// "01".."08".
QString departmentText(int department);
// "1Д" or "2В": the key that writes the report, as the exercise file and the trainee name it.
QString reportCaption(ShiftReport report);
// A time as a clock shows it: "2:05", an hour and more as "1:02:05".
QString clockText(qint64 seconds);
// The terms as the trainee reads them above the work: "Экзамен: на всю работу 10:00; оценки
// видны в конце; для зачёта верно 4 из 5." Empty for an exercise without a limit or an exam.
QString describeTerms(const ExerciseTerms& terms, qsizetype items);
// A receipt line in words, as each place puts it: the checklist "возврат, отдел 01 — 78.90",
// the check's differences "возврат, отдел 01, 78.90", a recorded exercise's task "возврат:
// отдел 01 — 78.90 ₽".
enum class LineWords { Checklist, Difference, Task };
QString describeLine(const ExpectedLine& line, LineWords words);
// The lines one after another: apart by "; " in a difference, whose lines have commas of
// their own, by ", " elsewhere.
QString describeLines(const QList<ExpectedLine>& lines, LineWords words);
// The lines the register rang up, as an exercise would expect them: amounts to the kopeck.
QList<ExpectedLine> expectedLines(const QList<SaleLine>& lines);
// One line of the checklist: "Чек: отдел 01 — 78.90, отдел 02 — 5.00; наличными, 100.00".
QString describeItem(const ExerciseItem& item);

} // namespace tarvel
