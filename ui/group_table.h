#pragma once
// The class at a glance: a row per trainee, a column per exercise, each cell the trainee's best
// attempt at it ("4 из 5", the time, how many attempts), coloured by whether the exercise is
// done, tried and not passed, or not tried. The window sorts it through a proxy; the printed
// report takes the same texts and colours.

#include "exercises/group_results.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QColor>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>

namespace tarvel {

// The cell's lines: "4 из 5 · 2:05" and "попыток: 3"; "—" for an exercise not tried.
QStringList cellLines(const ExerciseCell& cell);
// Light enough to read dark text on, told apart also in a grey printout.
QColor cellColour(CellState state);
// An exercise's title broken into short lines at spaces, for a column's head.
QString wrappedTitle(const QString& title, int lineLength = 18);
// What stands under the trainee's name: "не начинал", or that the results cannot be read (the
// reason is in the name's tooltip).
QString traineeRemark(const TraineeRecord& trainee);

class GroupTableModel : public QAbstractTableModel {
  public:
    // The key the proxy sorts by: the name for the trainee column; for an exercise the state
    // first, then the share right, then the shorter time.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit GroupTableModel(QObject* parent = nullptr);
    void setGroup(const GroupResults* group);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QVariant traineeData(const TraineeRecord& trainee, int role) const;
    QVariant cellData(const TraineeRecord& trainee, const ExerciseCell& cell, int role) const;

    const GroupResults* group_ = nullptr;
};

// Draws the selected trainee's row with a frame around each cell instead of the selection's
// colour, which would hide the cells' own colours.
class KeepColoursDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The table as the instructor sorted it. Names sort as a Russian dictionary does (Ё with Е,
// Cyrillic before Latin), whatever the system's own language.
class GroupSortModel : public QSortFilterProxyModel {
  public:
    explicit GroupSortModel(QObject* parent = nullptr);

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    QCollator russian_;
};

} // namespace tarvel
