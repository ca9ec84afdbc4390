#pragma once
// The window "Журнал группы": the results of a whole class for the instructor, read from a
// folder that holds a data folder per trainee. It only reads: the trainees' registers may be
// writing meanwhile, and "Обновить" reads again what they have written.

#include "exercises/group_results.h"
#include "ui/group_attempts.h"

#include <QWidget>

class QLabel;
class QTableView;

namespace tarvel {

class GroupSortModel;
class GroupTableModel;

class GroupWindow : public QWidget {
  public:
    GroupWindow(QString folder, AttemptsPanel::Replay replay, QWidget* parent = nullptr);
    ~GroupWindow() override;

    // Reads the folder again, the selected trainee kept selected.
    void reload();
    const GroupResults& group() const { return group_; }

  private:
    QWidget* buildButtons();
    void showSelected();
    int selectedTrainee() const;
    void selectTrainee(const QString& folder);
    void showSummary();
    void saveReport();
    void saveSummary();
    QString askFileName(const QString& caption, const QString& suffix, const QString& filter);

    QString folder_;
    GroupResults group_;
    QLabel* title_;
    QLabel* summary_;
    GroupTableModel* model_;
    GroupSortModel* sorted_;
    QTableView* table_;
    AttemptsPanel* attempts_;
    QWidget* progress_; // the charts' views
    QWidget* mistakes_;
};

} // namespace tarvel
