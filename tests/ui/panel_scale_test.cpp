// The panel scaled in a larger window: controls, fonts, line breaks; its size kept across runs.

#include "storage/settings.h"
#include "support/named_rows.h"
#include "support/panel_fixture.h"

#include <QPlainTextDocumentLayout>
#include <QScreen>
#include <QTextBlock>
#include <cmath>

namespace tarvel::test {
namespace {

constexpr QSize kDesign(567, 340);
const QColor kFace(255, 224, 192);

struct Drawn {
    QRect place;
    qreal points;
};

struct ScaleRow : NamedRow {
    QSize window;
    qreal scale;
    QPoint corner; // where the panel's top left corner stands
};

class PanelScale : public PanelFixture, public testing::WithParamInterface<ScaleRow> {
  protected:
    std::map<QString, Drawn> drawnControls() const {
        std::map<QString, Drawn> drawn;
        for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            drawn[w->objectName()] = {w->geometry(), w->font().pointSizeF()};
        return drawn;
    }
    // Each edge of a design rectangle scaled and rounded, so neighbours keep touching.
    static QRect scaled(QRect r, qreal scale, QPoint corner) {
        const auto edge = [scale](int pixels) { return int(std::lround(pixels * scale)); };
        return QRect(QPoint(edge(r.left()), edge(r.top())),
                     QPoint(edge(r.right() + 1) - 1, edge(r.bottom() + 1) - 1))
            .translated(corner);
    }
};

TEST_P(PanelScale, EveryControlAndFontGrowsByOneScaleAroundTheMiddle) {
    const ScaleRow& row = GetParam();
    if (!panelFacesInstalled()) GTEST_SKIP() << "the panel's faces are not installed here";
    const std::map<QString, Drawn> design = drawnControls();
    window->resize(row.window);
    const std::map<QString, Drawn> drawn = drawnControls();
    ASSERT_EQ(drawn.size(), design.size());
    for (const auto& [name, at] : design) {
        EXPECT_EQ(drawn.at(name).place, scaled(at.place, row.scale, row.corner))
            << name.toStdString();
        EXPECT_DOUBLE_EQ(drawn.at(name).points, at.points * row.scale) << name.toStdString();
    }
    // The margins in the workspace colour, the panel's face inside (its bottom left corner).
    const QImage image = window->grab().toImage();
    const QPoint inPanel = row.corner + QPoint(2, int(kDesign.height() * row.scale) - 3);
    EXPECT_EQ(image.pixel(inPanel), kFace.rgb());
    const QRgb workspace = window->palette().color(QPalette::Dark).rgb();
    if (row.corner.x() > 0) {
        EXPECT_EQ(image.pixel(row.corner.x() / 2, 10), workspace);
    }
    if (row.corner.y() > 0) {
        EXPECT_EQ(image.pixel(10, row.corner.y() / 2), workspace);
    }
    // The keys take clicks at their new places.
    click("1 5 0");
    EXPECT_EQ(indicator()->text(), "150");
}

INSTANTIATE_TEST_SUITE_P(Sizes, PanelScale,
                         testing::Values(ScaleRow{"Twice", kDesign * 2, 2, {0, 0}},
                                         ScaleRow{"OneAndAHalf", kDesign * 1.5, 1.5, {0, 0}},
                                         ScaleRow{"WideTwice", {1700, 680}, 2, {283, 0}},
                                         ScaleRow{"TallTwice", {1134, 1000}, 2, {0, 160}}),
                         rowName);

// Lines of 12 to 59 characters, breaking at spaces or not: one off the width breaks differently.
QString longHeader() {
    QString header = kDefaultHeader;
    for (int length = 12; length < 60; ++length)
        header +=
            (length % 2 ? QString(length, u'Ж') : QString("ИТОГО ").repeated(9).left(length)) +
            "\r\n";
    return header;
}

struct TapeRow : NamedRow {
    QSize window;
};

class TapeScale : public PanelFixture, public testing::WithParamInterface<TapeRow> {};

// How many screen lines each line of the receipt tape takes.
std::vector<int> screenLines(const ReceiptTapeView& tape) {
    std::vector<int> lines;
    auto* layout = dynamic_cast<QPlainTextDocumentLayout*>(tape.document()->documentLayout());
    for (QTextBlock b = tape.document()->firstBlock(); b.isValid(); b = b.next()) {
        layout->ensureBlockLayout(b); // lines out of sight are laid out only when needed
        lines.push_back(b.layout()->lineCount());
    }
    return lines;
}

TEST_P(TapeScale, ReceiptLinesBreakWhereTheyBreakAtTheDesignSize) {
    restartWith(kHeaderFileName, longHeader());
    click(QString("1 5 0 ВВ 2 5 ВВ ").repeated(8)); // enough lines for the scroll bar
    const std::vector<int> design = screenLines(*receiptTape());
    ASSERT_GT(std::count_if(design.begin(), design.end(), [](int n) { return n > 1; }), 2);
    window->resize(GetParam().window);
    QCoreApplication::processEvents();
    EXPECT_EQ(screenLines(*receiptTape()), design);
    window->resize(kDesign);
    QCoreApplication::processEvents();
    EXPECT_EQ(screenLines(*receiptTape()), design);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TapeScale,
                         testing::Values(TapeRow{"OneAndAQuarter", kDesign * 1.25},
                                         TapeRow{"TwoPointSeven", kDesign * 2.7},
                                         TapeRow{"FullHdScreen", {1920, 1050}}),
                         rowName);

using PanelSize = PanelFixture;

// The journal in front at its end stays at its end whatever size the panel takes.
TEST_F(PanelSize, JournalKeepsItsEndInView) {
    QString text;
    for (int i = 0; i < 400; ++i)
        text += " 01  " + QString::number(i) + " руб\r\n";
    restartWith(kJournalFileName, text);
    click("КЗ 1Д");
    JournalView* view = journal();
    for (const QSize size : {kDesign * 2, kDesign * 3, kDesign, kDesign * 1.5}) {
        window->resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(view->firstVisibleLine(), view->lineCount() - view->visibleRows())
            << size.width();
    }
}

// What the settings hold when the panel opens, and the size it opens at.
struct StoredRow : NamedRow {
    const char* stored; // nullptr: no setting at all
    QSize size;         // {-1, -1}: the screen's free area
    bool maximized = false;
};

class StoredSize : public PanelFixture, public testing::WithParamInterface<StoredRow> {};

TEST_P(StoredSize, OpensUsableWhateverTheSettingHolds) {
    const StoredRow& row = GetParam();
    window.reset();
    settings.values.clear();
    if (row.stored) settings.values[kPanelSizeSetting.name] = row.stored;
    openPanel();
    const QSize screen = window->screen()->availableGeometry().size();
    const QSize expected = row.size == QSize(-1, -1) ? screen : row.size;
    EXPECT_EQ(window->isMaximized(), row.maximized);
    EXPECT_EQ(window->normalGeometry().size(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredSize,
    testing::Values(
        StoredRow{"Absent", nullptr, kDesign}, StoredRow{"Design", "8505 5100", kDesign},
        StoredRow{"Larger", "10500 7500", {700, 500}},
        StoredRow{"Fractional", "10500.4 7499.6", {700, 500}},
        StoredRow{"MaximizedKeepsItsNormalSize", "10500 7500 maximized", {700, 500}, true},
        StoredRow{"Negative", "-9000 -1", kDesign},
        StoredRow{"BelowDesign", "3000 6000", {567, 400}}, StoredRow{"Huge", "1e30 1e30", {-1, -1}},
        StoredRow{"BeyondDouble", "1e999 5100", kDesign},
        StoredRow{"NotANumber", "широкое окно", kDesign}, StoredRow{"NaN", "nan nan", kDesign},
        StoredRow{"Infinite", "inf 5100", kDesign}, StoredRow{"OneNumber", "10500", kDesign},
        StoredRow{"OtherWord", "10500 7500 large", kDesign}, StoredRow{"Empty", "", kDesign}),
    rowName);

// The size the trainee gave the window, and whether it was maximised, come back next run.
TEST_F(PanelSize, ComesBackNextRun) {
    window->resize(750, 510);
    window.reset();
    EXPECT_EQ(settings.values.value(kPanelSizeSetting.name), "11250 7650");
    openPanel();
    EXPECT_EQ(window->size(), QSize(750, 510));

    window->showMaximized();
    QTest::qWait(20);
    window.reset();
    EXPECT_EQ(settings.values.value(kPanelSizeSetting.name), "11250 7650 maximized");
    openPanel();
    EXPECT_TRUE(window->isMaximized());
}

} // namespace
} // namespace tarvel::test
