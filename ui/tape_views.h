#pragma once
// The two paper tapes on screen. The register's text is the truth: each view draws what
// changed since it last looked (an append as an append, a replaced text anew) and never reads
// a tape back; what the trainee types into the open receipt header goes to the register as
// edits of the tape's text.

#include "register/cash_register.h"

#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QTimer>
#include <functional>
#include <limits>
#include <vector>

namespace tarvel {

// What a view draws of a text of any size: laying out a line of a megabyte takes minutes, and
// a text edit of millions of lines many seconds, so a view shows each line up to this many
// characters, then "…", and the receipt tape shows its last lines only. The tapes keep every
// character; only the drawing is cut.
inline constexpr qsizetype kShownLineLength = 2000;
inline constexpr qsizetype kShownTapeLines = 10000;
inline constexpr QChar kCutMark = QChar(0x2026); // "…"

// A line as a view draws it: cut at kShownLineLength characters with "…".
QString shownLine(QStringView line);

// The view text of a tape as the locked receipt tape shows it: its last `lines` lines, each
// cut as shownLine does, after a line "…" when earlier lines are left out. `cut` tells whether
// anything was left out.
QString shownTapeText(QStringView model, bool& cut, qsizetype lines = kShownTapeLines);

// The text a view shows for model[from...]: CR LF, a lone CR and a lone LF are each one line
// break ("\n"). A piece that starts with the LF of a CR LF pair whose CR is already drawn adds
// no second break.
QString viewTextOf(QStringView model, qsizetype from = 0);

// The tape text for what the trainee sees in the receipt tape's editor: every line break of
// the editor ("\n", the paragraph separator U+2029, the line separator U+2028, a CR or CR LF
// pasted in) becomes CR LF; everything else is kept as it is.
QString modelTextOfView(QStringView view);

// Where position `viewPosition` of the text viewTextOf(model) shows lies in `model`: a CR LF
// pair is one character of the view, every other character one of its own.
qsizetype modelIndexOfView(QStringView model, qsizetype viewPosition);

// Where each line of a long text starts, built incrementally: an append only extends it.
// Breaks are CR LF, a lone CR or a lone LF; a CR LF pair split between two appends still
// counts as one break.
class LineIndex {
  public:
    static constexpr qsizetype kAll = std::numeric_limits<qsizetype>::max();

    void clear();
    // Indexes at most `budget` more characters of `text`. True when all of it is indexed.
    bool extend(QStringView text, qsizetype budget = kAll);
    bool complete(QStringView text) const { return indexed_ == text.size(); }
    qsizetype lineCount() const { return qsizetype(starts_.size()); }
    // Line `i` of the indexed part of `text`, without its line break.
    QStringView line(QStringView text, qsizetype i) const;
    // Length in characters of the longest indexed line.
    qsizetype longestLine() const;

  private:
    std::vector<qsizetype> starts_{0};
    qsizetype indexed_ = 0;
    qsizetype longest_ = 0;
};

// The receipt tape TxtCHL: a monospaced editor, read-only while the tape is locked. While the
// receipt header is open for editing, each change the trainee makes in the editor goes to the
// register at once as the same change of the tape's text, so key presses append to what was
// typed, every character the trainee did not touch keeps its bytes, and the save stores
// exactly what is seen. The editor's undo holds the trainee's typing only: whatever the
// register writes onto the tape cannot be undone from the keyboard.
class ReceiptTapeView : public QPlainTextEdit {
  public:
    ReceiptTapeView(CashRegister& reg, QWidget* parent = nullptr);
    // Draws what changed in the tape, its lock and a caret moved to the end.
    void render();
    // The tape drawn `scale` times its design size, `designWidth` pixels wide at that size, in
    // the font it has now (the design font scaled): its lines keep breaking where they break at
    // the design size, however the font's characters round to pixels at this one.
    void setScale(qreal scale, int designWidth);

    // One change of a text: `removed` characters at `position` replaced by `inserted`.
    struct TextEdit {
        qsizetype position = 0;
        qsizetype removed = 0;
        QString inserted;
    };

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void wrapAsDesigned();
    void adoptEdit(int position, int removed, int added);
    void drawWhole();
    TextEdit editorChange(const QString& before, int position, int removed, int added) const;

    CashRegister& reg_;
    const Tape& tape_;
    TextField::Seen seen_;
    std::uint64_t caretMovesSeen_ = 0;
    bool drawing_ = false;
    // What the trainee deleted since the register last drew: where, as the editor showed it
    // and as the tape held it.
    struct Deleted {
        qsizetype position;
        QString shown, text;
    };
    std::vector<Deleted> deleted_;
    bool shownCut_ = false; // the view shows a cut text: it is redrawn whole before editing
    qreal scale_ = 1;
    int designWidth_ = 0;
    qreal designMargin_ = 0; // the text's margin at the design size
};

// The journal TxtCHLK, tens of megabytes in a long-used register: a read-only view that
// paints only the lines in sight, straight from the tape's text, through a LineIndex. The
// index is built in small steps while the event loop is idle, so start-up does not wait for
// it; bringing the journal to the front or appending a line costs only the new characters.
// The journal is never opened for typing, so the view is always read-only.
class JournalView : public QAbstractScrollArea {
  public:
    JournalView(const Tape& tape, QWidget* parent = nullptr);
    // Draws what changed in the tape; `inFront` tells whether the journal is the tape in view.
    void render(bool inFront);
    // The journal drawn `scale` times its design size, in the font it has now.
    void setScale(qreal scale);

    qsizetype lineCount();
    qsizetype firstVisibleLine() const;
    int visibleRows() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void indexInBackground();
    void indexAll();
    void updateScrollBars();
    void scrollToEnd();
    int lineHeight() const;

    const Tape& tape_;
    TextField::Seen seen_;
    std::uint64_t caretMovesSeen_ = 0;
    LineIndex index_;
    QTimer idle_;
    bool inFront_ = false;
    bool endPending_ = false; // the caret went to the end while the journal was behind
    int widest_ = 0;          // widest line painted so far, in pixels
    int margin_;              // pixels left of the text
};

} // namespace tarvel
