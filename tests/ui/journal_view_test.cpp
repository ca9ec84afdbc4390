// The journal view and the tapes' text as drawn: pieces, cuts and odd headers.

#include "support/named_rows.h"
#include "support/panel_fixture.h"

#include <QScrollBar>
#include <random>

namespace tarvel::test {
namespace {

class JournalViewTest : public PanelFixture {};

TEST_F(JournalViewTest, DrawnOnlyInFrontWithItsEndInView) {
    QString text; // short lines, then lines far wider than the view
    for (int i = 0; i < 400; ++i)
        text += QString::number(i) + (i < 380 ? "" : " ИТОГО " + QString(60, u'Ж')) + "\r\n";
    restartWith(kJournalFileName, text);
    // Not drawn behind the tape: indexing tens of megabytes would hold up the panel's start.
    const QImage behind = journal()->viewport()->grab().toImage();
    QImage background(behind.size(), behind.format());
    background.fill(behind.pixel(0, 0));
    EXPECT_TRUE(behind == background) << "drawn behind the receipt tape";

    click("КЗ 1Д"); // КЗ and 1Д bring it forward at its end
    QTest::qWait(50);
    JournalView* view = journal();
    EXPECT_TRUE(view->viewport()->grab().toImage() != behind) << "not drawn in front";
    ASSERT_TRUE(view->horizontalScrollBar()->isVisible());
    EXPECT_EQ(view->firstVisibleLine(), view->lineCount() - view->visibleRows());
    view->verticalScrollBar()->setValue(10);
    click("2В"); // 2В brings the end back into view from wherever the trainee scrolled
    QTest::qWait(20);
    EXPECT_EQ(view->firstVisibleLine(), view->lineCount() - view->visibleRows());
}

// Before its index is complete the journal shows the very lines it shows after: at its end and
// at its top; and once complete it stays on the line it showed in between.
TEST_F(JournalViewTest, ShowsTheSameLinesBeforeItsIndexIsComplete) {
    QString text;
    for (int i = 0; i < 300000; ++i)
        text += QStringLiteral("чек %1\r\n").arg(i);
    restartWith(kJournalFileName, text);
    click("КЗ 1Д");
    JournalView* view = journal();
    QScrollBar* bar = view->verticalScrollBar();
    const auto shown = [&] { return view->viewport()->grab().toImage(); };
    const QImage end = shown();
    bar->setValue(0);
    const QImage top = shown();
    bar->setValue(bar->maximum() / 2);
    const QImage between = shown();
    EXPECT_EQ(view->lineCount(), 300002); // the index completed: the report, the empty last line
    EXPECT_TRUE(shown() == between) << "moved off the line it showed";
    bar->setValue(0);
    EXPECT_TRUE(shown() == top);
    bar->setValue(bar->maximum());
    EXPECT_TRUE(shown() == end);
}

// The index built in random pieces and steps, the walk back from the end and the search by
// position find the lines of the view's text, in texts with every kind of line break.
TEST(LineIndexTest, SameLinesForwardBackwardAndByPosition) {
    const QString alphabet = QStringLiteral("ab Ж\r\n\r\n");
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        QString text;
        for (int k = int(random() % 600); k > 0; --k)
            text += alphabet[qsizetype(random() % alphabet.size())];
        SCOPED_TRACE(text.toStdString());
        const QStringList lines = viewTextOf(text).split(u'\n');
        LineIndex index;
        for (qsizetype grown = 0; grown < text.size();) {
            grown = std::min(text.size(), grown + 1 + qsizetype(random() % 40));
            while (!index.extend(QStringView(text).first(grown), 1 + qsizetype(random() % 50))) {
            }
        }
        ASSERT_EQ(index.lineCount(), lines.size());
        qsizetype longest = 0;
        qsizetype start = lineStartAt(text, text.size());
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            EXPECT_EQ(index.line(text, i).toString(), lines[i]) << i;
            EXPECT_EQ(index.startOf(text, i), start) << i;
            EXPECT_EQ(index.lineAt(text, start), i);
            EXPECT_EQ(text.sliced(start, lineEnd(text, start) - start), lines[i]) << i;
            longest = std::max(longest, lines[i].size());
            if (i > 0) start = lineBefore(text, start);
        }
        EXPECT_EQ(index.longestLine(), longest);
    }
}

// Drawn in two pieces as whole, and indexed so: CR LF, lone CR, lone LF one break each, even split.
struct PiecesRow : NamedRow {
    const char16_t* text;
    qsizetype cut; // where the first piece ends
    const char16_t* shown;
};

class TapePieces : public testing::TestWithParam<PiecesRow> {};

TEST_P(TapePieces, DrawnInTwoPiecesAsWhole) {
    const QString text = QString::fromUtf16(GetParam().text);
    const QString shown = QString::fromUtf16(GetParam().shown);
    EXPECT_EQ(viewTextOf(text.left(GetParam().cut)) + viewTextOf(text, GetParam().cut), shown);
    LineIndex index;
    index.extend(text.left(GetParam().cut));
    index.extend(text);
    const QStringList lines = shown.split(u'\n');
    ASSERT_EQ(index.lineCount(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(index.line(text, i).toString(), lines[i]) << i;
}

const PiecesRow kPieces[] = {{"CrLfSplit", u"ИТОГО\r\nend", 6, u"ИТОГО\nend"},
                             {"LoneCrThenLf", u"а\r\rб\nв", 2, u"а\n\nб\nв"},
                             {"CrBeforeCrLf", u"а\r\r\nб", 2, u"а\n\nб"},
                             {"EndsInCrLf", u"\r\n 01  150 руб\r\n", 16, u"\n 01  150 руб\n"}};

INSTANTIATE_TEST_SUITE_P(Texts, TapePieces, testing::ValuesIn(kPieces), rowName);

// An odd header is drawn cut on the locked tape but kept whole, and shown whole when opened for
// editing, so what is saved is what is seen.
struct OddHeader : NamedRow {
    QString text;
    QString firstShownLine;
    qsizetype shownLines;
};

class OddHeaderTest : public PanelFixture, public testing::WithParamInterface<OddHeader> {};

TEST_P(OddHeaderTest, DrawnCutButKeptWhole) {
    const OddHeader& header = GetParam();
    restartWith(kHeaderFileName, header.text);
    EXPECT_EQ(s().TxtCHL.text(), header.text);
    const QStringList shown = receiptTape()->toPlainText().split(u'\n');
    EXPECT_EQ(shown.first(), header.firstShownLine);
    EXPECT_EQ(shown.size(), header.shownLines);
    expectedMessages << "Впишите новое клише";
    click("КР 3Т");
    EXPECT_EQ(receiptTape()->toPlainText(), viewTextOf(header.text));
    EXPECT_EQ(s().TxtCHL.text(), header.text);
}

const OddHeader kOddHeaders[] = {
    {"OrdinaryLines", "ООО Ромашка\r\n", "ООО Ромашка", 2},
    {"OneLineOf5000", QString(5000, u'Ж') + "\r\n", QString(2000, u'Ж') + QChar(0x2026), 2},
    {"TwentyThousandLines", QString("x\r\n").repeated(20000), QString(QChar(0x2026)), 10001},
};

INSTANTIATE_TEST_SUITE_P(Headers, OddHeaderTest, testing::ValuesIn(kOddHeaders), rowName);

// Lines cut at 2000 characters with "…"; only the last lines, after a line "…"; CR LF one break.
struct CutRow : NamedRow {
    QString text;
    qsizetype lines;
    QString shown;
    bool cut;
};

class ShownTapeText : public testing::TestWithParam<CutRow> {};

TEST_P(ShownTapeText, CutsOnlyWhatIsTooLarge) {
    bool cut = !GetParam().cut;
    EXPECT_EQ(shownTapeText(GetParam().text, cut, GetParam().lines), GetParam().shown);
    EXPECT_EQ(cut, GetParam().cut);
}

const QString kLong = QString(2000, u'Ж');
const CutRow kCuts[] = {
    {"Empty", "", 3, "", false},
    {"FewLines", "а\r\nб\r\n", 3, "а\nб\n", false},
    {"LoneBreaks", "а\rб\nв\r", 4, "а\nб\nв\n", false},
    {"LineAtTheLimit", kLong + "\r\n", 3, kLong + "\n", false},
    {"LineOverTheLimit", kLong + "ЖЖ\r\nend", 3, kLong + QChar(0x2026) + "\nend", true},
    {"LastLinesAfterCrLf", "1\r\n2\r\n3\r\n4", 2, QString(QChar(0x2026)) + "\n3\n4", true},
    {"LastLinesAfterLoneLf", "1\n2\n3\n4", 2, QString(QChar(0x2026)) + "\n3\n4", true},
    {"LastLinesAfterMixedBreaks", "1\r\r\n2\n3", 2, QString(QChar(0x2026)) + "\n2\n3", true},
    {"AllLinesFit", "1\r\r\n2\n3", 4, "1\n\n2\n3", false},
    {"LastLineEmpty", "1\r\n2\r\n", 2, QString(QChar(0x2026)) + "\n2\n", true},
};

INSTANTIATE_TEST_SUITE_P(Texts, ShownTapeText, testing::ValuesIn(kCuts), rowName);

} // namespace
} // namespace tarvel::test
