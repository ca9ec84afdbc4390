#include "ui/panel_layout.h"

#include "qt/system_fonts.h"

#include <array>

namespace tarvel::layout {

namespace {

constexpr Colour kLightRed = rgb(255, 128, 128);
constexpr Colour kLightBlue = rgb(128, 128, 255);
constexpr Colour kLightGrey = rgb(224, 224, 224);
constexpr Colour kLightOrange = rgb(255, 192, 128);
constexpr Colour kLightGreen = rgb(192, 255, 192);
constexpr Colour kOrange = rgb(255, 128, 0);
constexpr Colour kMenuText = {Colour::Role::MenuText};
constexpr Colour kWorkspace = {Colour::Role::AppWorkspace};

constexpr Font kKeyFont = {Face::Sans, 8.25, true};
constexpr Font kIndicatorFont = {Face::Sans, 18, true};

// The keypad grid: seven columns, five rows, every key 615 x 375.
constexpr int kCol[] = {2760, 3720, 4440, 5160, 5880, 6840, 7560};
constexpr int kRow[] = {2160, 2880, 3360, 3840, 4320};
constexpr int kKeyW = 615, kKeyH = 375;

constexpr TwipsRect twips(int left, int top, int width, int height) {
    return {float(left), float(top), float(width), float(height)};
}

Control key(Key k, int col, int row, Colour face, Font font = kKeyFont) {
    Control c{Kind::Key, keyName(k), twips(kCol[col], kRow[row], kKeyW, kKeyH), face};
    c.caption = keyCaption(k);
    c.font = font;
    c.key = k;
    c.align = Qt::AlignCenter;
    return c;
}

Control digit(int d, int col, int row) {
    return key(digitKey(d), col, row, kLightGrey);
}

// The power key: upright, away from the keypad, white on the dark menu-text colour.
Control powerKey() {
    Control c = key(Key::Power, 0, 0, kMenuText);
    c.rect = twips(8160, 360, 375, 615);
    c.ink = rgb(255, 255, 255);
    return c;
}

constexpr Control sized(Control c, int width, int height) {
    c.rect.width = width;
    c.rect.height = height;
    return c;
}

constexpr Control lampBox(QStringView name, Lamp lamp, int left, int top, Colour colour) {
    Control c{Kind::LampBox, name, twips(left, top, 135, 135), colour};
    c.lamp = lamp;
    return c;
}

constexpr Control field(QStringView name, TextField PanelState::*f, TwipsRect rect, bool ro) {
    Control c{Kind::Field, name, rect, kLightGreen, kOrange, kIndicatorFont};
    c.field = f;
    c.readOnly = ro;
    c.align = Qt::AlignRight | Qt::AlignVCenter;
    return c;
}

constexpr Control tape(QStringView name, TapeId id, TwipsRect rect, Font font) {
    Control c{Kind::Tape, name, rect, {}, {}, font};
    c.tape = id;
    return c;
}

constexpr Control label(QStringView name, TwipsRect rect, Colour face) {
    return Control{Kind::Label, name, rect, face};
}

constexpr Control centredText(Kind kind, QStringView name, TwipsRect rect, Font font,
                              QStringView caption) {
    Control c{kind, name, rect, {}, {}, font};
    c.caption = caption;
    c.align = Qt::AlignCenter;
    return c;
}

const std::array kControls = {
    // The indicator window: a green block behind the department number and the amount.
    label(u"LblInd", twips(3000, 480, 4935, 1215), kLightGreen),
    label(u"LabH", twips(120, 3240, 2535, 135), kWorkspace),
    centredText(Kind::Clock, u"Picker", twips(600, 3720, 1215, 255), {}, {}),
    centredText(Kind::Label, u"Label1", twips(600, 4200, 1215, 255),
                {Face::Sans, 9.75, false, true}, u"AMC-100Y"),
    field(u"TxtSEC", &PanelState::TxtSEC, twips(3120, 840, 855, 615), true),
    field(u"TxtIND", &PanelState::TxtIND, twips(3960, 840, 3855, 615), false),
    // The two tapes share one place; the journal is the narrower one.
    tape(u"TxtCHLK", TapeId::Journal, twips(240, 120, 2055, 3135), {}),
    tape(u"TxtCHL", TapeId::Receipt, twips(240, 120, 2415, 3135), {Face::Mono, 8.25}),
    Control{Kind::Marker, u"Shap1", twips(2760, 960, 135, 1095), kLightBlue},

    key(Key::CHL, 0, 0, kLightGrey, {Face::Symbol, 9.75, true}),
    key(Key::FC, 1, 0, kLightBlue),
    key(Key::KN, 2, 0, kLightBlue),
    key(Key::KR, 3, 0, kLightBlue),
    key(Key::KL, 4, 0, kLightBlue),
    key(Key::KCH, 5, 0, kLightBlue),
    key(Key::KZ, 6, 0, kLightRed),

    key(Key::Dept1, 0, 1, kLightGrey),
    digit(7, 1, 1),
    digit(8, 2, 1),
    digit(9, 3, 1),
    key(Key::Clear, 4, 1, kLightRed),
    key(Key::Percent, 5, 1, kLightGrey),
    key(Key::Return, 6, 1, kLightRed),

    key(Key::Dept2, 0, 2, kLightGrey),
    digit(4, 1, 2),
    digit(5, 2, 2),
    digit(6, 3, 2),
    key(Key::CashIn, 4, 2, kLightBlue),
    key(Key::Minus, 5, 2, kLightGrey, {Face::Sans, 12, true}),
    key(Key::Plus, 6, 2, kLightGrey),

    key(Key::Dept3, 0, 3, kLightGrey),
    digit(1, 1, 3),
    digit(2, 2, 3),
    digit(3, 3, 3),
    // ВВ is twice as high: it covers its column's last two rows.
    sized(key(Key::Enter, 4, 3, kLightGrey), kKeyW, 855),
    key(Key::Multiply, 5, 3, kLightGrey),
    key(Key::Divide, 6, 3, kLightGrey),

    key(Key::Dept4, 0, 4, kLightGrey),
    digit(0, 1, 4),
    key(Key::DoubleZero, 2, 4, kLightGrey),
    key(Key::Point, 3, 4, kLightGrey),
    // "=" spans the last two columns.
    sized(key(Key::Equals, 5, 4, kLightGrey, {Face::Sans, 13.5, true}), 1335, kKeyH),

    // The power key stands apart, upright, its caption wrapping into "1" over "0". Its face
    // has the menu-text colour (dark), so the caption is drawn white to stay readable.
    powerKey(),

    lampBox(u"Lbd1", Lamp::DirectoryShown, 3960, 1920, kLightRed),
    lampBox(u"Lbd2", Lamp::KnMode, 4680, 1920, kLightRed),
    lampBox(u"Lbd3", Lamp::ProgramMode, 5400, 1920, kLightRed),
    lampBox(u"Lbd4", Lamp::EnterHidden, 6120, 1920, kLightRed),
    lampBox(u"Lbd5", Lamp::BoldClock, 7080, 1920, kLightRed),
    lampBox(u"Lbd6", Lamp::JournalMode, 7800, 1920, kLightRed),
    lampBox(u"LblCB2", Lamp::ClearLamp, 6480, 3120, kLightOrange),
    lampBox(u"LblNL", Lamp::CashTendered, 6480, 3600, kLightOrange),
    lampBox(u"LblVV", Lamp::ReceiptOpen, 6480, 3840, kLightOrange),
    lampBox(u"Lblmin", Lamp::CashOut, 6720, 3360, kLightOrange),
    lampBox(u"LblPrint", Lamp::Totalled, 6720, 4560, kLightOrange),
    lampBox(u"LblZ", Lamp::PrintEachEnter, 3360, 3600, kLightOrange),
    lampBox(u"LblClish", Lamp::HeaderOpen, 3360, 4080, kLightOrange),
};

} // namespace

const char* familyOf(Face face) {
    switch (face) {
    case Face::Sans:
        return proportionalFamily();
    case Face::Mono:
    case Face::Symbol:
        return fixedPitchFamily();
    }
    return proportionalFamily();
}

std::span<const Control> panelControls() {
    return kControls;
}

} // namespace tarvel::layout
