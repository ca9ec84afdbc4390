#include "exercises/checker.h"

#include "exercises/differences.h"
#include "register/cash_register.h"

namespace tarvel {
namespace {

bool isReceiptLike(ItemKind kind) {
    return kind == ItemKind::Receipt || kind == ItemKind::CashIn || kind == ItemKind::CashOut;
}

const Difference kNotDone{MistakeKind::NotDone, QStringLiteral("не выполнено")};

} // namespace

ExerciseChecker::ExerciseChecker(Exercise exercise)
    : exercise_(std::move(exercise)), checks_(exercise_.items.size()) {}

bool ExerciseChecker::nextIs(ItemKind kind) const {
    return !finished() && exercise_.items[next_].kind == kind;
}

void ExerciseChecker::judge(const Differences& differences) {
    checks_[next_] = {differences.isEmpty() ? Verdict::Right : Verdict::Wrong, differences};
    ++next_;
}

// A report, header or cancel the trainee went past.
void ExerciseChecker::skip() {
    switch (exercise_.items[next_].kind) {
    case ItemKind::Report:
        return judge({{MistakeKind::ReportMissing,
                       QStringLiteral("отчёт не снят: вместо него закрыт чек")}});
    case ItemKind::Header:
        return judge({{MistakeKind::WrongHeader,
                       QStringLiteral("клише не изменено: вместо этого закрыт чек")}});
    case ItemKind::Cancel:
        return judge({{MistakeKind::NotCancelled, QStringLiteral("чек не отменён клавишей СБ")}});
    default:
        return judge({kNotDone});
    }
}

void ExerciseChecker::keyPressed(Key key) {
    ++keys_;
    if (key == Key::Clear) ++clears_;
}

void ExerciseChecker::saleRegistered(const SaleLine& line) {
    openLines_ << line;
}

void ExerciseChecker::receiptTotalled(double) {
    openTotalled_ = true;
}

void ExerciseChecker::shortMoney(double) {
    faults_ << kNotEnoughMoney;
}

void ExerciseChecker::arithmeticFault(ArithmeticFault fault) {
    faults_ << faultMessage(fault);
}

void ExerciseChecker::receiptClosed(const ClosedReceipt& receipt) {
    openLines_.clear();
    openTotalled_ = false;
    while (!finished() && !isReceiptLike(exercise_.items[next_].kind))
        skip();
    if (finished()) {
        extras_ << QStringLiteral("лишний чек: %1")
                       .arg(describeLines(expectedLines(receipt.lines), LineWords::Difference));
        return;
    }
    const ExerciseItem& item = exercise_.items[next_];
    judge(item.kind == ItemKind::Receipt ? receiptDifferences(item.receipt, receipt)
                                         : movementDifferences(item, receipt));
}

// A cancelled receipt is the trainee putting a mistake right: checked only when asked for.
void ExerciseChecker::receiptCancelled(const ClosedReceipt&) {
    openLines_.clear();
    openTotalled_ = false;
    if (nextIs(ItemKind::Cancel)) judge({});
}

void ExerciseChecker::shiftReportWritten(ShiftReport report, double shiftTotal) {
    if (nextIs(ItemKind::Report))
        judge(reportDifferences(exercise_.items[next_], report, shiftTotal));
    else
        extras_ << QStringLiteral("лишний отчёт %1").arg(reportCaption(report));
}

void ExerciseChecker::headerSaved(const QString& text) {
    if (nextIs(ItemKind::Header))
        judge(headerDifferences(exercise_.items[next_].headerLines, text));
    else
        extras_ << QStringLiteral("клише изменено без задания");
}

// Why the receipt at hand is not done: the lines rung up so far and how far it got.
Differences ExerciseChecker::unfinishedReceipt() const {
    if (openLines_.isEmpty()) return {kNotDone};
    Differences out{{MistakeKind::ReceiptNotClosed,
                     openTotalled_
                         ? QStringLiteral("чек не закрыт: оплата не принята (ВВ)")
                         : QStringLiteral("чек не закрыт: не нажата клавиша «=» (ИТОГО)")}};
    const ExerciseItem& item = exercise_.items[next_];
    if (item.kind == ItemKind::Receipt) out << lineDifferences(item.receipt.lines, openLines_);
    return out;
}

void ExerciseChecker::abandon() {
    if (finished()) return;
    abandoned_ = true;
    if (isReceiptLike(exercise_.items[next_].kind)) judge(unfinishedReceipt());
    while (!finished())
        judge({kNotDone});
}

ExerciseResult ExerciseChecker::result(qint64 elapsedMs) const {
    ExerciseResult r;
    QList<MistakeKind> kinds(extras_.size(), MistakeKind::ExtraWork);
    for (const ItemCheck& check : checks_) {
        r.right += check.verdict == Verdict::Right;
        for (const Difference& difference : check.differences)
            kinds << difference.kind;
    }
    r.mistakes = tallyMistakes(kinds);
    r.total = int(checks_.size());
    r.seconds = elapsedMs / 1000;
    r.keyPresses = keys_;
    r.clearPresses = clears_;
    r.faults = int(faults_.size());
    r.completed = finished() && !abandoned_;
    const ExerciseTerms& terms = exercise_.terms;
    if (terms.exam) r.passMark = terms.passMark > 0 ? terms.passMark : r.total;
    return r;
}

QString verdictText(const ItemCheck& check) {
    switch (check.verdict) {
    case Verdict::Pending:
        return {};
    case Verdict::Right:
        return QStringLiteral("✔");
    case Verdict::Wrong:
        break;
    }
    QStringList texts;
    for (const Difference& difference : check.differences)
        texts << difference.text;
    return QStringLiteral("✘ ") + texts.join(QStringLiteral("; "));
}

QString resultText(const ExerciseResult& result) {
    return QStringLiteral("Верно %1 из %2. Время %3 мин %4 с. Нажатий клавиш %5, из них СБ %6. "
                          "Ошибок %7.")
        .arg(result.right)
        .arg(result.total)
        .arg(result.seconds / 60)
        .arg(result.seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(result.keyPresses)
        .arg(result.clearPresses)
        .arg(result.faults);
}

QString resultSummary(const ExerciseResult& result) {
    QString text = result.completed ? QStringLiteral("Упражнение выполнено. ")
                   : result.timeUp ? QStringLiteral("Время вышло: упражнение прервано. ")
                                   : QStringLiteral("Упражнение прервано. ");
    text += resultText(result);
    if (result.passed())
        text += QStringLiteral(" Экзамен сдан.");
    else if (result.passMark)
        text += QStringLiteral(" Экзамен не сдан: нужно верно %1.").arg(*result.passMark);
    return text;
}

} // namespace tarvel
