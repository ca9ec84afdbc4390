#include "ui/panel_widgets.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <qdrawutil.h>

namespace tarvel {

// ---- IndicatorEdit

namespace {

// Pixels kept clear at a field's left, between the department number and the amount.
constexpr int kLeftClearance = 6;
// QLineEdit's own margin on either side of its text, in pixels.
constexpr int kLineEditMargin = 2;
// The department field's text is drawn no smaller than this.
constexpr qreal kSmallestPoints = 8;

} // namespace

IndicatorEdit::IndicatorEdit(const TextField& field, QWidget* parent)
    : QLineEdit(parent), field_(field) {
    // Nothing reaches the indicator around the filter: no context menu, no drops.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setFrame(false);
    setTextMargins(kLeftClearance, 0, 0, 0);
}

void IndicatorEdit::setKeyFilter(std::function<int(int)> filter,
                                 std::function<void(const QString&)> edited,
                                 std::function<void()> typed) {
    filter_ = std::move(filter);
    edited_ = std::move(edited);
    typed_ = std::move(typed);
}

void IndicatorEdit::render() {
    const bool changed = field_.changeSince(seen_).any();
    seen_ = field_.seen();
    if (!changed) return;
    setText(field_.text());
    if (isReadOnly()) fitText();
}

void IndicatorEdit::setScale(qreal scale) {
    scale_ = scale;
    designFont_ = font();
    setTextMargins(qRound(kLeftClearance * scale), 0, 0, 0);
    if (isReadOnly()) fitText();
}

void IndicatorEdit::fitText() {
    if (!designFont_) designFont_ = font();
    const int room = contentsRect().width() - textMargins().left() - textMargins().right() -
                     2 * kLineEditMargin - 1; // and the caret's column
    const qreal smallest = kSmallestPoints * scale_;
    QFont fitted = *designFont_;
    while (fitted.pointSizeF() > smallest && QFontMetrics(fitted).horizontalAdvance(text()) > room)
        fitted.setPointSizeF(std::max(smallest, fitted.pointSizeF() - 0.5 * scale_));
    setFont(fitted);
    setCursorPosition(0);
}

void IndicatorEdit::keyPressEvent(QKeyEvent* event) {
    if (!filter_) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (event->key() == Qt::Key_Backspace || event->matches(QKeySequence::Paste)) {
        event->accept();
        return;
    }
    if (typed.isEmpty() || event->key() == Qt::Key_Delete) {
        // Delete, the arrows, Home, End: the field edits as usual; the register follows.
        const QString before = text();
        QLineEdit::keyPressEvent(event);
        adoptText();
        if (typed_ && text() != before) typed_();
        return;
    }
    event->accept();
    for (const char32_t code : typed.toUcs4()) {
        // Control characters (Ctrl+V, Enter, Escape, Tab...) never reach the filter.
        if (code < 0x20 || code == 0x7f) continue;
        typeCharacter(code);
    }
}

void IndicatorEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!filter_) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // Text composed by an input method is typed character by character, like keys.
    event->accept();
    for (const char32_t code : event->commitString().toUcs4())
        typeCharacter(code);
}

void IndicatorEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) return event->accept(); // no selection paste
    QLineEdit::mousePressEvent(event);
}

void IndicatorEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) return event->accept();
    QLineEdit::mouseReleaseEvent(event);
}

void IndicatorEdit::typeCharacter(char32_t code) {
    const int passed = filter_(int(code));
    if (passed == 0) return;
    const char32_t ch = char32_t(passed);
    insert(QString::fromUcs4(&ch, 1));
    adoptText();
    if (typed_) typed_();
}

void IndicatorEdit::adoptText() {
    if (text() == field_.text()) return;
    edited_(text());
    seen_ = field_.seen(); // the widget already shows it
}

// ---- PanelKey

PanelKey::PanelKey(const QString& caption, QColor face, QColor ink, QWidget* parent)
    : QAbstractButton(parent), face_(face), ink_(ink) {
    setText(caption);
    // Keys never take the focus, so typing keeps going to the indicator.
    setFocusPolicy(Qt::NoFocus);
}

void PanelKey::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QBrush face(face_);
    // The bevel in the system's 3-D colours, the face in the key's own colour.
    qDrawWinButton(&p, rect(), palette(), isDown(), &face);
    QRect inner = rect().adjusted(2, 1, -2, -1);
    if (isDown()) inner.translate(1, 1);
    p.setFont(font());
    p.setPen(ink_);
    p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text());
}

// ---- MarkerBar

MarkerBar::MarkerBar(QColor colour, QWidget* parent) : QWidget(parent), colour_(colour) {}

void MarkerBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour_.darker(150));
    p.setBrush(colour_);
    const QRectF bar = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = bar.width() / 2;
    p.drawRoundedRect(bar, radius, radius);
}

} // namespace tarvel
