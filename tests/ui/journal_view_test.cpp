// The journal view while the event loop runs on: never drawn while it lies behind the receipt
// tape, and its end stays in view once the wide lines it paints bring up the horizontal bar.

#include "panel_fixture.h"

#include <QScrollBar>

namespace tarvel::test {
namespace {

class JournalViewTest : public PanelFixture {};

TEST_F(JournalViewTest, DrawnOnlyInFrontWithItsEndInView) {
    QString text; // short lines, then lines far wider than the view
    for (int i = 0; i < 400; ++i)
        text += QString::number(i) + (i < 380 ? "" : " ИТОГО " + QString(60, u'Ж')) + "\r\n";
    rig.files.writeText(kJournalFileName, text);
    window.reset(); // the window holds the register that restart() replaces
    rig.restart();
    openPanel();
    // Behind the receipt tape only its background: indexing a journal of tens of megabytes
    // to draw it would hold up the panel's first appearance.
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

} // namespace
} // namespace tarvel::test
