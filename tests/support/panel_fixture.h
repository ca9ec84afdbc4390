#pragma once
// The front panel offscreen over a RegisterRig; an unexpected message box or modal window fails.

#include "support/modal_watch.h"
#include "support/fakes.h"
#include "ui/journal_view.h"
#include "ui/panel_layout.h"
#include "ui/panel_window.h"
#include "ui/tape_views.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>

namespace tarvel::test {

// Whether this system has the faces the panel is designed in: what measures drawn text needs
// them (wine has neither Lucida Console nor Microsoft Sans Serif of its own).
inline bool panelFacesInstalled() {
    for (const layout::Face face : {layout::Face::Sans, layout::Face::Mono}) {
        const QString family = QString::fromLatin1(layout::familyOf(face));
        if (QFontInfo(QFont(family)).family() != family) return false;
    }
    return true;
}

// Types `text` into `w` as a keyboard sends it; "\r" is Enter.
inline void type(QWidget* w, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, c == u'\r' ? Qt::Key_Return : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

class PanelFixture : public ::testing::Test {
  protected:
    void SetUp() override { openPanel(); }
    void TearDown() override { EXPECT_EQ(rig.messages.texts(), expectedMessages); }
    void openPanel() {
        window = std::make_unique<PanelWindow>(*rig.reg, settings);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // A new run of the program over `file` holding `text` (the window holds the register that
    // restart() replaces).
    void restartWith(const QString& file, const QString& text) {
        rig.files.writeText(file, text);
        window.reset();
        rig.restart();
        openPanel();
    }
    QWidget* control(QStringView name) const {
        auto* w = window->findChild<QWidget*>(name.toString());
        EXPECT_NE(w, nullptr) << "no control named " << name.toString().toStdString();
        return w;
    }
    QAbstractButton* keyWidget(Key key) const {
        return dynamic_cast<QAbstractButton*>(control(keyName(key)));
    }
    void click(const QString& captions) { // visible keys by caption: "1 5 0 ВВ"
        for (const Key key : keysOf(captions)) {
            QAbstractButton* widget = keyWidget(key);
            ASSERT_TRUE(widget && widget->isVisible())
                << keyName(key).toString().toStdString() << " is no visible key";
            QTest::mouseClick(widget, Qt::LeftButton);
        }
    }

    const PanelState& s() const { return rig.s(); }
    QLineEdit* indicator() const { return dynamic_cast<QLineEdit*>(control(u"TxtIND")); }
    auto* receiptTape() const { return dynamic_cast<ReceiptTapeView*>(control(u"TxtCHL")); }
    JournalView* journal() const { return dynamic_cast<JournalView*>(control(u"TxtCHLK")); }

    RegisterRig rig;
    FakeSettings settings; // the panel's size
    std::unique_ptr<PanelWindow> window;
    QStringList expectedMessages;
    ModalWatch modalWatch_;
};

} // namespace tarvel::test
