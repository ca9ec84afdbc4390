#pragma once
// The lines of a text of any size, as the journal's view counts them: a line ends at CR LF, a
// lone CR or a lone LF, and a CR LF pair split between two appends is still one break. Each
// line "starts" at a position of the text; the first at 0, the one after a break right after
// the break.

#include <QStringView>
#include <deque>
#include <limits>

namespace tarvel {

// Where the line starting at `start` ends: its first CR or LF, or the end of the text.
qsizetype lineEnd(QStringView text, qsizetype start);
// Where the line after the one ending at `end` starts; -1 when that line is the text's last.
qsizetype lineAfter(QStringView text, qsizetype end);
// The start of the line that holds position `position` (the text's size: its last line).
qsizetype lineStartAt(QStringView text, qsizetype position);
// The start of the line before the one starting at `start` (which is not 0).
qsizetype lineBefore(QStringView text, qsizetype start);

// Where each line of a long text starts, built incrementally: an append only extends it. It
// keeps the start of every 32nd line only, some 16 bytes a kilobyte of journal, and finds the
// others from there.
class LineIndex {
  public:
    static constexpr qsizetype kAll = std::numeric_limits<qsizetype>::max();

    void clear();
    // Indexes at most `budget` more characters of `text`. True when all of it is indexed.
    bool extend(QStringView text, qsizetype budget = kAll);
    bool complete(QStringView text) const { return indexed_ == text.size(); }
    qsizetype indexed() const { return indexed_; }
    qsizetype lineCount() const { return count_; }
    // Where line `i` of the indexed part starts.
    qsizetype startOf(QStringView text, qsizetype i) const;
    // The number of the line that holds `position` of the indexed part.
    qsizetype lineAt(QStringView text, qsizetype position) const;
    // Line `i` of the indexed part of `text`, without its line break.
    QStringView line(QStringView text, qsizetype i) const;
    // Length in characters of the longest indexed line.
    qsizetype longestLine() const;

  private:
    static constexpr qsizetype kStride = 32;

    void endLineAt(const QChar* p, qsizetype end);
    void startLine(qsizetype start);
    bool checkpointed(qsizetype i) const { return i % kStride == 0; }

    // The start of line 0, kStride, 2·kStride, …: in blocks, so that growing never moves
    // megabytes of them at once.
    std::deque<qsizetype> checkpoints_{0};
    qsizetype count_ = 1;
    qsizetype lastStart_ = 0;
    qsizetype indexed_ = 0;
    qsizetype longest_ = 0;
};

} // namespace tarvel
