#pragma once
// A test of windows fails on any modal window it did not expect (a message box, a dialog left
// open would wait for a click forever offscreen) and closes it, so the test goes on to its end.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace tarvel::test {

class ModalWatch {
  public:
    ModalWatch() {
        QObject::connect(&timer_, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "modal window " << modal->windowTitle().toStdString();
                modal->close();
            }
        });
        timer_.start(50);
    }
    // Where the test itself answers a modal window.
    void stop() { timer_.stop(); }

  private:
    QTimer timer_;
};

} // namespace tarvel::test
