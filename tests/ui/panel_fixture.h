#pragma once
// The front panel on the offscreen platform, over a register wired to fakes and a temporary
// data directory. A test clicks controls by their objectName and reads the register's state.
// Any message box the test did not declare, and any modal window at all, fails the test.

#include "platform/panel_window.h"
#include "support/fakes.h"

#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

class QLineEdit;

namespace tarvel {
class JournalView;
class ReceiptTapeView;
} // namespace tarvel

namespace tarvel::test {

class PanelFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh panel over the rig's register (after the test changed files or state).
    void openPanel();

    // The panel's child of that objectName; fails the test when there is none.
    QWidget* control(const char* name) const;
    // Clicks a visible key with the mouse; "1 5 0" clicks several.
    void click(const QString& names);
    void expectMessage(const QString& text) { expected_ << text; }
    // Types the text into the widget as key presses, each with its character.
    static void type(QWidget* w, const QString& text);

    PanelState& s() { return rig.s(); }
    QLineEdit* indicator() const;
    ReceiptTapeView* receiptTape() const;
    JournalView* journal() const;

    RegisterRig rig;
    std::unique_ptr<PanelWindow> window;

  private:
    QStringList expected_;
    QTimer modalWatch_;
};

} // namespace tarvel::test
