// The Qt printer painting receipts onto pages of images, where a test sees where the text
// lands, and with no printer at all.

#include "platform/qt_printer.h"
#include "support/fakes.h"

#include <QPainter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

namespace tarvel::test {

// Pages of 600 × 800 points, one pixel a point, the whole page printable.
class ImagePaper : public PrintPaper {
  public:
    QList<QList<QImage>> jobs; // page by page

    std::optional<QSizeF> printableSize() override { return QSizeF(600, 800); }
    QPainter* painter() override {
        if (!running_) jobs.emplaceBack(), newPage();
        return running_ = true, &painter_;
    }
    bool jobRunning() const override { return running_; }
    bool newPage() override {
        if (painter_.isActive()) painter_.end();
        QImage& page = jobs.last().emplaceBack(600, 800, QImage::Format_RGB32);
        page.setDotsPerMeterX(2835); // 72 DPI
        page.setDotsPerMeterY(2835);
        page.fill(Qt::white);
        return painter_.begin(&page);
    }
    bool endJob() override { return painter_.end(), !(running_ = false); }
    void abortJob() override { endJob(), jobs.removeLast(); }

  private:
    bool running_ = false;
    QPainter painter_;
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

// The first line at 12 % of the width, later lines at the next zone; each printout 2 % lower,
// the 50th going on over a fresh page, the 51st placed like the first. An empty tape starts no
// job; the close sequence abandons only a job left unfinished.
TEST(QtPrinter, LinesLandOnThePaperAndCloseAbandonsOnlyAnUnfinishedJob) {
    RegisterRig fakes;
    auto* paper = new ImagePaper;
    QtPrinter printer{std::unique_ptr<PrintPaper>(paper)};
    CashRegister reg{Services{fakes.clock, fakes.regional, fakes.messages, printer,
                              fakes.programEnd, fakes.files.dataDir()}};
    reg.state().TxtCHL.setText("HHHH\r\nHHHH\r\nHHHH");
    for (int i = 0; i < 51; ++i)
        reg.printReceiptTape();
    ASSERT_EQ(paper->jobs.size(), 51);
    const QFontMetricsF font(printer.font(), &paper->jobs[0][0]);
    const QList<QPoint> first = lineStarts(paper->jobs[0][0]);
    ASSERT_EQ(first.size(), 3);
    EXPECT_NEAR(first[0].x(), 72, 2.5);
    EXPECT_NEAR(first[1].x(), QtPrinter::kZoneCharacters * font.horizontalAdvance('0'), 2.5);
    EXPECT_LT(first[0].y(), font.lineSpacing());
    EXPECT_NEAR(first[2].y() - first[1].y(), font.lineSpacing(), 1.5);
    EXPECT_NEAR(lineStarts(paper->jobs[1][0]).value(0).y() - first[0].y(), 16, 1.5);
    qsizetype linesOfFiftieth = 0;
    for (const QImage& page : paper->jobs[49])
        linesOfFiftieth += lineStarts(page).size();
    EXPECT_EQ(linesOfFiftieth, 3);
    EXPECT_EQ(lineStarts(paper->jobs[50][0]), first);
    reg.state().TxtCHL.setText(QString());
    reg.printReceiptTape();
    printer.printStay("HHHH");
    EXPECT_TRUE(printer.closeJob() && printer.closeJob());
    EXPECT_EQ(paper->jobs.size(), 51); // none for the empty tape, the unfinished one abandoned
}

TEST(QtPrinter, WithoutADefaultPrinterEveryCallFailsQuietly) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer is installed";
    QtPrinter p;
    const bool worked[] = {bool(p.printableWidth()), bool(p.printableHeight()), p.setFontSize(12),
                           p.setCurrentX(1),         p.setCurrentY(1),          p.printStay("a"),
                           p.printNextZone("a"),     p.printEndLine("a"),       p.finishPrintout()};
    EXPECT_EQ(std::count(std::begin(worked), std::end(worked), true), 0);
    EXPECT_TRUE(p.closeJob()); // nothing was started, so there is nothing to tidy
}

} // namespace tarvel::test
