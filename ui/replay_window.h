#pragma once
// The window "Показ записи" beside the panel while a key log is played back: whose run it is,
// how far the replay has got, whether the log came from another version of the register, and,
// at the end, whether its last line was cut off.

#include "exercises/key_log.h"

#include <QWidget>

class QLabel;

namespace tarvel {

class ReplayWindow : public QWidget {
  public:
    ReplayWindow(const KeyLog& log, double speed, const QString& runningVersion,
                 QWidget* parent = nullptr);
    void showProgress(qsizetype played, qsizetype total, bool finished);

  private:
    QLabel* progress_;
    bool lastLineCut_;
};

} // namespace tarvel
