// The Qt printer painting receipts onto pages of images, and with no printer at all.

#include "qt/qt_printer.h"
#include "register/printout.h"
#include "support/fakes.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinterInfo>

namespace tarvel::test {

// Pages of 600 × 800 points at 72 DPI, one pixel a point, the whole page printable.
struct ImagePaper : PrintPaper {
    QList<QList<QImage>> jobs; // page by page
    QPainter painter_;

    std::optional<QSizeF> printableSize() override { return QSizeF(600, 800); }
    QPainter* painter() override { // a job of its own from the first character on
        return painter_.isActive() || (jobs.emplaceBack(), newPage()) ? &painter_ : nullptr;
    }
    bool jobRunning() const override { return painter_.isActive(); }
    bool newPage() override {
        if (painter_.isActive()) painter_.end();
        QImage& page = jobs.last().emplaceBack(600, 800, QImage::Format_RGB32);
        page.setDotsPerMeterX(2835), page.setDotsPerMeterY(2835), page.fill(Qt::white);
        return painter_.begin(&page);
    }
    bool endJob() override { return painter_.end(); }
    void abortJob() override { painter_.end(), jobs.removeLast(); }
};

// Where each printed line starts: its top row and the leftmost ink in it (the stem of an H).
static QList<QPoint> lineStarts(const QImage& page) {
    QList<QPoint> starts;
    for (int y = 0, above = page.width(); y < page.height(); ++y) {
        int left = 0;
        while (left < page.width() && qGray(page.pixel(left, y)) >= 128)
            ++left;
        if (left < page.width() && above == page.width()) starts.append({left, y});
        above = left;
    }
    return starts;
}

// First line at 12 % of the width, later ones at the next zone; each printout 2 % lower, the 50th
// over two pages, the 51st like the first; no job for an empty tape; close drops an unfinished one.
TEST(QtPrinter, LinesLandOnThePaperAndCloseAbandonsOnlyAnUnfinishedJob) {
    auto* paper = new ImagePaper;
    QtPrinter printer{std::unique_ptr<PrintPaper>(paper)};
    PrintPosition position;
    for (int i = 0; i < 51; ++i)
        printTape(printer, position, "HHHH\r\nHHHH\r\nHHHH"); // three lines
    ASSERT_EQ(paper->jobs.size(), 51);
#ifdef Q_OS_WIN
    // The system's fixed-pitch face there is Courier New, which wine lacks: what stands in for
    // it does not line up.
    if (!QFontDatabase::hasFamily(printer.font().family()))
        GTEST_SKIP() << "no " << printer.font().family().toStdString() << " here";
#endif
    const QFontMetricsF font(printer.font(), &paper->jobs[0][0]);
    const QList<QPoint> first = lineStarts(paper->jobs[0][0]);
    EXPECT_NEAR(first.value(0).x(), 72, 2.5);
    EXPECT_NEAR(first.value(1).x(), QtPrinter::kZoneCharacters * font.horizontalAdvance('0'), 2.5);
    EXPECT_NEAR(first.value(2).y() - first.value(1).y(), font.lineSpacing(), 1.5);
    EXPECT_NEAR(lineStarts(paper->jobs[1][0]).value(0).y() - first.value(0).y(), 16, 1.5);
    const QList<QImage>& fiftieth = paper->jobs[49];
    EXPECT_EQ(lineStarts(fiftieth[0]).size() + lineStarts(fiftieth.value(1)).size(), 3);
    EXPECT_EQ(lineStarts(paper->jobs[50][0]), first);
    printTape(printer, position, ""); // an empty tape
    printer.printStay("HHHH");
    EXPECT_TRUE(printer.closeJob() && printer.closeJob());
    EXPECT_EQ(paper->jobs.size(), 51); // none for the empty tape, the unfinished one abandoned
}

TEST(QtPrinter, WithoutADefaultPrinterEveryCallFailsQuietly) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer is installed";
    QtPrinter p;
    EXPECT_FALSE(p.printableWidth() || p.setFontSize(12) || p.setCurrentY(1) || p.printStay("a") ||
                 p.printNextZone("a") || p.printEndLine("a") || p.finishPrintout());
    EXPECT_TRUE(p.closeJob()); // nothing was started, so there is nothing to tidy
}

} // namespace tarvel::test
