#include "ui/tape_views.h"

#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace tarvel {

namespace {

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';

} // namespace

QString viewTextOf(QStringView model, qsizetype from) {
    from = std::clamp<qsizetype>(from, 0, model.size());
    if (from > 0 && from < model.size() && model[from - 1] == kCr && model[from] == kLf) ++from;
    QString out;
    out.reserve(model.size() - from);
    for (qsizetype i = from; i < model.size(); ++i) {
        const QChar c = model[i];
        if (c == kCr) {
            out += kLf;
            if (i + 1 < model.size() && model[i + 1] == kLf) ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString shownLine(QStringView line) {
    if (line.size() <= kShownLineLength) return line.toString();
    return line.first(kShownLineLength).toString() + kCutMark;
}

static bool isBreak(QChar c) {
    return c == kCr || c == kLf;
}

// Where the last `lines` lines of the model begin (a break is CR LF, a lone CR or a lone LF):
// after the whole break before them, never between the CR and the LF of a pair. Each break is
// found by a tight search back, the text between breaks is not looked at twice.
static qsizetype startOfLastLines(QStringView model, qsizetype lines) {
    qsizetype before = model.size(); // every break counted so far starts here or later
    for (qsizetype breaks = 1; breaks <= lines; ++breaks) {
        const auto hit =
            std::find_if(std::make_reverse_iterator(model.begin() + before), model.rend(), isBreak);
        if (hit == model.rend()) return 0;
        const qsizetype at = hit.base() - model.begin() - 1; // the LF of a pair, if a pair
        if (breaks == lines) return at + 1;
        before = model[at] == kLf && at > 0 && model[at - 1] == kCr ? at - 1 : at;
    }
    return 0;
}

// Where the line starting at `from` ends: its CR or LF, or the end of the model.
static qsizetype endOfLine(QStringView model, qsizetype from) {
    return std::find_if(model.begin() + from, model.end(), isBreak) - model.begin();
}

QString shownTapeText(QStringView model, bool& cut, qsizetype lines) {
    const qsizetype start = startOfLastLines(model, lines);
    cut = start > 0;
    QString out;
    if (cut) out += QString(kCutMark) + kLf;
    // Line by line: past its first kShownLineLength characters a line is only searched for its
    // end, in one tight pass, since a receipt under a header of megabytes is redrawn cut at
    // every key that writes onto the tape.
    for (qsizetype from = start; from < model.size();) {
        const qsizetype end = endOfLine(model, from);
        const QStringView line = model.sliced(from, end - from);
        out += line.first(std::min(line.size(), kShownLineLength));
        if (line.size() > kShownLineLength) {
            out += kCutMark;
            cut = true;
        }
        if (end == model.size()) break;
        out += kLf;
        from = end + (model[end] == kCr && end + 1 < model.size() && model[end + 1] == kLf ? 2 : 1);
    }
    return out;
}

QString modelTextOfView(QStringView view) {
    QString out;
    out.reserve(view.size() + view.size() / 16);
    for (qsizetype i = 0; i < view.size(); ++i) {
        const QChar c = view[i];
        if (c == kCr || c == kLf || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            out += kCrLf;
            if (c == kCr && i + 1 < view.size() && view[i + 1] == kLf) ++i;
        } else {
            out += c;
        }
    }
    return out;
}

qsizetype modelIndexOfView(QStringView model, qsizetype viewPosition) {
    qsizetype index = 0;
    for (qsizetype v = 0; v < viewPosition && index < model.size(); ++v) {
        const bool crLf =
            model[index] == kCr && index + 1 < model.size() && model[index + 1] == kLf;
        index += crLf ? 2 : 1;
    }
    return index;
}

// ---- ReceiptTapeView

namespace {

// The editor's text as the view text of a tape: its paragraph and line breaks read as "\n".
QString editorText(const QTextDocument& document) {
    return document.toRawText()
        .replace(QChar::ParagraphSeparator, kLf)
        .replace(QChar::LineSeparator, kLf);
}

// The change from `before` to `after` that keeps their longest common start and end.
ReceiptTapeView::TextEdit differenceOf(QStringView before, QStringView after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < shorter && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (end < shorter - start &&
           before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return {start, before.size() - start - end,
            after.sliced(start, after.size() - start - end).toString()};
}

} // namespace

ReceiptTapeView::ReceiptTapeView(CashRegister& reg, QWidget* parent)
    : QPlainTextEdit(parent), reg_(reg), tape_(reg.state().TxtCHL) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    designMargin_ = document()->documentMargin();
    connect(document(), &QTextDocument::contentsChange, this, &ReceiptTapeView::adoptEdit);
}

void ReceiptTapeView::setScale(qreal scale, int designWidth) {
    scale_ = scale;
    designWidth_ = designWidth;
    wrapAsDesigned();
}

void ReceiptTapeView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    wrapAsDesigned();
}

// A line breaks where its characters no longer fit the text's width. At the design size that
// width holds some number of characters of the design font (the frame and the scroll bar, which
// do not grow with the panel, take what they take); at any other scale the text gets room for
// the very same number of characters of its font, and the margins take the rest.
void ReceiptTapeView::wrapAsDesigned() {
    if (designWidth_ <= 0) return;
    QFont designFont = font();
    designFont.setPointSizeF(font().pointSizeF() / scale_);
    const qreal designAdvance = QFontMetricsF(designFont).horizontalAdvance(u'0');
    const qreal advance = QFontMetricsF(font()).horizontalAdvance(u'0');
    if (designAdvance <= 0 || advance <= 0) return;
    const int viewportWidth = viewport()->width();
    const int designViewport = viewportWidth - (width() - designWidth_);
    const qreal characters = (designViewport - 2 * designMargin_) / designAdvance;
    const qreal margin = std::max<qreal>(0, (viewportWidth - characters * advance) / 2);
    if (std::abs(margin - document()->documentMargin()) > 1e-6)
        document()->setDocumentMargin(margin);
}

void ReceiptTapeView::render() {
    const TextField::Change change = tape_.changeSince(seen_);
    seen_ = tape_.seen();
    // A long piece may hold a line too long to lay out; a cut view must show every character
    // before the trainee edits it.
    const bool whole = change.replaced || shownCut_ ||
                       (change.any() && tape_.text().size() - change.from > kShownLineLength);
    const bool draw = whole ? change.any() || !tape_.locked : change.any();
    if (whole && draw) {
        drawWhole();
    } else if (draw) {
        QScopedValueRollback drawing(drawing_, true);
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        end.insertText(viewTextOf(tape_.text(), change.from));
    }
    if (draw) {
        // The trainee's undo must not take back what the register wrote.
        document()->clearUndoRedoStacks();
        deleted_.clear();
    }
    setReadOnly(tape_.locked);
    if (tape_.caretMovesToEnd != caretMovesSeen_) {
        caretMovesSeen_ = tape_.caretMovesToEnd;
        moveCursor(QTextCursor::End);
        ensureCursorVisible();
    }
}

// A locked tape is shown cut where it is too large to lay out; an open one whole, since what the
// trainee edits is saved as it is seen.
void ReceiptTapeView::drawWhole() {
    QScopedValueRollback drawing(drawing_, true);
    bool cut = false;
    const QString shown = shownTapeText(tape_.text(), cut);
    // Wrapping a line of megabytes takes minutes; unwrapped it is laid out in linear time.
    setLineWrapMode(cut ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    setPlainText(tape_.locked ? shown : viewTextOf(tape_.text()));
    shownCut_ = tape_.locked && cut;
}

void ReceiptTapeView::adoptEdit(int position, int removed, int added) {
    // Only the trainee's own typing into the open header goes back to the register.
    if (drawing_ || tape_.locked) return;
    const QString& model = tape_.text();
    const QString before = viewTextOf(model);
    const TextEdit edit = editorChange(before, position, removed, added);
    // A change of format alone leaves the text as it was: nothing to adopt.
    if (edit.removed == edit.inserted.size() &&
        QStringView(before).sliced(edit.position, edit.removed) == edit.inserted)
        return;
    const qsizetype from = modelIndexOfView(model, edit.position);
    const qsizetype to = modelIndexOfView(model, edit.position + edit.removed);
    QString inserted = modelTextOfView(edit.inserted);
    // Undoing a deletion brings back the very characters deleted, a lone CR or LF included,
    // where the editor only knows line breaks.
    if (!deleted_.empty() && deleted_.back().position == edit.position &&
        deleted_.back().shown == edit.inserted) {
        inserted = deleted_.back().text;
        deleted_.pop_back();
    }
    if (to > from)
        deleted_.push_back({edit.position, before.sliced(edit.position, edit.removed),
                            model.sliced(from, to - from)});
    reg_.editHeader(from, to - from, inserted);
    seen_ = tape_.seen(); // the widget already shows it
}

// The change Qt reports, in the view text `before` the change.
ReceiptTapeView::TextEdit ReceiptTapeView::editorChange(const QString& before, int position,
                                                        int removed, int added) const {
    const QString after = editorText(*document());
    // A change that reaches the end of the editor also counts its closing paragraph, which
    // the tape's text does not have.
    const qsizetype beyond = std::max<qsizetype>(0, qsizetype(position) + removed - before.size());
    const qsizetype length = added - beyond;
    if (length >= 0 && position + length <= after.size() &&
        before.size() - (removed - beyond) + length == after.size())
        return {position, removed - beyond, after.sliced(position, length)};
    return differenceOf(before, after); // the change found by comparing the two texts
}

} // namespace tarvel
