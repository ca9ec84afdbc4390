#include "ui/panel_window.h"

#include "ui/panel_layout.h"
#include "ui/panel_widgets.h"
#include "ui/tape_views.h"

#include <QCloseEvent>
#include <QLabel>

namespace tarvel {

namespace {

using layout::Colour;
using layout::Control;
using layout::Kind;

QColor colourOf(Colour colour, const QPalette& system) {
    switch (colour.role) {
    case Colour::Role::Rgb:
        return QColor(colour.r, colour.g, colour.b);
    case Colour::Role::AppWorkspace:
        // Qt's stand-in for the workspace colour: what an empty MDI area is filled with.
        return system.color(QPalette::Dark);
    case Colour::Role::MenuText:
        return system.color(QPalette::WindowText);
    case Colour::Role::Inherit:
        break;
    }
    return {};
}

QFont fontOf(layout::Font design) {
    QFont font(QString::fromLatin1(layout::familyOf(design.face)));
    font.setStyleHint(design.face == layout::Face::Sans ? QFont::SansSerif : QFont::TypeWriter);
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    font.setItalic(design.italic);
    return font;
}

// Fills the widget's background with `face` (nothing when the design leaves it to the window)
// and writes its text in `ink`.
void paintColours(QWidget* w, QColor face, QColor ink, QPalette::ColorRole background) {
    QPalette pal = w->palette();
    if (face.isValid()) {
        pal.setColor(background, face);
        w->setAutoFillBackground(background == QPalette::Window);
    }
    if (ink.isValid()) {
        pal.setColor(QPalette::Text, ink);
        pal.setColor(QPalette::WindowText, ink);
    }
    w->setPalette(pal);
}

} // namespace

PanelWindow::PanelWindow(CashRegister& reg, QWidget* parent) : QWidget(parent), reg_(reg) {
    setObjectName(layout::kWindowName.toString());
    setWindowTitle(layout::kWindowCaption.toString());
    paintColours(this, colourOf(layout::kWindowFace, palette()), {}, QPalette::Window);

    const qreal dpiX = logicalDpiX(), dpiY = logicalDpiY();
    setFixedSize(toPixels(layout::kClientArea, dpiX, dpiY).size());
    for (const Control& c : layout::panelControls()) {
        QWidget* w = makeControl(c);
        w->setObjectName(c.name.toString());
        w->setGeometry(toPixels(c.rect, dpiX, dpiY));
        w->setFont(fontOf(c.font));
    }

    clock_.setInterval(1000);
    connect(&clock_, &QTimer::timeout, this, &PanelWindow::clockTick);
    clock_.start();

    render();
    // Typing goes to the indicator from the start.
    if (indicator_) indicator_->setFocus();
}

QWidget* PanelWindow::makeControl(const Control& c) {
    const QColor face = colourOf(c.face, palette());
    const QColor ink = colourOf(c.ink, palette());
    switch (c.kind) {
    case Kind::Label:
    case Kind::Clock: {
        auto* label = new QLabel(c.caption.toString(), this);
        label->setAlignment(c.align);
        paintColours(label, face, ink, QPalette::Window);
        if (c.kind == Kind::Clock) picker_ = label;
        return label;
    }
    case Kind::Field:
        return makeField(c);
    case Kind::Tape:
        return makeTape(c);
    case Kind::Marker:
        return marker_ = new MarkerBar(face, this);
    case Kind::Key:
        return makeKey(c);
    case Kind::LampBox: {
        auto* lamp = new QWidget(this);
        paintColours(lamp, face, {}, QPalette::Window);
        return lamps_[std::size_t(c.lamp)] = lamp;
    }
    }
    return new QWidget(this);
}

QWidget* PanelWindow::makeField(const Control& c) {
    auto* edit = new IndicatorEdit(reg_.state().*c.field, this);
    edit->setAlignment(c.align);
    edit->setReadOnly(c.readOnly);
    paintColours(edit, colourOf(c.face, palette()), colourOf(c.ink, palette()), QPalette::Base);
    if (!c.readOnly) {
        edit->setKeyFilter([this](int code) { return reg_.TxtIND_KeyPress(code); },
                           [this](const QString& text) {
                               reg_.TxtIND_Change(text);
                               reg_.indicatorTyped();
                           },
                           [this] { render(); });
        indicator_ = edit;
    }
    fields_.push_back(edit);
    return edit;
}

QWidget* PanelWindow::makeTape(const Control& c) {
    const PanelState& s = reg_.state();
    if (c.tape == TapeId::Receipt) return receipt_ = new ReceiptTapeView(reg_, this);
    return journal_ = new JournalView(s.TxtCHLK, this);
}

QWidget* PanelWindow::makeKey(const Control& c) {
    QColor ink = colourOf(c.ink, palette());
    if (!ink.isValid()) ink = palette().color(QPalette::ButtonText);
    auto* key = new PanelKey(c.caption.toString(), colourOf(c.face, palette()), ink, this);
    // The register is reached through a pointer of its own: GCC 12's undefined-behaviour
    // sanitizer reports the member-function call on `reg_` in this lambda as an access through
    // a null pointer (it is not), which stops a sanitizer run.
    CashRegister* reg = &reg_;
    connect(key, &QAbstractButton::clicked, this, [this, reg, k = c.key] {
        reg->press(k);
        render();
    });
    if (c.key == Key::Enter) commandVV_ = key;
    return key;
}

void PanelWindow::render() {
    const PanelState& s = reg_.state();
    for (IndicatorEdit* field : fields_)
        field->render();
    receipt_->render();
    journal_->render(s.front == TapeId::Journal);
    showFrontTape();
    for (int i = 0; i < kLampCount; ++i)
        lamps_[std::size_t(i)]->setVisible(s.lamps[std::size_t(i)]);
    marker_->setVisible(s.Shap1);
    picker_->setText(s.Picker);
    if (picker_->font().bold() != s.pickerBold) {
        QFont font = picker_->font();
        font.setBold(s.pickerBold);
        picker_->setFont(font);
    }
    commandVV_->setVisible(s.commandVVVisible);
}

void PanelWindow::showFrontTape() {
    const TapeId front = reg_.state().front;
    if (haveFront_ && front == shownFront_) return;
    if (front == TapeId::Journal)
        journal_->raise();
    else
        receipt_->raise();
    haveFront_ = true;
    shownFront_ = front;
}

void PanelWindow::clockTick() {
    reg_.Timer1_Timer();
    render();
}

void PanelWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    // A journal of tens of megabytes takes longer to read than the whole panel takes to come
    // up; the trainee sees the panel first, and the journal follows a moment later.
    QTimer::singleShot(0, this, [this] {
        reg_.finishJournalLoad();
        render();
    });
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    // The close box and the power key end the same way; the register runs it only once.
    reg_.Form_Unload();
    event->accept();
}

} // namespace tarvel
