// The tapes on screen: line breaks as the register keeps them, appends drawn as appends, the
// header typed into the receipt tape read back exactly, and a long journal that stays quick.

#include "panel_fixture.h"
#include "platform/tape_views.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace tarvel::test {
namespace {

TEST(ViewText, EveryBreakOfTheTapeIsOneLineBreak) {
    const struct {
        QString model;
        qsizetype from;
        QString view;
    } cases[] = {
        {QStringLiteral("a\r\nb"), 0, QStringLiteral("a\nb")},
        {QStringLiteral("a\rb\nc"), 0, QStringLiteral("a\nb\nc")},
        {QStringLiteral("a\r\r\n\n"), 0, QStringLiteral("a\n\n\n")},
        {QStringLiteral("a\r\nb"), 1, QStringLiteral("\nb")},
        // The LF of a pair whose CR was drawn with the previous piece adds no break.
        {QStringLiteral("a\r\nb"), 2, QStringLiteral("b")},
        {QStringLiteral("a\n\nb"), 2, QStringLiteral("\nb")},
        {QStringLiteral("ab"), 2, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(viewTextOf(c.model, c.from), c.view) << c.from;
}

TEST(ViewText, TheEditorsBreaksBecomeCrLf) {
    const QString nbsp(QChar(0xA0));
    EXPECT_EQ(modelTextOfView(u"a\u2029b\u2028c\nd"), QStringLiteral("a\r\nb\r\nc\r\nd"));
    EXPECT_EQ(modelTextOfView(u"a\r\nb\rc"), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(modelTextOfView(QStringLiteral("x") + nbsp + QStringLiteral("\t\u2029")),
              QStringLiteral("x") + nbsp + QStringLiteral("\t\r\n"));
}

// Feeds the text in pieces and compares the lines with a split of the whole text.
TEST(LineIndex, AppendsOnlyExtendTheIndex) {
    const QStringList pieces[] = {
        {QString()},
        {QStringLiteral("one")},
        {QStringLiteral("\r\none"), QStringLiteral("\r\ntwo\r\n")},
        {QStringLiteral("a\r"), QStringLiteral("\nb")}, // a pair split between appends
        {QStringLiteral("a\r"), QStringLiteral("\rb\n"), QStringLiteral("\nc")},
        {QStringLiteral("lone\nlf\rcr")},
    };
    const QStringList expected[] = {
        {QString()},
        {QStringLiteral("one")},
        {QString(), QStringLiteral("one"), QStringLiteral("two"), QString()},
        {QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("a"), QString(), QStringLiteral("b"), QString(), QStringLiteral("c")},
        {QStringLiteral("lone"), QStringLiteral("lf"), QStringLiteral("cr")},
    };
    for (std::size_t k = 0; k < std::size(pieces); ++k) {
        SCOPED_TRACE(k);
        LineIndex index;
        QString text;
        for (const QString& piece : pieces[k]) {
            text += piece;
            index.extend(text);
        }
        QStringList lines;
        for (qsizetype i = 0; i < index.lineCount(); ++i)
            lines << index.line(text, i).toString();
        EXPECT_EQ(lines, expected[k]);
    }
}

TEST(LineIndex, ExtendsInStepsAndKnowsTheLongestLine) {
    const QString text = QStringLiteral("ab\r\nabcdef\r\nabc");
    LineIndex index;
    EXPECT_FALSE(index.extend(text, 5));
    EXPECT_FALSE(index.complete(text));
    EXPECT_TRUE(index.extend(text, 100));
    EXPECT_EQ(index.lineCount(), 3);
    EXPECT_EQ(index.longestLine(), 6);
}

using TapeViews = PanelFixture;

TEST_F(TapeViews, ReceiptAppendsAreDrawnAsAppends) {
    ReceiptTapeView* tape = receiptTape();
    // A mark on the first line: a rewrite of the whole tape would lose it.
    tape->document()->firstBlock().setUserState(7);
    s().TxtCHL.append(u"\r\n 01  150 руб\r");
    window->render();
    s().TxtCHL.append(u"\nИТОГО\nа\rб");
    window->render();
    EXPECT_EQ(tape->document()->firstBlock().userState(), 7);
    EXPECT_EQ(tape->toPlainText(),
              QStringLiteral("   ИП ТОРБИН Т.Т.\n ИНН 771313131313\n******************\n"
                             "\n 01  150 руб\nИТОГО\nа\nб"));
    // A replaced text is drawn anew.
    s().TxtCHL.setText(QStringLiteral("x\r\n"));
    window->render();
    EXPECT_EQ(tape->toPlainText(), QStringLiteral("x\n"));
}

TEST_F(TapeViews, ReceiptShowsItsLatestLineWhenTheCaretGoesToTheEnd) {
    for (int i = 0; i < 100; ++i)
        s().TxtCHL.append(QStringLiteral("\r\nline %1").arg(i));
    s().TxtCHL.moveCaretToEnd();
    window->render();
    EXPECT_FALSE(s().TxtCHL.caretToEnd);
    EXPECT_EQ(receiptTape()->textCursor().position(),
              receiptTape()->document()->characterCount() - 1);
    EXPECT_GT(receiptTape()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(receiptTape()->verticalScrollBar()->value(),
              receiptTape()->verticalScrollBar()->maximum());
}

// КР, 3Т opens the header; the trainee types into the tape; a key appends to the typing; КР
// saves exactly the text the trainee sees.
TEST_F(TapeViews, TypedHeaderIsSavedExactly) {
    expectMessage(QStringLiteral("Впишите новое клише"));
    click(QStringLiteral("KR Btn3T"));
    ReceiptTapeView* tape = receiptTape();
    ASSERT_FALSE(tape->isReadOnly());
    tape->setFocus();
    tape->selectAll();
    type(tape, QStringLiteral("ООО Ромашка"));
    QTest::keyClick(tape, Qt::Key_Return);
    type(tape, QStringLiteral("ИНН") + QChar(0xA0) + QStringLiteral("77"));
    const QString typed = QStringLiteral("ООО Ромашка\r\nИНН") + QChar(0xA0) + QStringLiteral("77");
    EXPECT_EQ(s().TxtCHL.text(), typed);
    rig.reg->appendGoodsEntry(QStringLiteral("Хлеб 25"));
    window->render();
    EXPECT_EQ(s().TxtCHL.text(), typed + QStringLiteral("\r\nХлеб 25"));
    type(tape, QStringLiteral("!"));
    click(QStringLiteral("KR"));
    EXPECT_TRUE(tape->isReadOnly());
    EXPECT_EQ(rig.files.readText(kHeaderFileName), typed + QStringLiteral("\r\nХлеб 25!\r\n"));
}

TEST_F(TapeViews, JournalLinesGrowByTheAppendedLines) {
    JournalView* view = journal();
    const qsizetype before = view->lineCount();
    s().TxtCHLK.append(u"\r\n ИС  150\r\n********");
    window->render();
    EXPECT_EQ(view->lineCount(), before + 2);
    s().TxtCHLK.append(u"\r");
    window->render();
    s().TxtCHLK.append(u"\nend");
    window->render();
    EXPECT_EQ(view->lineCount(), before + 3);
    EXPECT_EQ(view->lineText(before + 2), QStringLiteral("end"));
}

// A journal of some 20 MB: the panel opens without waiting for it, and bringing it to the
// front with a new report line stays quick. (A text widget holding the whole journal takes
// seconds for either.)
TEST_F(TapeViews, LongJournalStaysQuick) {
    QString journalText;
    const QString receipt =
        QStringLiteral("\r\n   ИП ТОРБИН Т.Т.\r\n 01  150 руб\r\nИТОГО\r\n150руб");
    while (journalText.size() < 20'000'000)
        journalText += receipt;
    rig.files.writeText(kJournalFileName, journalText);
    window.reset();
    rig.restart();

    QElapsedTimer timer;
    timer.start();
    openPanel();
    EXPECT_LT(timer.elapsed(), 1500) << "opening the panel";

    // Journal mode, then 1Д writes its report and brings the journal forward, end in view.
    const qsizetype before = s().TxtCHLK.text().size();
    timer.restart();
    click(QStringLiteral("KZ Btn1D"));
    EXPECT_LT(timer.elapsed(), 500) << "first time in front";
    ASSERT_EQ(s().front, TapeId::Journal);
    JournalView* view = journal();
    EXPECT_GT(window->children().indexOf(view), window->children().indexOf(receiptTape()));
    const qsizetype lines = view->lineCount();
    EXPECT_EQ(view->firstVisibleLine(), lines - view->visibleRows());
    const QString& text = s().TxtCHLK.text();
    EXPECT_EQ(view->lineText(lines - 1), text.mid(text.lastIndexOf(QLatin1Char('\n')) + 1));
    const qsizetype perReport = text.mid(before).count(kCrLf.toString());
    EXPECT_EQ(perReport, 1);

    timer.restart();
    click(QStringLiteral("Btn1D Btn1D"));
    EXPECT_LT(timer.elapsed(), 200) << "two more reports";
    EXPECT_EQ(view->lineCount(), lines + 2 * perReport);
}

} // namespace
} // namespace tarvel::test
