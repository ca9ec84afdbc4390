#pragma once
// The small interfaces through which the register reaches the world outside it: the clock and
// regional settings, message boxes, the printer, the goods directory window and the end of the
// program. The logic only ever calls these; the Qt implementations are in qt/, the fakes under
// tests/support.
//
// This header uses QtCore only, so the logic that includes it builds without any window.

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace tarvel {

// The program's title: caption of every message box that has none of its own, and the
// application name of the settings store.
inline const QString kProgramTitle = QStringLiteral("Tarvel");

class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDate currentDate() const = 0;
    virtual QTime currentTime() const = 0;
};

class RegionalSettings {
  public:
    virtual ~RegionalSettings() = default;
    // "." or "," — the separator the register writes numbers with.
    virtual QChar decimalSeparator() const = 0;
    virtual QString shortDate(QDate date) const = 0;
    // Hours, minutes and seconds, for example 21:08:15.
    virtual QString longTime(QTime time) const = 0;
    virtual QString toUpper(const QString& text) const = 0;
    // Negative, zero or positive, like strcmp, ignoring letter case.
    virtual int compareNoCase(const QString& a, const QString& b) const = 0;
};

class MessageBoxes {
  public:
    enum class Icon { None, Critical };
    virtual ~MessageBoxes() = default;
    // A modal box with an OK button; returns when the trainee has closed it.
    virtual void show(const QString& text, const QString& caption = kProgramTitle,
                      Icon icon = Icon::None) = 0;
    // A modal question with the buttons Yes and No, No first in focus; true for Yes.
    virtual bool ask(const QString& text, const QString& caption = kProgramTitle) = 0;
};

// The system printer as the register drives it: a print position, a font size, and text that
// stays on the line, moves to the next print zone, or ends the line. A CR inside printed text
// starts a new line at the left edge. Every operation reports failure (no printer installed,
// printer error) instead of throwing, so the register can skip the failing step and go on.
class Printer {
  public:
    virtual ~Printer() = default;
    virtual std::optional<float> printableWidth() = 0;
    virtual std::optional<float> printableHeight() = 0;
    virtual bool setFontSize(float points) = 0;
    virtual bool setCurrentX(float x) = 0;
    virtual bool setCurrentY(float y) = 0;
    virtual bool printStay(const QString& text) = 0;
    virtual bool printNextZone(const QString& text) = 0;
    virtual bool printEndLine(const QString& text) = 0;
    // Finishes one printout (one receipt).
    virtual bool finishPrintout() = 0;
    // The one call the close sequence makes on the printer.
    virtual bool closeJob() = 0;
};

// The goods directory window as the panel sees it (the ФЦ key and the close sequence).
class GoodsWindow {
  public:
    virtual ~GoodsWindow() = default;
    virtual bool isLoaded() const = 0;
    // Shows the window, loading it first when it is not loaded.
    virtual void show() = 0;
    // Hides the window; a window that is not loaded is loaded and left hidden.
    virtual void hide() = 0;
    // Unloads the window, storing its position and size.
    virtual void unload() = 0;
};

class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    // Ends the program at once; no further event runs.
    virtual void endProgram() = 0;
};

} // namespace tarvel
