#include "ui/panel_window.h"

#include "ui/journal_view.h"
#include "ui/panel_layout.h"
#include "ui/panel_widgets.h"
#include "ui/tape_views.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <cmath>

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

QFont fontOf(layout::Font design, qreal scale) {
    QFont font(QString::fromLatin1(layout::familyOf(design.face)));
    font.setStyleHint(design.face == layout::Face::Sans ? QFont::SansSerif : QFont::TypeWriter);
    font.setPointSizeF(design.points * scale);
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

// The panel drawn `scale` times its design size, standing on `area` of the window.
struct PanelFit {
    qreal scale = 1;
    QRect area;
};

// As large as the window lets the panel be with its proportions kept, in the window's middle.
PanelFit fitPanel(QSize window, QSize design) {
    const qreal scale =
        std::min(qreal(window.width()) / design.width(), qreal(window.height()) / design.height());
    const QSize size(qRound(design.width() * scale), qRound(design.height() * scale));
    const QPoint corner((window.width() - size.width()) / 2, (window.height() - size.height()) / 2);
    return {scale, QRect(corner, size)};
}

// The stored size in twips, and whether the window was maximised; nothing when the setting is
// not two numbers (and the word "maximized").
struct StoredSize {
    double width = 0, height = 0;
    bool maximized = false;
};
std::optional<StoredSize> readPanelSize(const SettingsStore& settings) {
    const QStringList words = settings.read(kPanelSizeSetting.name, kPanelSizeSetting.defaultValue)
                                  .split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2 || words.size() > 3) return std::nullopt;
    const bool maximized = words.size() == 3;
    if (maximized && words[2] != u"maximized") return std::nullopt;
    bool wide = false, high = false;
    const StoredSize size{words[0].toDouble(&wide), words[1].toDouble(&high), maximized};
    if (!wide || !high || !std::isfinite(size.width) || !std::isfinite(size.height))
        return std::nullopt;
    return size;
}

} // namespace

PanelWindow::PanelWindow(CashRegister& reg, SettingsStore& settings, QWidget* parent)
    : QWidget(parent), reg_(reg), settings_(settings) {
    setObjectName(layout::kWindowName.toString());
    setWindowTitle(layout::kWindowCaption.toString());
    paintColours(this, colourOf(layout::kWindowFace, palette()), {}, QPalette::Window);

    for (const Control& c : layout::panelControls()) {
        QWidget* w = makeControl(c);
        w->setObjectName(c.name.toString());
        controls_.emplace_back(&c, w);
    }
    // Smaller than its design the panel would be hard to read, and its tape would wrap its
    // lines elsewhere.
    setMinimumSize(designSize());
    restoreSize();
    layoutPanel();

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
        edit->setKeyFilter([this](int code) { return reg_.keyboardCharacter(code); },
                           [this](const QString& text) {
                               reg_.indicatorEdited(text);
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
    showPickerStyle();
    commandVV_->setVisible(s.commandVVVisible);
}

void PanelWindow::showPickerStyle() {
    const bool bold = reg_.state().pickerBold;
    if (picker_->font().bold() == bold) return;
    QFont font = picker_->font();
    font.setBold(bold);
    picker_->setFont(font);
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
    reg_.tick();
    render();
}

QSize PanelWindow::designSize() const {
    return toPixels(layout::kClientArea, logicalDpiX(), logicalDpiY()).size();
}

// A stored size that is no number takes the design size; any other is kept between the design
// size and the screen's free area, so no setting can make the panel unreadable or too large to
// see whole.
void PanelWindow::restoreSize() {
    const QSize design = designSize();
    QSize wanted = design;
    const std::optional<StoredSize> stored = readPanelSize(settings_);
    if (stored)
        wanted = QSize(twipsToPixels(stored->width, logicalDpiX()),
                       twipsToPixels(stored->height, logicalDpiY()));
    wanted = wanted.expandedTo(design);
    if (const QScreen* on = screen()) wanted = wanted.boundedTo(on->availableGeometry().size());
    resize(wanted.expandedTo(design));
    if (stored && stored->maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

// A maximised window keeps the size it returns to, and says it was maximised.
void PanelWindow::storeSize() {
    const bool maximized = isMaximized() || isFullScreen();
    const QSize size = normalGeometry().isValid() ? normalGeometry().size() : this->size();
    QString text = QStringLiteral("%1 %2")
                       .arg(qRound(pixelsToTwips(size.width(), logicalDpiX())))
                       .arg(qRound(pixelsToTwips(size.height(), logicalDpiY())));
    if (maximized) text += QStringLiteral(" maximized");
    settings_.write(kPanelSizeSetting.name, text);
}

void PanelWindow::layoutPanel() {
    const PanelFit fit = fitPanel(size(), designSize());
    panelArea_ = fit.area;
    const qreal dpiX = logicalDpiX() * fit.scale, dpiY = logicalDpiY() * fit.scale;
    for (const auto& [c, w] : controls_)
        w->setGeometry(toPixels(c->rect, dpiX, dpiY).translated(panelArea_.topLeft()));
    if (fit.scale != scale_) {
        scale_ = fit.scale;
        scaleFonts();
    }
    update();
}

// Fonts by the same scale as the controls; the tapes wrap and the fields fit their text as at
// the design size.
void PanelWindow::scaleFonts() {
    for (const auto& [c, w] : controls_) {
        w->setFont(fontOf(c->font, scale_));
        if (c->kind == Kind::Tape && c->tape == TapeId::Receipt)
            receipt_->setScale(scale_, toPixels(c->rect, logicalDpiX(), logicalDpiY()).width());
    }
    for (IndicatorEdit* field : fields_)
        field->setScale(scale_);
    journal_->setScale(scale_);
    showPickerStyle();
}

void PanelWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanel();
}

void PanelWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (panelArea_ != rect()) {
        QPainter p(this);
        const QColor workspace = colourOf({Colour::Role::AppWorkspace}, palette());
        for (const QRect& margin : QRegion(rect()).subtracted(panelArea_))
            p.fillRect(margin, workspace);
    }
    if (painted_) return;
    painted_ = true;
    // A journal of tens of megabytes takes longer to read than the whole panel takes to come
    // up; the trainee sees the panel first, and the journal follows a moment later. Its read
    // begins once this first paint is on screen, so that it takes nothing from the panel's
    // start on a two-core machine, and the panel goes on answering the keys while it runs.
    connect(&journalRead_, &QFutureWatcher<void>::finished, this, [this] {
        reg_.finishJournalLoad();
        render();
    });
    QTimer::singleShot(0, this, [this] { journalRead_.setFuture(reg_.readJournalInBackground()); });
}

PanelWindow::~PanelWindow() {
    // The close box, the power key and the end of the session all end here, once the event
    // loop is over.
    if (painted_) storeSize();
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    // The close box and the power key end the same way; the register runs it only once.
    reg_.close();
    event->accept();
}

} // namespace tarvel
