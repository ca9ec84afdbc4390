// The panel window offscreen, driven through its real keys and widgets.

#include "storage/codepage.h"
#include "support/panel_fixture.h"
#include "ui/panel_layout.h"

#include <QFontInfo>
#include <QTextBlock>

namespace tarvel::test {

using PanelWindowTest = PanelFixture;

const auto shown = [](QWidget* w) { return w->isVisibleTo(w->parentWidget()); };

// At 96 DPI a pixel is 15 twips, and the layout table's measures are whole pixels there.
QRect atNinetySixDpi(const TwipsRect& t) {
    const auto pixels = [](float twips) {
        EXPECT_EQ(int(twips) % 15, 0) << twips << " twips are no whole pixel";
        return int(twips) / 15;
    };
    return QRect(pixels(t.left), pixels(t.top), pixels(t.width), pixels(t.height));
}

TEST_F(PanelWindowTest, ControlsStandAtTheirPlacesAndShowTheRegister) {
    ASSERT_EQ(window->logicalDpiX(), 96);
    for (const layout::Control& c : layout::panelControls())
        EXPECT_EQ(control(c.name)->geometry(), atNinetySixDpi(c.rect))
            << c.name.toString().toStdString();
    if (panelFacesInstalled()) { // the receipt's columns line up
        EXPECT_TRUE(QFontInfo(receiptTape()->font()).fixedPitch());
    }
    EXPECT_EQ(dynamic_cast<QLineEdit*>(control(u"TxtSEC"))->text(), "01");
    EXPECT_EQ(receiptTape()->toPlainText(), QString(kDefaultHeader).replace("\r\n", "\n"));
    EXPECT_GT(window->children().indexOf(receiptTape()), window->children().indexOf(journal()));
}

// Each lamp shows while the register has it lit, and only then.
TEST_F(PanelWindowTest, LampsShowWhatTheRegisterLit) {
    expectedMessages << "Впишите новое клише";
    const std::pair<const char*, const char*> steps[] = {// keys, then the lamps lit
                                                         {"", ""},
                                                         {"ФЦ", "Lbd1"},
                                                         {"ФЦ КН", "Lbd2"},
                                                         {"КН КР", "Lbd3"},
                                                         {"КР КЛ", "Lbd4"},
                                                         {"КЛ КЧ", "Lbd5"},
                                                         {"КЧ КЗ 2В", "Lbd6 LblZ"},
                                                         {"КЗ 5 -", "Lblmin LblZ"},
                                                         {"СБ 1 ВВ = НЛ", "LblNL LblVV LblPrint"},
                                                         {"СБ КР 3Т", "Lbd3 LblClish"}};
    for (const auto& [keys, lit] : steps) {
        click(keys);
        const QStringList lamps = QString(lit).split(u' ', Qt::SkipEmptyParts);
        for (const layout::Control& c : layout::panelControls())
            if (c.kind == layout::Kind::LampBox) {
                EXPECT_EQ(shown(control(c.name)), lamps.contains(c.name.toString()))
                    << keys << ": " << c.name.toString().toStdString();
            }
    }
}

// The Windows trial under wine clicks the same keys and expects tests/data/receipt_by_clicks.txt.
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
    QFile clicked(TARVEL_SOURCE_DIR "/tests/data/receipt_by_clicks.txt");
    ASSERT_TRUE(clicked.open(QIODevice::ReadOnly));
    EXPECT_EQ(clicked.readAll(), encodeWindows1251(QString(journal).replace("05.12.2026 21:30:15",
                                                                            "XX.XX.XXXX XX:XX:XX"))
                                     .bytes);
    EXPECT_EQ(std::pair(rig.programEnd.ended, rig.printer.calls.count("close")),
              std::pair(1, qsizetype(1)));
}

TEST_F(PanelWindowTest, CloseBoxWritesTheJournalAndEndsTheProgram) {
    click("КЗ 1Д");
    rig.files.remove(kJournalFileName); // gone: only the close writes it back
    window->close();
    EXPECT_EQ(rig.files.readText(kJournalFileName), "\r\n ИС  0 руб\r\n");
    EXPECT_EQ(rig.programEnd.ended, 1);
    EXPECT_EQ(rig.printer.calls, QStringList{"close"});
}

// Started as the program starts it, the panel comes up first and the journal follows by itself,
// read once the panel is on screen.
TEST_F(PanelWindowTest, JournalReadAfterTheFirstPaintArrivesWithoutAKey) {
    rig.files.writeText(kJournalFileName, QStringLiteral("старый\r\n"));
    window.reset();
    rig.restart(/*load=*/false);
    rig.reg->start(/*journalInBackground=*/true);
    openPanel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return s().TxtCHLK == u"старый\r\n"; }));
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
    rig.reg->appendGoodsEntry("ИТОГО\nа\rб");
    window->render();
    click("1 5 0 ВВ");
    EXPECT_EQ(tape->document()->firstBlock().userState(), 7);
    EXPECT_TRUE(tape->toPlainText().endsWith("******************\n\nИТОГО\nа\nб\n 01  150 руб"));
    EXPECT_EQ(tape->textCursor().position(), tape->document()->characterCount() - 1);
}

// The columns of a field where the orange of its text shows.
std::vector<int> inkColumns(QWidget* field) {
    const QImage image = field->grab().toImage();
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y).blue() < 128) {
                columns.push_back(x);
                break;
            }
    return columns;
}

// A long amount stops short of the department field; a long department shows from its start.
TEST_F(PanelWindowTest, IndicatorAndDepartmentStayReadable) {
    if (!panelFacesInstalled()) GTEST_SKIP() << "the panel's faces are not installed here";
    click(QString("1 2 3 4 5 ").repeated(6));
    const std::vector<int> amount = inkColumns(indicator());
    ASSERT_FALSE(amount.empty());
    EXPECT_GE(amount.front(), 6);
    QWidget* department = control(u"TxtSEC");
    click("ВТ"); // "01  -"
    std::vector<int> ink = inkColumns(department);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.front(), 2);
    EXPECT_LT(ink.back(), department->width() - 2);
    click("ВТ ВТ ВТ"); // "01  -  -  -  -": too long at any size, shown from its start
    ink = inkColumns(department);
    ASSERT_FALSE(ink.empty());
    EXPECT_TRUE(ink.front() >= 2 && ink.front() <= 12) << ink.front();
}

// Typing goes into the tape at once, so a later append follows it; КР saves exactly what is seen.
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
