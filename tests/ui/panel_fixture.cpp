#include "panel_fixture.h"

#include "platform/tape_views.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace tarvel::test {

void PanelFixture::SetUp() {
    // A modal window would block the test until someone closes it: close it and fail instead.
    modalWatch_.setInterval(50);
    QObject::connect(&modalWatch_, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "unexpected modal window: " << modal->windowTitle().toStdString();
            modal->close();
        }
    });
    modalWatch_.start();
    openPanel();
}

void PanelFixture::TearDown() {
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(rig.messages.texts(), expected_) << "message boxes shown";
    modalWatch_.stop();
    window.reset();
}

void PanelFixture::openPanel() {
    window.reset();
    window = std::make_unique<PanelWindow>(*rig.reg);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

QWidget* PanelFixture::control(const char* name) const {
    auto* w = window->findChild<QWidget*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << "no control named " << name;
    return w;
}

void PanelFixture::click(const QString& names) {
    for (const QString& name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        auto* key = dynamic_cast<QAbstractButton*>(control(name.toLatin1().constData()));
        ASSERT_NE(key, nullptr) << name.toStdString() << " is not a key";
        ASSERT_TRUE(key->isVisible()) << name.toStdString() << " is hidden";
        QTest::mouseClick(key, Qt::LeftButton);
    }
}

void PanelFixture::type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        // QTest's own key table knows only printable ASCII; other characters go as the text of
        // a key press, the way a keyboard layout or Ctrl sends them.
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f) {
            QTest::keyClick(w, char(u));
            continue;
        }
        const Qt::Key key = u == u'\t'   ? Qt::Key_Tab
                            : u == u'\r' ? Qt::Key_Return
                            : u == 0x1b  ? Qt::Key_Escape
                                         : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, w, key, QString(c), Qt::NoModifier);
    }
}

QLineEdit* PanelFixture::indicator() const {
    return dynamic_cast<QLineEdit*>(control("TxtIND"));
}

ReceiptTapeView* PanelFixture::receiptTape() const {
    return dynamic_cast<ReceiptTapeView*>(control("TxtCHL"));
}

JournalView* PanelFixture::journal() const {
    return dynamic_cast<JournalView*>(control("TxtCHLK"));
}

} // namespace tarvel::test
