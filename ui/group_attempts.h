#pragma once
// One trainee's attempts, newest first: when, which exercise, how many items right, the time,
// how it ended, the exam's verdict and the kinds of mistake; and the button that plays the
// selected attempt's key log again.

#include "exercises/group_results.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTableView;

namespace tarvel {

// "выполнено", "прервано", "время вышло".
QString outcomeText(const ExerciseResult& result);
// "сдан", "не сдан"; empty for an exercise that is no exam.
QString examText(const ResultRow& row);

class AttemptsModel : public QAbstractTableModel {
  public:
    explicit AttemptsModel(QObject* parent = nullptr);
    void setTrainee(const TraineeRecord* trainee);
    // The attempt shown in `row`.
    const ResultRow& attempt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const TraineeRecord* trainee_ = nullptr;
};

class AttemptsPanel : public QWidget {
  public:
    // Plays a key log over the trainee's data folder (the program starts a replay).
    using Replay = std::function<void(const QString& keyLog, const QString& dataFolder)>;

    AttemptsPanel(Replay replay, QWidget* parent = nullptr);
    // Nothing: no trainee selected.
    void showTrainee(const TraineeRecord* trainee);

  private:
    void updateReplayButton();
    QString selectedKeyLog() const;

    Replay replay_;
    const TraineeRecord* trainee_ = nullptr;
    QLabel* heading_;
    AttemptsModel* model_;
    QTableView* view_;
    QPushButton* replayButton_;
};

} // namespace tarvel
