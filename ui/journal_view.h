#pragma once
// The journal on screen. Like the receipt tape's view it draws what changed in the register's
// text since it last looked and never reads the tape back.

#include "register/panel_state.h"

#include <QAbstractScrollArea>
#include <QTimer>
#include <limits>
#include <vector>

namespace tarvel {

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
