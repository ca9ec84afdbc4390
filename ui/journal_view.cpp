#include "ui/journal_view.h"

#include "ui/tape_views.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace tarvel {

namespace {

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';
constexpr int kMargin = 3;               // pixels left of the journal's text
constexpr qsizetype kIdleStep = 1 << 20; // characters indexed per idle turn

} // namespace

// ---- LineIndex

void LineIndex::clear() {
    starts_.assign(1, 0);
    indexed_ = 0;
    longest_ = 0;
}

bool LineIndex::extend(QStringView text, qsizetype budget) {
    if (text.size() < indexed_) clear(); // not an append: start again
    const qsizetype end = text.size() - indexed_ > budget ? indexed_ + budget : text.size();
    for (qsizetype i = indexed_; i < end; ++i) {
        const QChar c = text[i];
        if (c != kCr && c != kLf) continue;
        // The LF of a CR LF pair: the break was counted at the CR, the line starts after LF.
        if (c == kLf && i > 0 && text[i - 1] == kCr && starts_.back() == i) {
            starts_.back() = i + 1;
            continue;
        }
        longest_ = std::max(longest_, i - starts_.back());
        starts_.push_back(i + 1);
    }
    indexed_ = end;
    return complete(text);
}

QStringView LineIndex::line(QStringView text, qsizetype i) const {
    const qsizetype start = starts_[std::size_t(i)];
    qsizetype end = indexed_;
    if (i + 1 < lineCount()) {
        const qsizetype next = starts_[std::size_t(i) + 1];
        end = next - 1;
        if (text[end] == kLf && end > start && text[end - 1] == kCr) --end;
    }
    return text.sliced(start, end - start);
}

qsizetype LineIndex::longestLine() const {
    return std::max(longest_, indexed_ - starts_.back());
}

// ---- JournalView

JournalView::JournalView(const Tape& tape, QWidget* parent)
    : QAbstractScrollArea(parent), tape_(tape), margin_(kMargin) {
    idle_.setInterval(0);
    connect(&idle_, &QTimer::timeout, this, &JournalView::indexInBackground);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void JournalView::render(bool inFront) {
    const TextField::Change change = tape_.changeSince(seen_);
    seen_ = tape_.seen();
    if (change.replaced) {
        index_.clear();
        widest_ = 0;
        verticalScrollBar()->setValue(0);
    }
    if (tape_.caretMovesToEnd != caretMovesSeen_) {
        caretMovesSeen_ = tape_.caretMovesToEnd;
        endPending_ = true;
    }
    inFront_ = inFront;
    if (!inFront_) {
        // Behind the receipt tape: nothing to draw now; index while the trainee works.
        if (!index_.complete(tape_.text())) idle_.start();
        return;
    }
    indexAll();
    if (endPending_) scrollToEnd();
    if (change.any()) viewport()->update();
}

void JournalView::setScale(qreal scale) {
    margin_ = qRound(kMargin * scale);
    widest_ = 0; // measured in the former font
    QScrollBar* v = verticalScrollBar();
    const bool atEnd = v->value() == v->maximum(); // and stays there
    updateScrollBars();
    if (atEnd) v->setValue(v->maximum());
    viewport()->update();
}

void JournalView::indexInBackground() {
    if (index_.extend(tape_.text(), kIdleStep)) {
        idle_.stop();
        updateScrollBars();
    }
}

void JournalView::indexAll() {
    if (index_.complete(tape_.text())) return;
    idle_.stop();
    index_.extend(tape_.text());
    updateScrollBars();
}

int JournalView::lineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int JournalView::visibleRows() const {
    return std::max(1, viewport()->height() / lineHeight());
}

void JournalView::updateScrollBars() {
    const int rows = visibleRows();
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, int(std::max<qsizetype>(0, index_.lineCount() - rows)));
    v->setPageStep(rows);
    v->setSingleStep(1);
    // Width: the widest line painted, or an estimate from the longest line's characters.
    const QFontMetrics fm = fontMetrics();
    const qsizetype shown = std::min(index_.longestLine(), kShownLineLength + 1);
    const qsizetype estimate = shown * fm.averageCharWidth();
    const int content = int(std::min<qsizetype>(std::max<qsizetype>(widest_, estimate), 1 << 24));
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, content + 2 * margin_ - viewport()->width()));
    h->setPageStep(viewport()->width());
    h->setSingleStep(std::max(1, fm.averageCharWidth()));
}

void JournalView::scrollToEnd() {
    endPending_ = false;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    horizontalScrollBar()->setValue(0);
}

qsizetype JournalView::lineCount() {
    indexAll();
    return index_.lineCount();
}

qsizetype JournalView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

void JournalView::paintEvent(QPaintEvent*) {
    // Behind the receipt tape the journal is out of sight, but Qt still paints it when the
    // window is first shown: drawing it then would index the whole journal before the panel
    // appears, so only the background is drawn until the journal comes to the front.
    if (!inFront_) return;
    indexAll();
    QPainter p(viewport());
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm = fontMetrics();
    const int height = lineHeight();
    const int x = margin_ - horizontalScrollBar()->value();
    const qsizetype first = firstVisibleLine();
    const qsizetype last = std::min(index_.lineCount(), first + visibleRows() + 1);
    bool wider = false;
    for (qsizetype i = first; i < last; ++i) {
        const QString text = shownLine(index_.line(tape_.text(), i));
        const int y = int(i - first) * height;
        p.drawText(x, y + fm.ascent(), text);
        const int width = fm.horizontalAdvance(text);
        if (width > widest_) {
            widest_ = width;
            wider = true;
        }
    }
    // A line wider than estimated: widen the scroll range once painting is over.
    if (wider) QTimer::singleShot(0, this, &JournalView::updateScrollBars);
}

void JournalView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // A journal shown at its end stays at its end when its view changes height, as it does
    // when the first wide line brings up the horizontal scroll bar.
    QScrollBar* v = verticalScrollBar();
    const bool atEnd = v->value() == v->maximum();
    updateScrollBars();
    if (endPending_ && inFront_)
        scrollToEnd();
    else if (atEnd && inFront_)
        v->setValue(v->maximum());
}

} // namespace tarvel
