#pragma once
// The kinds of mistake a cashier makes, for the instructor: each difference the check finds
// carries its kind beside its words, so a class's results can be counted by kind ("не тот
// отдел" 12 times this week) whatever the words of one difference were.
//
// The short names go into results.csv and are read back from it: they are part of that file.
// A name once written must keep reading as its kind; a renamed kind keeps its old name in
// mistakes.cpp as well.

#include <QList>
#include <QString>
#include <optional>

namespace tarvel {

enum class MistakeKind {
    WrongDepartment,  // a line rung up in another department
    WrongAmount,      // a line's amount, or the amount paid in or taken out
    MissingLine,      // a line the receipt should have
    ExtraLine,        // a line the receipt should not have
    ReturnNotMarked,  // a return rung up as a sale (ВТ forgotten)
    ReturnMarked,     // a sale marked as a return
    WrongPayment,     // cash for card, card for cash, paid where none was due
    WrongChange,      // the amount tendered, and so the change, is not the one asked for
    ReceiptNotClosed, // the receipt left open: no total, or no payment taken
    ShortMoney, // " МАЛО ДЕНЕГ!  " where the customer's money was enough, or none where due
    ReportMissing,     // a shift report not taken
    WrongReport,       // 2В for 1Д (Z for X), or a shift total that is not the one expected
    WrongHeader,       // the receipt header not changed, or changed wrongly
    WrongCashMovement, // cash in or out not marked, or marked the wrong way
    NotCancelled,      // a receipt that should have been cancelled with СБ
    ExtraWork,         // a receipt, report or header change the exercise did not ask for
    NotDone,           // work not reached before the exercise ended
    Other,             // anything else, and a name from a newer register this one does not know
};

inline constexpr int kMistakeKinds = int(MistakeKind::Other) + 1;

// One thing that differs between the work expected and the work done: its kind, and its words
// for the trainee ("строка 2: отдел 02, а нужно 01").
struct Difference {
    MistakeKind kind = MistakeKind::Other;
    QString text;
    bool operator==(const Difference&) const = default;
};
using Differences = QList<Difference>;

// The short Russian name: "не тот отдел", "мало денег".
QString mistakeName(MistakeKind kind);
// The kind of a name written by mistakeName(); nothing for a name this register does not know.
std::optional<MistakeKind> mistakeByName(QStringView name);

struct MistakeCount {
    MistakeKind kind = MistakeKind::Other;
    int count = 0;
    bool operator==(const MistakeCount&) const = default;
};

// One attempt's mistakes, each kind once with how often it came, in the order of the kinds.
using MistakeTally = QList<MistakeCount>;
MistakeTally tallyMistakes(const QList<MistakeKind>& kinds);

// The tally as the results file keeps it, one text a reader and a spreadsheet both take:
// "не тот отдел (2), не та сдача"; empty when there was no mistake.
QString mistakeSummary(const MistakeTally& tally);
// The tally back from that text. A name this register does not know counts as Other.
MistakeTally parseMistakeSummary(QStringView text);

} // namespace tarvel
