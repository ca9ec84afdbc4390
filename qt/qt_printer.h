#pragma once
// The system's default printer, driven the way the register drives a printer: a print
// position, a font size, and text that stays on the line, moves on to the next print zone or
// ends the line.
//
// How this printer behaves:
// - Unit: points (1/72 inch), measured from the top-left corner of the page's printable area.
//   printableWidth() and printableHeight() give that area in points.
// - Font: the system's fixed-width font at the size set, so the columns of the receipt tape
//   (a fixed-width text) stay aligned on paper.
// - Print zones: columns 14 character widths of the current font wide, counted from the left
//   edge. A move to the next zone that would pass the right edge starts a new line instead.
// - A CR in printed text starts a new line at the left edge, one line height of the current
//   font lower; a CR LF pair, or a lone LF, does the same once. Other control characters
//   print nothing.
// - Nothing is lost off the paper: text that would run past the right edge continues on the
//   next line, and a line that would fall below the printable area continues at the top of a
//   new page. A printout whose first line would not fit starts at the top of its page.
// - Jobs: each printout is a print job of its own. The first printed character starts it,
//   finishPrintout() ends it and sends it to the printer, so a receipt is on paper as soon as
//   it is closed. closeJob(), the one call of the close sequence, only abandons a job left
//   unfinished; it never holds back or sends anything else.
// - No default printer: every call fails quietly (false, or no value) and the register goes
//   on without paper.

#include "register/services.h"

#include <QFont>
#include <QSizeF>
#include <memory>

class QPainter;
class QPrinter;

namespace tarvel {

// The paper a QtPrinter prints on: the system printer in the program; a test may give its
// own (pages of images) to see where the text lands.
class PrintPaper {
  public:
    virtual ~PrintPaper() = default;
    // The printable area of a page in points; no value when there is no printer.
    virtual std::optional<QSizeF> printableSize() = 0;
    // The painter of the current page, starting a job when none is running. Its origin is the
    // top-left corner of the printable area, its unit the device's own dot. nullptr on failure.
    virtual QPainter* painter() = 0;
    virtual bool jobRunning() const = 0;
    // Moves on to a fresh page of the running job; painter() then draws on it.
    virtual bool newPage() = 0;
    // Ends the running job and sends it to the printer.
    virtual bool endJob() = 0;
    // Ends the running job without printing it.
    virtual void abortJob() = 0;
};

// The system's default printer as paper, looked up on first use.
class QPrinterPaper : public PrintPaper {
  public:
    QPrinterPaper();
    ~QPrinterPaper() override;

    std::optional<QSizeF> printableSize() override;
    QPainter* painter() override;
    bool jobRunning() const override;
    bool newPage() override;
    bool endJob() override;
    void abortJob() override;

  private:
    QPrinter* printer();

    bool lookedUp_ = false;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
};

class QtPrinter : public Printer {
  public:
    // Characters of the current font in one print zone.
    static constexpr int kZoneCharacters = 14;

    // The system's default printer.
    QtPrinter();
    // Other paper, for example pages of images.
    explicit QtPrinter(std::unique_ptr<PrintPaper> paper);
    ~QtPrinter() override;

    std::optional<float> printableWidth() override;
    std::optional<float> printableHeight() override;
    bool setFontSize(float points) override;
    bool setCurrentX(float x) override;
    bool setCurrentY(float y) override;
    bool printStay(const QString& text) override;
    bool printNextZone(const QString& text) override;
    bool printEndLine(const QString& text) override;
    bool finishPrintout() override;
    bool closeJob() override;

    // The font text is printed in: the fixed-width font at the current size.
    QFont font() const;

  private:
    struct Metrics;
    Metrics metrics(QPainter& painter) const;
    // Prints the text from the current position; false when the printer fails.
    bool print(QStringView text, Metrics* out = nullptr);
    void newLine(double lineHeight);
    bool havePrinter();

    std::unique_ptr<PrintPaper> paper_;
    double x_ = 0; // points from the left edge of the printable area
    double y_ = 0; // points from its top edge, of the top of the current line
    double fontSize_ = 12;
    bool pageHasText_ = false;
};

} // namespace tarvel
