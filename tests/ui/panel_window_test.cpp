// The panel window offscreen, driven through its real keys and widgets.

#include "panel_fixture.h"
#include "platform/panel_layout.h"
#include "storage/codepage.h"

#include <QFontInfo>
#include <QTextBlock>

namespace tarvel::test {

using PanelWindowTest = PanelFixture;

const auto shown = [](QWidget* w) { return w->isVisibleTo(w->parentWidget()); };

TEST_F(PanelWindowTest, ControlsStandAtTheirPlacesAndShowTheRegister) {
    ASSERT_EQ(window->logicalDpiX(), 96);
    EXPECT_EQ(window->windowTitle(), "Tarvel (тренажер)");
    EXPECT_EQ(window->size(), QSize(567, 340)); // 8505 x 5100 twips, 15 to the pixel
    for (const layout::Control& c : layout::panelControls()) {
        ASSERT_NE(control(c.name), nullptr);
        EXPECT_EQ(control(c.name)->geometry(), toPixels(c.rect, 96, 96))
            << c.name.toString().toStdString();
    }
    EXPECT_EQ(window->findChildren<QAbstractButton*>().size(), 34);
    EXPECT_EQ(control(u"CommandVV")->geometry(), QRect(392, 256, 41, 57)); // by hand, from twips
    EXPECT_EQ(control(u"TxtCHLK")->geometry(), QRect(16, 8, 137, 209));
    EXPECT_TRUE(QFontInfo(receiptTape()->font()).fixedPitch()); // the receipt's columns line up
    EXPECT_EQ(dynamic_cast<QLineEdit*>(control(u"TxtSEC"))->text(), "01");
    EXPECT_EQ(receiptTape()->toPlainText(), QString(kDefaultHeader).replace("\r\n", "\n"));
    EXPECT_GT(window->children().indexOf(receiptTape()), window->children().indexOf(journal()));
    for (int i = -1; i < kLampCount; ++i) { // none lit, then each alone
        s().lamps = {};
        if (i >= 0) s().light(Lamp(i));
        window->render();
        for (int j = 0; j < kLampCount; ++j)
            EXPECT_EQ(shown(control(QString::fromLatin1(lampName(Lamp(j))))), i == j)
                << i << " lit, " << j;
    }
}

// 150 and 51, the total, cash with 500 tendered; the power key writes the journal and ends.
TEST_F(PanelWindowTest, OneReceiptFromTheKeysToTheJournalFile) {
    click("1 5 0");
    EXPECT_EQ(indicator()->text(), "150");
    click("ВВ 5 1 ВВ = НЛ");
    const QString receipt = kDefaultHeader +
                            "\r\n 01  150 руб\r\n 01  51 руб\r\nИТОГО\r\n201руб\r\n"
                            "КАССИР ______\r\n          /_______/\r\n******************\r\n"
                            "05.12.2026 21:30:15\r\n******************\r\n ВНЕСЕНИЕ НАЛИЧНЫХ";
    EXPECT_EQ(receiptTape()->toPlainText(), QString(receipt).replace("\r\n", "\n"));
    click("5 0 0 ВВ");
    EXPECT_EQ(receiptTape()->toPlainText(), QString(kDefaultHeader).replace("\r\n", "\n"));
    click("VKL");
    const QString journal = "\r\n" + receipt + "\r\n 500 руб\r\n СДАЧА  299 руб\r\n";
    EXPECT_EQ(rig.files.readBytes(kJournalFileName), encodeWindows1251(journal).bytes);
    EXPECT_EQ(std::pair(rig.programEnd.ended, rig.printer.calls.count("close")),
              std::pair(1, qsizetype(1)));
}

TEST_F(PanelWindowTest, CloseBoxWritesTheJournalAndEndsTheProgram) {
    s().TxtCHLK.append(u"\r\nчек");
    window->close();
    EXPECT_EQ(rig.files.readText(kJournalFileName), "\r\nчек\r\n");
    EXPECT_EQ(rig.programEnd.ended, 1);
    EXPECT_EQ(rig.printer.calls, QStringList{"close"});
}

// Typed digits and ":" pass only while the marker Shap1 shows; keys and typing then take turns.
TEST_F(PanelWindowTest, KeyboardFilterLetsDigitsAndColonThroughWhileTheMarkerShows) {
    type(indicator(), "7");
    click("CHL");
    type(indicator(), "7\x1b.:a,Ж ;\t\r5");
    QTest::keyClick(indicator(), Qt::Key_Backspace);
    EXPECT_EQ(indicator()->text() + "|" + s().TxtIND.text(), "0.007:5|0.007:5");
    EXPECT_EQ(s().entryFlag, 0);
    click("1");
    type(indicator(), "2");
    click("3");
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

// A journal of some 20 MB: reports brought to the front cost only their own lines, and a CR LF
// split between two appends is one line break.
TEST_F(PanelWindowTest, LongJournalGrowsByItsAppendedLinesQuickly) {
    const auto started = std::chrono::steady_clock::now();
    s().TxtCHLK.setText(QString("\r\n 01  150 руб").repeated(1'500'000));
    click("КЗ 1Д");
    s().TxtCHLK.append(u"\r");
    window->render();
    s().TxtCHLK.append(u"\nend");
    click("1Д");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(journal()->lineCount(), s().TxtCHLK.text().count("\r\n") + 1);
    EXPECT_EQ(journal()->lineText(journal()->lineCount() - 2), "end");
}

// КР, 3Т opens the header; the typing goes into the tape at once, so a later append follows it;
// КР saves exactly what the trainee sees and СБ brings it back as the header.
TEST_F(PanelWindowTest, TypedHeaderIsSavedExactly) {
    expectedMessages << "Впишите новое клише";
    click("КР 3Т");
    ReceiptTapeView* tape = receiptTape();
    tape->selectAll();
    type(tape, "ООО Ромашка\rИНН\u00a077");
    rig.reg->appendGoodsEntry("Хлеб 25");
    window->render();
    type(tape, "!");
    click("КР");
    EXPECT_TRUE(tape->isReadOnly());
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName),
              encodeWindows1251(u"ООО Ромашка\r\nИНН\u00a077\r\nХлеб 25!\r\n").bytes);
    click("СБ");
    EXPECT_EQ(s().TxtCHL.text(), "ООО Ромашка\r\nИНН\u00a077\r\nХлеб 25!\r\n");
}

} // namespace tarvel::test
