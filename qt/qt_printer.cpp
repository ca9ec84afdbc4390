#include "qt/qt_printer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace tarvel {
namespace {

constexpr double kPointsPerInch = 72;
// Font sizes beyond these are no font a receipt is printed in.
constexpr double kSmallestFont = 1;
constexpr double kLargestFont = 500;

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

// ---- QPrinterPaper ----

QPrinterPaper::QPrinterPaper() = default;

QPrinterPaper::~QPrinterPaper() {
    if (jobRunning()) abortJob();
}

// The default printer is looked up when the register first prints, not at start-up: asking
// the print system can take a while.
QPrinter* QPrinterPaper::printer() {
    if (!lookedUp_) {
        lookedUp_ = true;
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (!info.isNull()) printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return printer_.get();
}

std::optional<QSizeF> QPrinterPaper::printableSize() {
    QPrinter* p = printer();
    if (!p) return std::nullopt;
    const QSizeF size = p->pageRect(QPrinter::Point).size();
    if (size.isEmpty()) return std::nullopt;
    return size;
}

QPainter* QPrinterPaper::painter() {
    if (jobRunning()) return painter_.get();
    QPrinter* p = printer();
    if (!p) return nullptr;
    if (!painter_) painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(p)) return nullptr;
    return painter_.get();
}

bool QPrinterPaper::jobRunning() const {
    return painter_ && painter_->isActive();
}

bool QPrinterPaper::newPage() {
    return jobRunning() && printer_->newPage();
}

bool QPrinterPaper::endJob() {
    return jobRunning() && painter_->end();
}

void QPrinterPaper::abortJob() {
    if (!jobRunning()) return;
    printer_->abort();
    painter_->end();
}

// ---- QtPrinter ----

// The current font measured on the paper, in points.
struct QtPrinter::Metrics {
    double dotsPerPointX;
    double dotsPerPointY;
    double lineHeight;
    double ascent;
    double zoneWidth;
};

QtPrinter::QtPrinter() : paper_(std::make_unique<QPrinterPaper>()) {}

QtPrinter::QtPrinter(std::unique_ptr<PrintPaper> paper) : paper_(std::move(paper)) {}

QtPrinter::~QtPrinter() = default;

bool QtPrinter::havePrinter() {
    return paper_ && paper_->printableSize().has_value();
}

std::optional<float> QtPrinter::printableWidth() {
    if (!paper_) return std::nullopt;
    const auto size = paper_->printableSize();
    if (!size) return std::nullopt;
    return float(size->width());
}

std::optional<float> QtPrinter::printableHeight() {
    if (!paper_) return std::nullopt;
    const auto size = paper_->printableSize();
    if (!size) return std::nullopt;
    return float(size->height());
}

QFont QtPrinter::font() const {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSizeF(fontSize_);
    return f;
}

bool QtPrinter::setFontSize(float points) {
    if (!havePrinter() || !(points >= kSmallestFont && points <= kLargestFont)) return false;
    fontSize_ = points;
    return true;
}

// A position before the edge of the printable area would put text off the paper: it is taken
// as the edge itself.
bool QtPrinter::setCurrentX(float x) {
    if (!havePrinter() || !std::isfinite(x)) return false;
    x_ = std::max(0.0, double(x));
    return true;
}

bool QtPrinter::setCurrentY(float y) {
    if (!havePrinter() || !std::isfinite(y)) return false;
    y_ = std::max(0.0, double(y));
    return true;
}

QtPrinter::Metrics QtPrinter::metrics(QPainter& painter) const {
    const QFontMetricsF fm(painter.font(), painter.device());
    Metrics m;
    m.dotsPerPointX = painter.device()->logicalDpiX() / kPointsPerInch;
    m.dotsPerPointY = painter.device()->logicalDpiY() / kPointsPerInch;
    m.lineHeight = fm.lineSpacing() / m.dotsPerPointY;
    m.ascent = fm.ascent() / m.dotsPerPointY;
    m.zoneWidth = kZoneCharacters * fm.horizontalAdvance(QLatin1Char('0')) / m.dotsPerPointX;
    return m;
}

void QtPrinter::newLine(double lineHeight) {
    x_ = 0;
    y_ += lineHeight;
}

bool QtPrinter::print(QStringView text, Metrics* out) {
    const auto size = paper_ ? paper_->printableSize() : std::nullopt;
    if (!size) return false;
    const bool startsJob = !paper_->jobRunning();
    QPainter* painter = paper_->painter();
    if (!painter) return false;
    if (startsJob) pageHasText_ = false;
    painter->setFont(font());
    const Metrics m = metrics(*painter);
    if (out) *out = m;

    bool afterCr = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isLineBreak(c)) {
            // CR LF is one line break, as is a lone CR or a lone LF.
            if (!(c == QLatin1Char('\n') && afterCr)) newLine(m.lineHeight);
            afterCr = c == QLatin1Char('\r');
            continue;
        }
        afterCr = false;
        const qsizetype length =
            (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const QString glyph = text.mid(i, length).toString();
        i += length - 1;
        if (c.category() == QChar::Other_Control) continue;

        const double advance =
            QFontMetricsF(painter->font(), painter->device()).horizontalAdvance(glyph) /
            m.dotsPerPointX;
        if (x_ > 0 && x_ + advance > size->width()) newLine(m.lineHeight);
        if (y_ > 0 && y_ + m.lineHeight > size->height()) {
            // A page that holds text of this printout goes out whole and the text goes on at
            // the top of a fresh one; a page still blank is used from its top.
            if (pageHasText_) {
                if (!paper_->newPage()) return false;
                painter = paper_->painter();
                if (!painter) return false;
                painter->setFont(font());
                pageHasText_ = false;
            }
            y_ = 0;
        }
        painter->drawText(QPointF(x_ * m.dotsPerPointX, (y_ + m.ascent) * m.dotsPerPointY), glyph);
        pageHasText_ = true;
        x_ += advance;
    }
    return true;
}

bool QtPrinter::printStay(const QString& text) {
    return print(text);
}

bool QtPrinter::printNextZone(const QString& text) {
    Metrics m;
    if (!print(text, &m)) return false;
    if (!(m.zoneWidth > 0)) return true;
    // The zone the position is in, or the one starting there, is passed over.
    const double zone = std::floor(x_ / m.zoneWidth + 1e-9) + 1;
    x_ = zone * m.zoneWidth;
    if (x_ >= paper_->printableSize().value_or(QSizeF()).width()) newLine(m.lineHeight);
    return true;
}

bool QtPrinter::printEndLine(const QString& text) {
    Metrics m;
    if (!print(text, &m)) return false;
    newLine(m.lineHeight);
    return true;
}

bool QtPrinter::finishPrintout() {
    if (!havePrinter()) return false;
    // A printout that printed nothing starts no job, and nothing goes to the printer.
    if (!paper_->jobRunning()) return true;
    return paper_->endJob();
}

// Only a job left unfinished needs tidying. Without one, the print system is not asked at all:
// with no print service running that question alone would hold up the close for seconds.
bool QtPrinter::closeJob() {
    if (paper_ && paper_->jobRunning()) paper_->abortJob();
    return true;
}

} // namespace tarvel
