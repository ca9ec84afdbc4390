#pragma once
// The front panel offscreen over a RegisterRig (fakes, a temporary data directory). Any message
// box a test did not declare, and any modal window at all, fails the test.

#include "platform/panel_window.h"
#include "platform/tape_views.h"
#include "support/fakes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace tarvel::test {

class PanelFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        // A modal window would wait for someone to close it: close it and fail instead.
        QObject::connect(&modalWatch_, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "modal window " << modal->windowTitle().toStdString();
                modal->close();
            }
        });
        modalWatch_.start(50);
        openPanel();
    }
    void TearDown() override { EXPECT_EQ(rig.messages.texts(), expected_) << "messages shown"; }
    void openPanel() {
        window.reset();
        window = std::make_unique<PanelWindow>(*rig.reg);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QWidget* control(const char* name) const {
        auto* w = window->findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << "no control named " << name;
        return w;
    }
    // Clicks visible keys: "Command1 Command5".
    void click(const QString& names) {
        for (const QString& name : names.split(u' ', Qt::SkipEmptyParts)) {
            auto* key = dynamic_cast<QAbstractButton*>(control(name.toLatin1().constData()));
            ASSERT_TRUE(key && key->isVisible()) << name.toStdString() << " is no visible key";
            QTest::mouseClick(key, Qt::LeftButton);
        }
    }
    void expectMessage(const QString& text) { expected_ << text; }
    // Key presses carrying each character, as a keyboard layout sends them ("\r": Enter).
    static void type(QWidget* w, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, c == u'\r' ? Qt::Key_Return : Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    }

    PanelState& s() { return rig.s(); }
    QLineEdit* indicator() const { return dynamic_cast<QLineEdit*>(control("TxtIND")); }
    auto* receiptTape() const { return dynamic_cast<ReceiptTapeView*>(control("TxtCHL")); }
    JournalView* journal() const { return dynamic_cast<JournalView*>(control("TxtCHLK")); }

    RegisterRig rig;
    std::unique_ptr<PanelWindow> window;

  private:
    QStringList expected_;
    QTimer modalWatch_;
};

} // namespace tarvel::test
