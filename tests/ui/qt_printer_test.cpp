// The Qt printer painting receipts onto pages of images, where a test can see where the text
// lands, and into a PDF file through a real QPrinter.

#include "platform/qt_printer.h"
#include "support/fakes.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// Pages of 600 × 800 points, one image pixel per point, the whole page printable.
class ImagePaper : public PrintPaper {
  public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 800;

    QList<QList<QImage>> finishedJobs;
    int abortedJobs = 0;

    std::optional<QSizeF> printableSize() override { return QSizeF(kWidth, kHeight); }
    QPainter* painter() override {
        if (!running_) {
            running_ = true;
            pages_.clear();
            addPage();
        }
        return &painter_;
    }
    bool jobRunning() const override { return running_; }
    bool newPage() override {
        painter_.end();
        addPage();
        return true;
    }
    bool endJob() override {
        painter_.end();
        running_ = false;
        finishedJobs.append(pages_);
        return true;
    }
    void abortJob() override {
        painter_.end();
        running_ = false;
        ++abortedJobs;
    }

  private:
    void addPage() {
        QImage page(kWidth, kHeight, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(72 / 0.0254);
        page.setDotsPerMeterX(dotsPerMeter);
        page.setDotsPerMeterY(dotsPerMeter);
        page.fill(Qt::white);
        pages_.append(page);
        painter_.begin(&pages_.last());
    }

    bool running_ = false;
    QList<QImage> pages_;
    QPainter painter_;
};

// A band of rows holding ink, and the leftmost inked column in it.
struct InkLine {
    int top;
    int bottom;
    int left;
};

QList<InkLine> inkLines(const QImage& page) {
    QList<InkLine> lines;
    bool inLine = false;
    for (int y = 0; y < page.height(); ++y) {
        int left = -1;
        for (int x = 0; x < page.width() && left < 0; ++x)
            if (qGray(page.pixel(x, y)) < 128) left = x;
        if (left >= 0 && !inLine) lines.append({y, y, left});
        if (left >= 0) {
            lines.last().bottom = y;
            lines.last().left = std::min(lines.last().left, left);
        }
        inLine = left >= 0;
    }
    return lines;
}

// A register printing on image pages.
struct PaperRig {
    FakeClock clock;
    FakeRegional regional;
    RecordingMessages messages;
    FakeProgramEnd programEnd;
    TempDataDir files;
    ImagePaper* paper = new ImagePaper;
    QtPrinter printer{std::unique_ptr<PrintPaper>(paper)};
    CashRegister reg{Services{clock, regional, messages, printer, programEnd, files.dataDir()}};

    void print(const QString& tape) {
        reg.state().TxtCHL.setText(tape);
        reg.printReceiptTape();
    }
    QFontMetricsF fontMetrics() {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(72 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return QFontMetricsF(printer.font(), &image);
    }
};

// Solid letters, so that the ink starts within a point of where the letter is placed.
const QString kLine = QStringLiteral("HHHH");

// The first line starts at 12 % of the width; each CR LF ends the line, and the next one starts
// after three spaces and the move to the next print zone (14 character widths), one line lower.
TEST(QtPrinter, FirstLineAtTwelvePercentLaterLinesAtTheZone) {
    PaperRig rig;
    rig.print(kLine + QStringLiteral("\r\n") + kLine + QStringLiteral("\r\n") + kLine);
    ASSERT_EQ(rig.paper->finishedJobs.size(), 1);
    ASSERT_EQ(rig.paper->finishedJobs[0].size(), 1);
    const QList<InkLine> lines = inkLines(rig.paper->finishedJobs[0][0]);
    ASSERT_EQ(lines.size(), 3);

    const QFontMetricsF fm = rig.fontMetrics();
    const double zone = QtPrinter::kZoneCharacters * fm.horizontalAdvance(QLatin1Char('0'));
    EXPECT_NEAR(lines[0].left, 0.12 * ImagePaper::kWidth, 2.5);
    EXPECT_NEAR(lines[1].left, zone, 2.5);
    EXPECT_NEAR(lines[2].left, zone, 2.5);
    EXPECT_LT(lines[0].top, fm.lineSpacing()); // the first printout starts at the top
    EXPECT_NEAR(lines[1].top - lines[0].top, fm.lineSpacing(), 1.5);
    EXPECT_NEAR(lines[2].top - lines[1].top, fm.lineSpacing(), 1.5);
}

// Printouts are stacked 2 % of the page apart; the 50th would start 98 % down and continues on
// a fresh page without losing a line; the 51st starts at the top of its page again.
TEST(QtPrinter, EveryPrintoutStaysOnThePaper) {
    PaperRig rig;
    const QString tape = kLine + QStringLiteral("\r\n") + kLine + QStringLiteral("\r\n") + kLine;
    for (int i = 0; i < 51; ++i)
        rig.print(tape);
    const auto& jobs = rig.paper->finishedJobs;
    ASSERT_EQ(jobs.size(), 51);

    const QList<InkLine> second = inkLines(jobs[1][0]);
    ASSERT_EQ(second.size(), 3);
    EXPECT_NEAR(second[0].top - inkLines(jobs[0][0])[0].top, 0.02 * ImagePaper::kHeight, 1.5);

    int linesOfFiftieth = 0;
    for (const QImage& page : jobs[49])
        linesOfFiftieth += int(inkLines(page).size());
    EXPECT_EQ(linesOfFiftieth, 3);

    ASSERT_EQ(jobs[50].size(), 1);
    const QList<InkLine> last = inkLines(jobs[50][0]);
    ASSERT_EQ(last.size(), 3);
    EXPECT_LT(last[0].top, rig.fontMetrics().lineSpacing());
    EXPECT_NEAR(last[0].left, 0.12 * ImagePaper::kWidth, 2.5);
}

// A tape longer than a page continues at the top of the next page: every line is printed.
TEST(QtPrinter, LongTapeContinuesOnNewPages) {
    PaperRig rig;
    QStringList tape;
    for (int i = 0; i < 120; ++i)
        tape << kLine;
    rig.print(tape.join(QStringLiteral("\r\n")));
    ASSERT_EQ(rig.paper->finishedJobs.size(), 1);
    const QList<QImage>& pages = rig.paper->finishedJobs[0];
    EXPECT_GE(pages.size(), 2);
    int lines = 0;
    for (const QImage& page : pages)
        lines += int(inkLines(page).size());
    EXPECT_EQ(lines, 120);
    EXPECT_LT(inkLines(pages[1]).value(0).top, rig.fontMetrics().lineSpacing());
}

// Ending the line, as the % key does for its card line, and a line too long for the page.
TEST(QtPrinter, EndLineAndWrapStartAtTheLeftEdge) {
    PaperRig rig;
    rig.printer.setCurrentX(300);
    rig.printer.setCurrentY(100);
    rig.printer.printEndLine(kLine);
    rig.printer.printStay(kLine);
    rig.printer.setCurrentX(ImagePaper::kWidth - 10);
    rig.printer.printStay(kLine);
    rig.printer.finishPrintout();
    ASSERT_EQ(rig.paper->finishedJobs.size(), 1);
    const QList<InkLine> lines = inkLines(rig.paper->finishedJobs[0][0]);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_NEAR(lines[0].left, 300, 2.5);
    EXPECT_NEAR(lines[1].left, 0, 2.5);
    EXPECT_NEAR(lines[2].left, 0, 2.5);
}

// A printout that prints nothing starts no job; the close sequence abandons only a job left
// unfinished.
TEST(QtPrinter, JobsStartWithTextAndCloseOnlyAbandons) {
    PaperRig rig;
    rig.print(QString());
    EXPECT_TRUE(rig.paper->finishedJobs.isEmpty());
    rig.reg.beginPrintout();
    rig.reg.state().TxtCHL.setText(kLine);
    rig.reg.printTapeCharacters();
    EXPECT_TRUE(rig.printer.closeJob());
    EXPECT_EQ(rig.paper->abortedJobs, 1);
    EXPECT_TRUE(rig.paper->finishedJobs.isEmpty());
    EXPECT_TRUE(rig.printer.closeJob());
    EXPECT_EQ(rig.paper->abortedJobs, 1);
}

// Through a real QPrinter: a receipt written as a PDF file, measured in points.
TEST(QtPrinter, PrintsAReceiptIntoAPdfFile) {
    TempDataDir dir;
    const QString file = dir.path(QStringLiteral("receipt.pdf"));
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(file);
    const QSizeF page = pdf->pageRect(QPrinter::Point).size();
    QtPrinter printer(std::move(pdf));
    EXPECT_EQ(printer.printableWidth(), float(page.width()));
    EXPECT_EQ(printer.printableHeight(), float(page.height()));

    FakeClock clock;
    FakeRegional regional;
    RecordingMessages messages;
    FakeProgramEnd programEnd;
    CashRegister reg(Services{clock, regional, messages, printer, programEnd, dir.dataDir()});
    reg.state().TxtCHL.setText(kDefaultHeader + QStringLiteral(" 01  150 руб"));
    reg.printReceiptTape();
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QByteArray bytes = out.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("%%EOF"));
}

// Without a printer every call fails quietly and the register goes on.
TEST(QtPrinter, WithoutADefaultPrinterEveryCallFails) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer is installed";
    QtPrinter printer;
    EXPECT_FALSE(printer.printableWidth());
    EXPECT_FALSE(printer.printableHeight());
    EXPECT_FALSE(printer.setFontSize(12));
    EXPECT_FALSE(printer.setCurrentX(1));
    EXPECT_FALSE(printer.setCurrentY(1));
    EXPECT_FALSE(printer.printStay(QStringLiteral("a")));
    EXPECT_FALSE(printer.printNextZone(QStringLiteral("a")));
    EXPECT_FALSE(printer.printEndLine(QStringLiteral("a")));
    EXPECT_FALSE(printer.finishPrintout());
    EXPECT_TRUE(printer.closeJob()); // nothing was started, so there is nothing to tidy
}

} // namespace
