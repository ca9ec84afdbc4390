#pragma once
// The journal on screen. Like the receipt tape's view it draws what changed in the register's
// text since it last looked and never reads the tape back.

#include "register/panel_state.h"
#include "ui/line_index.h"

#include <QAbstractScrollArea>
#include <QTimer>

namespace tarvel {

// The journal TxtCHLK, tens or hundreds of megabytes in a long-used register: a read-only view
// that paints only the lines in sight, straight from the tape's text, through a LineIndex.
// The index is built in small steps while the event loop is idle, so nothing waits for it:
// until it is complete the view finds its end by counting lines back from the end of the text,
// its top lines through the part already indexed, and a place between by its share of the
// characters (the scroll bar is then an estimate); once complete, every line has its exact
// place, and the view keeps the line it showed. Appending a line costs only the new
// characters. The journal is never opened for typing, so the view is always read-only.
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
    void completeIndex();
    bool provisional() const { return !index_.complete(tape_.text()); }
    qsizetype estimatedLines() const;
    qsizetype topLineStart() const;
    qsizetype lastPageStart() const;
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
