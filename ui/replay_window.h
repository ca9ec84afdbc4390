#pragma once
// The window "Показ записи" beside the panel while a key log is played back: whose run it is,
// how far the replay has got, and whether the log came from another version of the register.

#include "exercises/key_log.h"

#include <QWidget>

class QLabel;

namespace tarvel {

class ReplayWindow : public QWidget {
  public:
    ReplayWindow(const KeyLogHead& head, double speed, const QString& runningVersion,
                 QWidget* parent = nullptr);
    void showProgress(qsizetype played, qsizetype total, bool finished);

  private:
    QLabel* progress_;
};

} // namespace tarvel
