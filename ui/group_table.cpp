#include "ui/group_table.h"

#include "exercises/exercise.h"

#include <QBrush>
#include <QFont>
#include <QPainter>

namespace tarvel {
namespace {

constexpr double kStateWeight = 1e12;
constexpr double kShareWeight = 1e5;
constexpr qint64 kLongestSeconds = 99999;

QString cellTip(const TraineeRecord& trainee, const ExerciseCell& cell) {
    if (!trainee.started()) return traineeRemark(trainee);
    if (cell.attempts == 0) return QStringLiteral("не пробовал");
    QString tip = QStringLiteral("%1\nлучшее: верно %2 из %3")
                      .arg(cellStateName(cell.state))
                      .arg(cell.bestRight)
                      .arg(cell.total);
    if (cell.bestSeconds) tip += QStringLiteral(" за %1").arg(clockText(*cell.bestSeconds));
    return tip + QStringLiteral("\nпопыток: %1").arg(cell.attempts);
}

double sortKey(const ExerciseCell& cell) {
    const double share = cell.total > 0 ? double(cell.bestRight) / cell.total : 0;
    const qint64 seconds = std::min(cell.bestSeconds.value_or(kLongestSeconds), kLongestSeconds);
    return int(cell.state) * kStateWeight + std::round(share * 1e6) * kShareWeight +
           double(kLongestSeconds - seconds);
}

} // namespace

QStringList cellLines(const ExerciseCell& cell) {
    if (cell.attempts == 0) return {QStringLiteral("—")};
    QString best = QStringLiteral("%1 из %2").arg(cell.bestRight).arg(cell.total);
    if (cell.bestSeconds) best += QStringLiteral(" · ") + clockText(*cell.bestSeconds);
    return {best, QStringLiteral("попыток: %1").arg(cell.attempts)};
}

QColor cellColour(CellState state) {
    switch (state) {
    case CellState::Done:
        return QColor(0xc8, 0xeb, 0xc3);
    case CellState::NotPassed:
        return QColor(0xf6, 0xc9, 0xc4);
    case CellState::NotTried:
        break;
    }
    return QColor(0xe6, 0xe6, 0xe6);
}

QString wrappedTitle(const QString& title, int lineLength) {
    QStringList lines;
    for (const QString& word : title.split(' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && lines.last().size() + 1 + word.size() <= lineLength)
            lines.last() += ' ' + word;
        else
            lines << word;
    }
    return lines.join('\n');
}

QString traineeRemark(const TraineeRecord& trainee) {
    if (trainee.error) return QStringLiteral("results.csv не читается: %1").arg(trainee.errorText);
    if (!trainee.started()) return QStringLiteral("не начинал");
    return {};
}

GroupTableModel::GroupTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void GroupTableModel::setGroup(const GroupResults* group) {
    beginResetModel();
    group_ = group;
    endResetModel();
}

int GroupTableModel::rowCount(const QModelIndex& parent) const {
    return group_ && !parent.isValid() ? int(group_->trainees.size()) : 0;
}

int GroupTableModel::columnCount(const QModelIndex& parent) const {
    return group_ && !parent.isValid() ? int(group_->exercises.size()) + 1 : 0;
}

QVariant GroupTableModel::data(const QModelIndex& index, int role) const {
    if (!group_ || !index.isValid()) return {};
    const TraineeRecord& trainee = group_->trainees.at(index.row());
    if (index.column() == 0) return traineeData(trainee, role);
    return cellData(trainee, group_->cells.at(index.row()).at(index.column() - 1), role);
}

QVariant GroupTableModel::traineeData(const TraineeRecord& trainee, int role) const {
    const QString remark = traineeRemark(trainee);
    switch (role) {
    case Qt::DisplayRole:
        if (trainee.error) return QStringLiteral("⚠ %1\nфайл не читается").arg(trainee.name);
        return remark.isEmpty() ? trainee.name : trainee.name + '\n' + remark;
    case Qt::ToolTipRole:
        return QStringLiteral("%1\n%2")
            .arg(trainee.folder, trainee.error ? trainee.errorText : remark)
            .trimmed();
    case Qt::ForegroundRole:
        if (trainee.error) return QBrush(QColor(160, 0, 0));
        return {};
    case SortRole:
        return trainee.name;
    }
    return {};
}

QVariant GroupTableModel::cellData(const TraineeRecord& trainee, const ExerciseCell& cell,
                                   int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return cellLines(cell).join('\n');
    case Qt::ToolTipRole:
        return cellTip(trainee, cell);
    case Qt::BackgroundRole:
        return QBrush(cellColour(cell.state));
    case Qt::ForegroundRole:
        return QBrush(Qt::black); // the colours are light: dark text reads on them in any theme
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case SortRole:
        return sortKey(cell);
    }
    return {};
}

QVariant GroupTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!group_ || orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return section == 0              ? QStringLiteral("Слушатель")
               : role == Qt::DisplayRole ? wrappedTitle(group_->exercises.value(section - 1))
                                         : group_->exercises.value(section - 1);
    return {};
}

void KeepColoursDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem plain = option;
    const bool selected = option.state & QStyle::State_Selected;
    plain.state &= ~QStyle::State_Selected;
    QStyledItemDelegate::paint(painter, plain, index);
    if (!selected) return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
    painter->drawLine(option.rect.topLeft() + QPoint(0, 1), option.rect.topRight() + QPoint(0, 1));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

GroupSortModel::GroupSortModel(QObject* parent)
    : QSortFilterProxyModel(parent), russian_(QLocale(QLocale::Russian, QLocale::Russia)) {
    setSortRole(GroupTableModel::SortRole);
}

bool GroupSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return russian_.compare(a.toString(), b.toString()) < 0;
    return QSortFilterProxyModel::lessThan(left, right);
}

} // namespace tarvel
