// The journal view while the event loop runs on: its end stays in view once the wide lines it
// paints bring up the horizontal scroll bar, and it is never drawn while it lies behind the
// receipt tape.

#include "panel_fixture.h"
#include "platform/tape_views.h"

#include <QScrollBar>
#include <QTest>

namespace tarvel::test {
namespace {

class JournalViewTest : public PanelFixture {
  protected:
    // A journal whose first lines are short and whose last lines are far wider than the view.
    void writeJournal(int lines) {
        const QString wide = QStringLiteral(" ИТОГО ") + QString(60, QChar(u'Ж'));
        QString text;
        for (int i = 0; i < lines; ++i)
            text += QString::number(i) + (i < lines - 20 ? QString() : wide) + kCrLf.toString();
        rig.files.writeText(kJournalFileName, text);
        window.reset();
        rig.restart();
        openPanel();
    }
};

// КЗ and 1Д bring the journal forward at its end; the end is still in view after the event
// loop has painted the wide lines and laid the view out again.
TEST_F(JournalViewTest, EndStaysInViewWhenTheWideLinesArePainted) {
    writeJournal(400);
    click(QStringLiteral("KZ Btn1D"));
    QTest::qWait(50);
    JournalView* view = journal();
    ASSERT_TRUE(view->horizontalScrollBar()->isVisible());
    EXPECT_EQ(view->firstVisibleLine(), view->lineCount() - view->visibleRows());
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());

    // 2В moves the caret to the end again, from wherever the trainee scrolled.
    view->verticalScrollBar()->setValue(10);
    click(QStringLiteral("Btn2V"));
    QTest::qWait(20);
    EXPECT_EQ(view->firstVisibleLine(), view->lineCount() - view->visibleRows());
}

// Behind the receipt tape the journal draws only its background: drawing its lines would mean
// indexing a journal of tens of megabytes before the panel first appears.
TEST_F(JournalViewTest, NothingIsDrawnWhileBehindTheReceiptTape) {
    writeJournal(400);
    const QImage behind = journal()->viewport()->grab().toImage();
    const QRgb background = behind.pixel(0, 0);
    int inked = 0;
    for (int y = 0; y < behind.height(); ++y)
        for (int x = 0; x < behind.width(); ++x)
            inked += behind.pixel(x, y) != background;
    EXPECT_EQ(inked, 0);

    click(QStringLiteral("KZ Btn1D"));
    const QImage inFront = journal()->viewport()->grab().toImage();
    EXPECT_NE(inFront, behind) << "the journal's lines are drawn once it is in front";
}

} // namespace
} // namespace tarvel::test
