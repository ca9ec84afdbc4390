#include "ui/journal_view.h"

#include "ui/tape_views.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace tarvel {

namespace {

constexpr int kMargin = 3;               // pixels left of the journal's text
constexpr qsizetype kIdleStep = 1 << 18; // characters indexed per idle turn
constexpr qsizetype kSample = 1 << 16;   // characters at the end that give the mean line

} // namespace

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
    // An appended line is indexed at once; a whole journal while the trainee works.
    if (tape_.text().size() - index_.indexed() <= kIdleStep)
        index_.extend(tape_.text());
    else
        idle_.start();
    if (!inFront_) return;
    updateScrollBars();
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
    if (index_.complete(tape_.text())) {
        idle_.stop();
        return;
    }
    if (tape_.text().size() - index_.indexed() > kIdleStep)
        index_.extend(tape_.text(), kIdleStep);
    else
        completeIndex();
}

void JournalView::indexAll() {
    if (provisional()) completeIndex();
}

// The last step: the scroll bar becomes exact, and the view stays on the line it showed.
void JournalView::completeIndex() {
    idle_.stop();
    QScrollBar* v = verticalScrollBar();
    const bool atEnd = v->value() == v->maximum();
    const qsizetype top = topLineStart();
    index_.extend(tape_.text());
    updateScrollBars();
    v->setValue(atEnd ? v->maximum() : int(index_.lineAt(tape_.text(), top)));
}

// Until the index is complete: the lines indexed, and the rest at the mean length of the last
// lines.
qsizetype JournalView::estimatedLines() const {
    const QStringView text = tape_.text();
    const QStringView rest = text.sliced(index_.indexed());
    const QStringView sample = rest.last(std::min(rest.size(), kSample));
    const qsizetype breaks =
        std::max<qsizetype>(1, sample.count(u'\n') + sample.count(u'\r') - sample.count(u"\r\n"));
    return index_.lineCount() + rest.size() * breaks / std::max<qsizetype>(1, sample.size());
}

// The start of the line at the top of the view.
qsizetype JournalView::topLineStart() const {
    const QStringView text = tape_.text();
    const QScrollBar* v = verticalScrollBar();
    if (!provisional()) return index_.startOf(text, v->value());
    const qsizetype lastPage = lastPageStart();
    if (v->value() >= v->maximum()) return lastPage;
    const qsizetype known = index_.lineCount() - 1; // lines wholly indexed
    if (v->value() < known) return std::min(index_.startOf(text, v->value()), lastPage);
    const double share = double(v->value() - known) / std::max(1, v->maximum() - int(known));
    const auto position = index_.indexed() + qsizetype(share * double(lastPage - index_.indexed()));
    return std::min(lineStartAt(text, position), lastPage);
}

// The start of the first line of the last page, counted back from the end of the text.
qsizetype JournalView::lastPageStart() const {
    const QStringView text = tape_.text();
    qsizetype start = lineStartAt(text, text.size());
    for (int row = 1; row < visibleRows() && start > 0; ++row)
        start = lineBefore(text, start);
    return start;
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
    const qsizetype lines = provisional() ? estimatedLines() : index_.lineCount();
    v->setRange(0, int(std::clamp<qsizetype>(lines - rows, 0, std::numeric_limits<int>::max())));
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
    // window is first shown: only the background is drawn until the journal comes forward.
    if (!inFront_) return;
    QPainter p(viewport());
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm = fontMetrics();
    const QStringView text = tape_.text();
    const int height = lineHeight();
    const int x = margin_ - horizontalScrollBar()->value();
    bool wider = false;
    qsizetype start = topLineStart();
    for (int row = 0; row <= visibleRows() && start >= 0; ++row) {
        const qsizetype end = lineEnd(text, start);
        const QString line = shownLine(text.sliced(start, end - start));
        p.drawText(x, row * height + fm.ascent(), line);
        const int width = fm.horizontalAdvance(line);
        if (width > widest_) {
            widest_ = width;
            wider = true;
        }
        start = lineAfter(text, end);
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
