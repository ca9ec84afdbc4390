#pragma once
// The exercise chooser: the exercises of a folder by title, easiest first. A file that cannot
// be used is listed greyed with the reader's message, so the instructor sees what to mend.

#include "exercises/exercise_listing.h"

#include <QDialog>

class QListWidget;

namespace tarvel {

class ExerciseChooser : public QDialog {
  public:
    ExerciseChooser(const QList<ListedExercise>& exercises, QWidget* parent = nullptr);
    // The file chosen; empty until one is.
    QString chosenPath() const;

  private:
    QListWidget* list_;
};

} // namespace tarvel
