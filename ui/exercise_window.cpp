#include "ui/exercise_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tarvel {
namespace {

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// "Время: 2:05" counting up; with a limit "Осталось: 9:59" counting down, showing 0:00 only
// when the time is up.
QString clockLine(const ExerciseSession& session) {
    if (const std::optional<qint64> left = session.remainingMs())
        return QStringLiteral("Осталось: %1").arg(clockText((*left + 999) / 1000));
    return QStringLiteral("Время: %1").arg(clockText(session.elapsedMs() / 1000));
}

QColor verdictColour(Verdict verdict) {
    switch (verdict) {
    case Verdict::Right:
        return QColor(0, 110, 0);
    case Verdict::Wrong:
        return QColor(180, 0, 0);
    case Verdict::Pending:
        break;
    }
    return {};
}

} // namespace

ExerciseWindow::ExerciseWindow(const ExerciseSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("Exercise"));
    setWindowTitle(QStringLiteral("Задание"));
    auto* column = new QVBoxLayout(this);

    const Exercise& exercise = session.checker()->exercise();
    title_ = heading(exercise.title, this);
    title_->setObjectName(QStringLiteral("ExerciseTitle"));
    title_->setWordWrap(true);
    terms_ = new QLabel(describeTerms(exercise.terms, exercise.items.size()), this);
    terms_->setObjectName(QStringLiteral("Terms"));
    terms_->setWordWrap(true);
    terms_->setVisible(!terms_->text().isEmpty());
    task_ = new QPlainTextEdit(exercise.task.trimmed(), this);
    task_->setObjectName(QStringLiteral("TaskText"));
    task_->setReadOnly(true);
    task_->setFocusPolicy(Qt::NoFocus); // typing stays with the panel's indicator
    checklist_ = new QListWidget(this);
    checklist_->setObjectName(QStringLiteral("Checklist"));
    checklist_->setWordWrap(true);
    checklist_->setFocusPolicy(Qt::NoFocus);
    checklist_->setSelectionMode(QAbstractItemView::NoSelection);
    clock_ = new QLabel(this);
    clock_->setObjectName(QStringLiteral("TimeSpent"));
    result_ = heading({}, this);
    result_->setObjectName(QStringLiteral("ResultText"));
    result_->setWordWrap(true);

    column->addWidget(title_);
    column->addWidget(terms_);
    column->addWidget(task_, 2);
    column->addWidget(heading(QStringLiteral("Что нужно сделать:"), this));
    column->addWidget(checklist_, 3);
    column->addWidget(clock_);
    column->addWidget(result_);
    resize(440, 560);

    for (const ExerciseItem& item : exercise.items)
        checklist_->addItem(describeItem(item));
    connect(&tick_, &QTimer::timeout, this, [this] { clock_->setText(clockLine(session_)); });
    tick_.start(1000);
    render();
}

void ExerciseWindow::render() {
    renderChecklist();
    clock_->setText(clockLine(session_));
    renderResult();
}

void ExerciseWindow::renderChecklist() {
    const ExerciseChecker& checker = *session_.checker();
    for (int i = 0; i < checklist_->count(); ++i) {
        // An exam shows the work as if nothing were checked, until the end.
        const ItemCheck check = session_.verdictsHidden() ? ItemCheck{} : checker.checks()[i];
        QString text =
            QStringLiteral("%1. %2").arg(i + 1).arg(describeItem(checker.exercise().items[i]));
        if (check.verdict != Verdict::Pending) text += QStringLiteral("\n") + verdictText(check);
        QListWidgetItem* row = checklist_->item(i);
        row->setText(text);
        row->setForeground(verdictColour(check.verdict));
    }
}

// The result, the faults met and the work nobody asked for.
void ExerciseWindow::renderResult() {
    const std::optional<ExerciseResult>& result = session_.result();
    result_->setVisible(result.has_value());
    if (!result) return;
    QString text = resultSummary(*result);
    const ExerciseChecker& checker = *session_.checker();
    if (!checker.faults().isEmpty())
        text += QStringLiteral("\nОшибки: ") + checker.faults().join(QStringLiteral(", "));
    if (!checker.extras().isEmpty())
        text += QStringLiteral("\nЛишнее: ") + checker.extras().join(QStringLiteral("; "));
    result_->setText(text);
}

} // namespace tarvel
