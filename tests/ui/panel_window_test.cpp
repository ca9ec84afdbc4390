// The panel window offscreen: controls at their places, one receipt through the real keys into
// the journal file, lamps, keyboard filter, tapes drawn by appends, the header typed in.

#include "panel_fixture.h"
#include "platform/panel_layout.h"
#include "storage/codepage.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QTextBlock>

namespace tarvel::test {

using PanelWindowTest = PanelFixture;

const auto shown = [](QWidget* w) { return w->isVisibleTo(w->parentWidget()); };

TEST_F(PanelWindowTest, EveryControlStandsAtItsPlaceAt96Dpi) {
    ASSERT_EQ(window->logicalDpiX(), 96);
    EXPECT_EQ(window->windowTitle(), "Tarvel (тренажер)");
    EXPECT_EQ(window->size(), QSize(567, 340)); // 8505 x 5100 twips, 15 to the pixel
    for (const layout::Control& c : layout::panelControls()) {
        ASSERT_NE(control(c.name), nullptr);
        EXPECT_EQ(control(c.name)->geometry(), layout::toPixels(c.rect, 96, 96)) << c.name;
    }
    EXPECT_EQ(window->findChildren<QAbstractButton*>().size(), 34);
    // Worked out by hand from the design's twips, independently of the table.
    const std::pair<const char*, QRect> spots[] = {
        {"CommandVV", {392, 256, 41, 57}}, {"CommandEnter", {456, 288, 89, 25}},
        {"VKL", {544, 24, 25, 41}},        {"TxtIND", {264, 56, 257, 41}},
        {"TxtCHLK", {16, 8, 137, 209}},    {"Shap1", {184, 64, 9, 73}},
        {"Lbd6", {520, 128, 9, 9}},        {"LblClish", {224, 272, 9, 9}}};
    for (const auto& [name, px] : spots)
        EXPECT_EQ(control(name)->geometry(), px) << name;
    EXPECT_TRUE(QFontInfo(receiptTape()->font()).fixedPitch()); // the receipt's columns line up
}

TEST_F(PanelWindowTest, StartsWithTheHeaderAndDrawsEveryLampAsTheRegisterSetsIt) {
    EXPECT_EQ(indicator()->text(), "0.00");
    EXPECT_EQ(dynamic_cast<QLineEdit*>(control("TxtSEC"))->text(), "01");
    EXPECT_EQ(receiptTape()->toPlainText(), QString(kDefaultHeader).replace("\r\n", "\n"));
    EXPECT_TRUE(receiptTape()->isReadOnly());
    EXPECT_GT(window->children().indexOf(receiptTape()), window->children().indexOf(journal()));
    EXPECT_FALSE(shown(control("Shap1")));
    for (int i = -1; i < kLampCount; ++i) { // none lit, then each alone
        if (i >= 0) s().light(Lamp(i));
        window->render();
        for (int j = 0; j < kLampCount; ++j)
            EXPECT_EQ(shown(control(lampName(Lamp(j)))), i == j) << i << " lit, " << j;
        if (i >= 0) s().putOut(Lamp(i));
    }
}

// 150 and 51 in department 01, the total, cash with 500 tendered. The power key then writes the
// journal once: closing the window afterwards writes nothing more.
TEST_F(PanelWindowTest, OneReceiptFromTheKeysToTheJournalFile) {
    click("Command1 Command5 Command0");
    EXPECT_EQ(indicator()->text(), "150");
    click("CommandVV Command5 Command1 CommandVV CommandEnter NL");
    const QString receipt = kDefaultHeader +
                            "\r\n 01  150 руб\r\n 01  51 руб\r\nИТОГО\r\n201руб\r\n"
                            "КАССИР ______\r\n          /_______/\r\n******************\r\n"
                            "05.12.2026 21:30:15\r\n******************\r\n ВНЕСЕНИЕ НАЛИЧНЫХ";
    EXPECT_EQ(receiptTape()->toPlainText(), QString(receipt).replace("\r\n", "\n"));
    click("Command5 Command0 Command0 CommandVV");
    EXPECT_EQ(indicator()->text(), "0");
    EXPECT_EQ(receiptTape()->toPlainText(), QString(kDefaultHeader).replace("\r\n", "\n"));
    click("VKL");
    const QString journal = "\r\n" + receipt + "\r\n 500 руб\r\n СДАЧА  299 руб\r\n";
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), encodeWindows1251(journal).bytes);
    rig.files.remove(kJournalFileName);
    window->close();
    EXPECT_FALSE(QFile::exists(rig.files.path(kJournalFileName)));
    EXPECT_EQ(rig.programEnd.ended, 1);
    EXPECT_EQ(rig.printer.calls.count("close"), 1);
}

TEST_F(PanelWindowTest, CloseBoxWritesTheJournalAndEndsTheProgram) {
    s().TxtCHLK.append(u"\r\nчек");
    window->close();
    EXPECT_EQ(rig.files.readText(kJournalFileName), "\r\nчек\r\n");
    EXPECT_EQ(rig.programEnd.ended, 1);
    EXPECT_EQ(rig.printer.calls, QStringList{"close"});
}

// Only while the marker Shap1 shows, and only digits and ":"; the entry flag stays as it was.
TEST_F(PanelWindowTest, KeyboardFilterLetsDigitsAndColonThroughWhileTheMarkerShows) {
    const std::tuple<bool, QString, QString> cases[] = {
        {false, "7:5", "0.00"}, {true, "7:5", "0.007:5"}, {true, ".a,Ж ;\t\r\x1b", "0.00"}};
    for (const auto& [marker, typed, after] : cases) {
        if (marker != shown(control("Shap1"))) click("CHL");
        s().TxtIND.setText("0.00");
        window->render();
        type(indicator(), typed);
        QTest::keyClick(indicator(), Qt::Key_Backspace);
        EXPECT_EQ(indicator()->text(), after) << typed.toStdString();
        EXPECT_EQ(s().TxtIND.text(), after);
        EXPECT_EQ(s().entryFlag, 0);
    }
    click("Command1"); // a digit key goes on from the typed text
    type(indicator(), "2");
    click("Command3");
    EXPECT_EQ(s().TxtIND.text(), "123");
}

TEST_F(PanelWindowTest, ReceiptAppendsAreDrawnAsAppendsWithTheLatestLineInView) {
    ReceiptTapeView* tape = receiptTape();
    tape->document()->firstBlock().setUserState(7); // a rewrite of the tape would lose it
    s().TxtCHL.append(u"\r\n 01  150 руб\r");
    window->render();
    s().TxtCHL.append(u"\nИТОГО\nа\rб"); // the LF of a CR LF drawn a piece earlier
    s().TxtCHL.moveCaretToEnd();
    window->render();
    EXPECT_EQ(tape->document()->firstBlock().userState(), 7);
    EXPECT_TRUE(tape->toPlainText().endsWith("******************\n\n 01  150 руб\nИТОГО\nа\nб"));
    EXPECT_EQ(tape->textCursor().position(), tape->document()->characterCount() - 1);
}

// A journal of some 20 MB: reports brought to the front with its end in view cost only their
// own lines, and a CR LF split between two appends is one line break.
TEST_F(PanelWindowTest, LongJournalGrowsByItsAppendedLinesQuickly) {
    QElapsedTimer timer;
    timer.start();
    s().TxtCHLK.setText(QString("\r\n 01  150 руб").repeated(1'500'000));
    click("KZ Btn1D");
    s().TxtCHLK.append(u"\r");
    window->render();
    s().TxtCHLK.append(u"\nend");
    click("Btn1D");
    EXPECT_LT(timer.elapsed(), 2000);
    const QString& text = s().TxtCHLK.text();
    const qsizetype lines = journal()->lineCount();
    EXPECT_EQ(lines, text.count("\r\n") + 1);
    EXPECT_EQ(journal()->lineText(lines - 1), text.mid(text.lastIndexOf('\n') + 1));
    EXPECT_EQ(journal()->firstVisibleLine(), lines - journal()->visibleRows());
}

// КР, 3Т opens the header; the typing goes into the tape at once, so a later append follows it
// and КР saves exactly what the trainee sees.
TEST_F(PanelWindowTest, TypedHeaderIsSavedExactly) {
    expectMessage("Впишите новое клише");
    click("KR Btn3T");
    ReceiptTapeView* tape = receiptTape();
    tape->selectAll();
    type(tape, "ООО Ромашка\rИНН\u00a077");
    EXPECT_EQ(s().TxtCHL.text(), "ООО Ромашка\r\nИНН\u00a077");
    rig.reg->appendGoodsEntry("Хлеб 25");
    window->render();
    type(tape, "!");
    click("KR");
    EXPECT_TRUE(tape->isReadOnly());
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName),
              encodeWindows1251(u"ООО Ромашка\r\nИНН\u00a077\r\nХлеб 25!\r\n").bytes);
}

} // namespace tarvel::test
