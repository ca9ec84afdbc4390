#include "ui/group_attempts.h"

#include "exercises/exercise.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tarvel {
namespace {

enum Column { When, Title, Right, Time, Outcome, Exam, Mistakes, Columns };

QString columnName(int column) {
    switch (column) {
    case When:
        return QStringLiteral("Дата");
    case Title:
        return QStringLiteral("Упражнение");
    case Right:
        return QStringLiteral("Результат");
    case Time:
        return QStringLiteral("Время");
    case Outcome:
        return QStringLiteral("Итог");
    case Exam:
        return QStringLiteral("Экзамен");
    case Mistakes:
        return QStringLiteral("Ошибки");
    }
    return {};
}

QString cellText(const ResultRow& row, int column) {
    const ExerciseResult& result = row.result;
    switch (column) {
    case When:
        return row.when.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case Title:
        return row.title;
    case Right:
        return QStringLiteral("Верно %1 из %2").arg(result.right).arg(result.total);
    case Time:
        return clockText(result.seconds);
    case Outcome:
        return outcomeText(result);
    case Exam:
        return examText(row);
    case Mistakes:
        return mistakeSummary(result.mistakes);
    }
    return {};
}

} // namespace

QString outcomeText(const ExerciseResult& result) {
    if (result.completed) return QStringLiteral("выполнено");
    return result.timeUp ? QStringLiteral("время вышло") : QStringLiteral("прервано");
}

// The file keeps the exam's verdict, not its pass mark: the verdict is what is read back.
QString examText(const ResultRow& row) {
    if (!row.examPassed) return {};
    return *row.examPassed ? QStringLiteral("сдан") : QStringLiteral("не сдан");
}

AttemptsModel::AttemptsModel(QObject* parent) : QAbstractTableModel(parent) {}

void AttemptsModel::setTrainee(const TraineeRecord* trainee) {
    beginResetModel();
    trainee_ = trainee;
    endResetModel();
}

// The newest attempt first: the instructor looks for what was just done.
const ResultRow& AttemptsModel::attempt(int row) const {
    return trainee_->attempts.at(trainee_->attempts.size() - 1 - row);
}

int AttemptsModel::rowCount(const QModelIndex& parent) const {
    return trainee_ && !parent.isValid() ? int(trainee_->attempts.size()) : 0;
}

int AttemptsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant AttemptsModel::data(const QModelIndex& index, int role) const {
    if (!trainee_ || !index.isValid()) return {};
    const ResultRow& row = attempt(index.row());
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == Mistakes))
        return cellText(row, index.column());
    if (role == Qt::ForegroundRole && index.column() == Exam && row.examPassed)
        return QColor(*row.examPassed ? QColor(0, 110, 0) : QColor(170, 0, 0));
    return {};
}

QVariant AttemptsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return columnName(section);
    return {};
}

AttemptsPanel::AttemptsPanel(Replay replay, QWidget* parent)
    : QWidget(parent), replay_(std::move(replay)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("AttemptsHeading"));
    model_ = new AttemptsModel(this);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("Attempts"));
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->setWordWrap(false); // one line an attempt; the mistakes in full in the tooltip
    replayButton_ = new QPushButton(QStringLiteral("Воспроизвести"), this);
    replayButton_->setObjectName(QStringLiteral("Replay"));
    replayButton_->setMinimumWidth(replayButton_->sizeHint().width() + 24);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(replayButton_);
    column->addWidget(heading_);
    column->addWidget(view_);
    column->addLayout(buttons);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateReplayButton(); });
    connect(view_, &QTableView::doubleClicked, replayButton_, &QPushButton::click);
    connect(replayButton_, &QPushButton::clicked, this, [this] {
        if (const QString log = selectedKeyLog(); !log.isEmpty()) replay_(log, trainee_->folder);
    });
    showTrainee(nullptr);
}

void AttemptsPanel::showTrainee(const TraineeRecord* trainee) {
    trainee_ = trainee;
    model_->setTrainee(trainee);
    heading_->setText(trainee ? QStringLiteral("Попытки: %1").arg(trainee->name)
                              : QStringLiteral("Попытки: выберите слушателя в таблице"));
    view_->resizeColumnsToContents();
    if (model_->rowCount() > 0) view_->selectRow(0);
    updateReplayButton();
}

QString AttemptsPanel::selectedKeyLog() const {
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    if (!trainee_ || rows.isEmpty()) return {};
    return keyLogOf(*trainee_, model_->attempt(rows.first().row()));
}

void AttemptsPanel::updateReplayButton() {
    const bool selected = trainee_ && view_->selectionModel()->hasSelection();
    const bool playable = !selectedKeyLog().isEmpty();
    replayButton_->setEnabled(playable);
    replayButton_->setToolTip(playable ? QStringLiteral("Показать нажатия этой попытки на панели")
                              : selected ? QStringLiteral("Записи нажатий этой попытки нет в папке "
                                                          "keys слушателя")
                                         : QStringLiteral("Выберите попытку"));
}

} // namespace tarvel
