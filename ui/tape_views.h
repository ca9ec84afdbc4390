#pragma once
// The receipt tape on screen, and how any tape's text is shown. The register's text is the
// truth: the view draws what changed since it last looked (an append as an append, a replaced
// text anew) and never reads the tape back; what the trainee types into the open receipt
// header goes to the register as edits of the tape's text.

#include "register/cash_register.h"

#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <functional>
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

} // namespace tarvel
