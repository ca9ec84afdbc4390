// The panel at work: clicks reach the register, the state is drawn, typing is filtered, the
// clock ticks, and both ways of closing write the journal once.

#include "panel_fixture.h"
#include "platform/tape_views.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace tarvel::test {
namespace {

using PanelWindowTest = PanelFixture;

bool shown(QWidget* w) {
    return w->isVisibleTo(w->parentWidget());
}

TEST_F(PanelWindowTest, StartUpStateIsShown) {
    EXPECT_EQ(indicator()->text(), QStringLiteral("0.00"));
    EXPECT_EQ(dynamic_cast<QLineEdit*>(control("TxtSEC"))->text(), QStringLiteral("01"));
    for (int i = 0; i < kLampCount; ++i)
        EXPECT_FALSE(shown(control(lampName(Lamp(i))))) << i;
    EXPECT_FALSE(shown(control("Shap1")));
    EXPECT_TRUE(shown(control("CommandVV")));
    EXPECT_TRUE(dynamic_cast<QLabel*>(control("Picker"))->text().isEmpty());
    EXPECT_EQ(receiptTape()->toPlainText(),
              QStringLiteral("   ИП ТОРБИН Т.Т.\n ИНН 771313131313\n******************\n"));
    EXPECT_TRUE(receiptTape()->isReadOnly());
    // The receipt tape lies over the journal; typing goes to the indicator.
    const QObjectList order = window->children();
    EXPECT_GT(order.indexOf(receiptTape()), order.indexOf(journal()));
    EXPECT_TRUE(indicator()->hasFocus());
    EXPECT_TRUE(window->clockTimer().isActive());
    EXPECT_EQ(window->clockTimer().interval(), 1000);
}

TEST_F(PanelWindowTest, DigitKeysKeyAnAmountIntoTheIndicator) {
    click(QStringLiteral("Command1 Command5 Command0"));
    EXPECT_EQ(indicator()->text(), QStringLiteral("150"));
    EXPECT_EQ(s().TxtIND.text(), QStringLiteral("150"));
}

TEST_F(PanelWindowTest, ClockTicksIntoPickerBoldInKchMode) {
    auto* picker = dynamic_cast<QLabel*>(control("Picker"));
    click(QStringLiteral("KCH"));
    EXPECT_TRUE(picker->font().bold());
    window->clockTick();
    EXPECT_EQ(picker->text(), QStringLiteral("21:30:15"));
    rig.clock.time = QTime(21, 30, 16);
    window->clockTick();
    EXPECT_EQ(picker->text(), QStringLiteral("21:30:16"));
    click(QStringLiteral("KCH"));
    EXPECT_FALSE(picker->font().bold());
}

TEST_F(PanelWindowTest, ModeKeysShowTheirEffects) {
    click(QStringLiteral("KL"));
    EXPECT_FALSE(shown(control("CommandVV")));
    EXPECT_TRUE(shown(control("Lbd4")));
    click(QStringLiteral("KL CHL"));
    EXPECT_TRUE(shown(control("CommandVV")));
    EXPECT_TRUE(indicator()->text().isEmpty());
    EXPECT_TRUE(shown(control("Shap1")));
}

// Each lamp widget follows its lamp, whoever changed it.
TEST_F(PanelWindowTest, LampsFollowTheRegister) {
    for (int i = 0; i < kLampCount; ++i) {
        SCOPED_TRACE(lampName(Lamp(i)));
        s().light(Lamp(i));
        window->render();
        for (int j = 0; j < kLampCount; ++j)
            EXPECT_EQ(shown(control(lampName(Lamp(j)))), i == j) << lampName(Lamp(j));
        s().putOut(Lamp(i));
    }
    window->render();
    for (int j = 0; j < kLampCount; ++j)
        EXPECT_FALSE(shown(control(lampName(Lamp(j)))));
}

struct TypingCase {
    const char* name;
    bool marker;
    QString typed;
    QString shownAfter;
};

class KeyboardFilter : public PanelFixture, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(KeyboardFilter, TypedCharactersGoThroughTheRegister) {
    const TypingCase& c = GetParam();
    if (c.marker) click(QStringLiteral("CHL"));
    s().entryFlag = 0;
    indicator()->setFocus();
    indicator()->end(false);
    type(indicator(), c.typed);
    EXPECT_EQ(indicator()->text(), c.shownAfter);
    EXPECT_EQ(s().TxtIND.text(), c.shownAfter);
    EXPECT_EQ(s().entryFlag, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Indicator, KeyboardFilter,
    ::testing::Values(TypingCase{"NothingWithoutMarker", false, "7:5", "0.00"},
                      TypingCase{"DigitsAndColon", true, "7:5", "0.007:5"},
                      TypingCase{"PointLettersAndCyrillicRefused", true, ".a,Ж ;", "0.00"},
                      TypingCase{"ControlCharactersRefused", true,
                                 QStringLiteral("\t\r\x1b") + QChar(0x16), "0.00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelWindowTest, EditingKeysWorkButBackspaceAndPasteDoNot) {
    click(QStringLiteral("CHL"));
    QLineEdit* ind = indicator();
    ind->end(false);
    QTest::keyClick(ind, Qt::Key_Backspace);
    EXPECT_EQ(ind->text(), QStringLiteral("0.00"));
    QApplication::clipboard()->setText(QStringLiteral("123"));
    QTest::sendKeyEvent(QTest::Click, ind, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    QTest::keyClick(ind, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ind->text(), QStringLiteral("0.00"));
    // Home, then a digit goes in at the caret; Delete removes the character after it.
    QTest::keyClick(ind, Qt::Key_Home);
    type(ind, QStringLiteral("9"));
    EXPECT_EQ(ind->text(), QStringLiteral("90.00"));
    QTest::keyClick(ind, Qt::Key_Delete);
    EXPECT_EQ(ind->text(), QStringLiteral("9.00"));
    EXPECT_EQ(s().TxtIND.text(), QStringLiteral("9.00"));
    EXPECT_EQ(ind->contextMenuPolicy(), Qt::NoContextMenu);
}

// A typed amount and a clicked digit meet in one text: the key appends to what was typed.
TEST_F(PanelWindowTest, KeysContinueFromTypedText) {
    click(QStringLiteral("CHL Command1"));
    type(indicator(), QStringLiteral("2"));
    click(QStringLiteral("Command3"));
    EXPECT_EQ(indicator()->text(), QStringLiteral("123"));
}

TEST_F(PanelWindowTest, JournalComesToTheFrontWithItsEndInView) {
    for (int i = 0; i < 200; ++i)
        s().TxtCHLK.append(QStringLiteral("\r\nline %1").arg(i));
    window->render();
    s().front = TapeId::Journal;
    s().TxtCHLK.moveCaretToEnd();
    window->render();
    const QObjectList order = window->children();
    EXPECT_GT(order.indexOf(journal()), order.indexOf(receiptTape()));
    EXPECT_EQ(journal()->lineCount(), 201);
    EXPECT_EQ(journal()->firstVisibleLine(), 201 - journal()->visibleRows());
    EXPECT_EQ(journal()->lineText(200), QStringLiteral("line 199"));
    s().front = TapeId::Receipt;
    window->render();
    EXPECT_GT(window->children().indexOf(receiptTape()), window->children().indexOf(journal()));
}

TEST_F(PanelWindowTest, ClosingByTheCloseBoxWritesTheJournalOnce) {
    s().TxtCHLK.append(u"\r\nчек");
    window->close();
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("\r\nчек\r\n"));
    EXPECT_EQ(rig.programEnd.ended, 1);
    EXPECT_EQ(rig.printer.calls, QStringList{QStringLiteral("close")});
}

TEST_F(PanelWindowTest, PowerKeyWritesTheJournalOnceAlsoWhenTheWindowThenCloses) {
    s().TxtCHLK.append(u"\r\nчек");
    click(QStringLiteral("VKL"));
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("\r\nчек\r\n"));
    rig.files.remove(kJournalFileName);
    window->close();
    EXPECT_FALSE(QFile::exists(rig.files.path(kJournalFileName)));
    EXPECT_EQ(rig.programEnd.ended, 1);
    EXPECT_EQ(rig.printer.calls, QStringList{QStringLiteral("close")});
}

} // namespace
} // namespace tarvel::test
