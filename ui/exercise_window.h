#pragma once
// The window "Задание" beside the panel: the task, the work expected as a checklist with each
// verdict as soon as it is given (an exam's all at the end), the time spent or, with a time
// limit, the time left, and at the end the result. It only shows the session; the trainee
// works on the panel.

#include "exercises/exercise_session.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace tarvel {

class ExerciseWindow : public QWidget {
  public:
    explicit ExerciseWindow(const ExerciseSession& session, QWidget* parent = nullptr);

    // Draws the session as it now is; the clock is drawn every second besides.
    void render();

  private:
    void renderChecklist();
    void renderResult();

    const ExerciseSession& session_;
    QLabel* title_;
    QLabel* terms_;
    QPlainTextEdit* task_;
    QListWidget* checklist_;
    QLabel* clock_;
    QLabel* result_;
    QTimer tick_;
};

} // namespace tarvel
