#include "platform/panel_layout.h"

#include <array>
#include <cmath>
#include <string_view>

namespace tarvel::layout {

namespace {

using R = CashRegister;

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

constexpr Control key(const char* name, QStringView caption, int col, int row, Colour face,
                      KeyOperation op, Font font = kKeyFont) {
    Control c{Kind::Key, name, {kCol[col], kRow[row], kKeyW, kKeyH}, face};
    c.caption = caption;
    c.font = font;
    c.operation = op;
    c.align = Qt::AlignCenter;
    return c;
}

// A digit key's caption is also its Tag, the digit DigitClick keys in.
constexpr Control digit(const char* name, QStringView d, int col, int row) {
    Control c = key(name, d, col, row, kLightGrey, nullptr);
    c.tag = d;
    return c;
}

constexpr Control sized(Control c, int width, int height) {
    c.rect.width = width;
    c.rect.height = height;
    return c;
}

constexpr Control lampBox(const char* name, Lamp lamp, int left, int top, Colour colour) {
    Control c{Kind::LampBox, name, {left, top, 135, 135}, colour};
    c.lamp = lamp;
    return c;
}

constexpr Control field(const char* name, TextField PanelState::*f, TwipRect rect, bool ro) {
    Control c{Kind::Field, name, rect, kLightGreen, kOrange, kIndicatorFont};
    c.field = f;
    c.readOnly = ro;
    c.align = Qt::AlignRight | Qt::AlignVCenter;
    return c;
}

constexpr Control tape(const char* name, TapeId id, TwipRect rect, Font font) {
    Control c{Kind::Tape, name, rect, {}, {}, font};
    c.tape = id;
    return c;
}

constexpr Control label(const char* name, TwipRect rect, Colour face) {
    return Control{Kind::Label, name, rect, face};
}

constexpr Control centredText(Kind kind, const char* name, TwipRect rect, Font font,
                              QStringView caption) {
    Control c{kind, name, rect, {}, {}, font};
    c.caption = caption;
    c.align = Qt::AlignCenter;
    return c;
}

const std::array kControls = {
    // The indicator window: a green block behind the department number and the amount.
    label("LblInd", {3000, 480, 4935, 1215}, kLightGreen),
    label("LabH", {120, 3240, 2535, 135}, kWorkspace),
    centredText(Kind::Clock, "Picker", {600, 3720, 1215, 255}, {}, {}),
    centredText(Kind::Label, "Label1", {600, 4200, 1215, 255}, {Face::Sans, 9.75, false, true},
                u"AMC-100Y"),
    field("TxtSEC", &PanelState::TxtSEC, {3120, 840, 855, 615}, true),
    field("TxtIND", &PanelState::TxtIND, {3960, 840, 3855, 615}, false),
    // The two tapes share one place; the journal is the narrower one.
    tape("TxtCHLK", TapeId::Journal, {240, 120, 2055, 3135}, {}),
    tape("TxtCHL", TapeId::Receipt, {240, 120, 2415, 3135}, {Face::Mono, 8.25}),
    Control{Kind::Marker, "Shap1", {2760, 960, 135, 1095}, kLightBlue},

    key("CHL", u"\u2353", 0, 0, kLightGrey, &R::CHL_Click, {Face::Symbol, 9.75, true}),
    key("FC", u"ФЦ", 1, 0, kLightBlue, &R::FC_Click),
    key("KN", u"КН", 2, 0, kLightBlue, &R::KN_Click),
    key("KR", u"КР", 3, 0, kLightBlue, &R::KR_Click),
    key("KL", u"КЛ", 4, 0, kLightBlue, &R::KL_Click),
    key("KCH", u"КЧ", 5, 0, kLightBlue, &R::KCH_Click),
    key("KZ", u"КЗ", 6, 0, kLightRed, &R::KZ_Click),

    key("Btn1D", u"1Д", 0, 1, kLightGrey, &R::Btn1D_Click),
    digit("Command7", u"7", 1, 1),
    digit("Command8", u"8", 2, 1),
    digit("Command9", u"9", 3, 1),
    key("CommandC", u"СБ", 4, 1, kLightRed, &R::CommandC_Click),
    key("PROC", u"%", 5, 1, kLightGrey, &R::PROC_Click),
    key("VT", u"ВТ", 6, 1, kLightRed, &R::VT_Click),

    key("Btn2V", u"2В", 0, 2, kLightGrey, &R::Btn2V_Click),
    digit("Command4", u"4", 1, 2),
    digit("Command5", u"5", 2, 2),
    digit("Command6", u"6", 3, 2),
    key("NL", u"НЛ", 4, 2, kLightBlue, &R::NL_Click),
    key("CammandMinus", u"-", 5, 2, kLightGrey, &R::CammandMinus_Click, {Face::Sans, 12, true}),
    key("CommandPlus", u"+", 6, 2, kLightGrey, &R::CommandPlus_Click),

    key("Btn3T", u"3Т", 0, 3, kLightGrey, &R::Btn3T_Click),
    digit("Command1", u"1", 1, 3),
    digit("Command2", u"2", 2, 3),
    digit("Command3", u"3", 3, 3),
    // ВВ is twice as high: it covers its column's last two rows.
    sized(key("CommandVV", u"ВВ", 4, 3, kLightGrey, &R::CommandVV_Click), kKeyW, 855),
    key("UMN", u"Х", 5, 3, kLightGrey, &R::UMN_Click),
    key("DEL", u"/", 6, 3, kLightGrey, &R::DEL_Click),

    key("Btn4C", u"4С", 0, 4, kLightGrey, &R::Btn4C_Click),
    digit("Command0", u"0", 1, 4),
    key("Btn00", u"00", 2, 4, kLightGrey, &R::Btn00_Click),
    key("CommandZ", u".", 3, 4, kLightGrey, &R::CommandZ_Click),
    // "=" spans the last two columns.
    sized(key("CommandEnter", u"=", 5, 4, kLightGrey, &R::CommandEnter_Click,
              {Face::Sans, 13.5, true}),
          1335, kKeyH),

    // The power key stands apart, upright, its caption wrapping into "1" over "0". Its face
    // has the menu-text colour (dark), so the caption is drawn white to stay readable.
    Control{Kind::Key,
            "VKL",
            {8160, 360, 375, 615},
            kMenuText,
            rgb(255, 255, 255),
            kKeyFont,
            u"  1  0",
            Qt::AlignCenter,
            &R::VKL_Click},

    lampBox("Lbd1", Lamp::Lbd1, 3960, 1920, kLightRed),
    lampBox("Lbd2", Lamp::Lbd2, 4680, 1920, kLightRed),
    lampBox("Lbd3", Lamp::Lbd3, 5400, 1920, kLightRed),
    lampBox("Lbd4", Lamp::Lbd4, 6120, 1920, kLightRed),
    lampBox("Lbd5", Lamp::Lbd5, 7080, 1920, kLightRed),
    lampBox("Lbd6", Lamp::Lbd6, 7800, 1920, kLightRed),
    lampBox("LblCB2", Lamp::LblCB2, 6480, 3120, kLightOrange),
    lampBox("LblNL", Lamp::LblNL, 6480, 3600, kLightOrange),
    lampBox("LblVV", Lamp::LblVV, 6480, 3840, kLightOrange),
    lampBox("Lblmin", Lamp::Lblmin, 6720, 3360, kLightOrange),
    lampBox("LblPrint", Lamp::LblPrint, 6720, 4560, kLightOrange),
    lampBox("LblZ", Lamp::LblZ, 3360, 3600, kLightOrange),
    lampBox("LblClish", Lamp::LblClish, 3360, 4080, kLightOrange),
};

int scaled(int twips, qreal dpi) {
    return int(std::lround(twips * dpi / 1440.0));
}

} // namespace

QRect toPixels(TwipRect t, qreal dpiX, qreal dpiY) {
    const int x = scaled(t.left, dpiX), y = scaled(t.top, dpiY);
    return QRect(x, y, scaled(t.left + t.width, dpiX) - x, scaled(t.top + t.height, dpiY) - y);
}

const char* familyOf(Face face) {
    switch (face) {
    case Face::Sans:
        return "DejaVu Sans";
    case Face::Mono:
    case Face::Symbol:
        return "DejaVu Sans Mono";
    }
    return "DejaVu Sans";
}

std::span<const Control> panelControls() {
    return kControls;
}

const Control* findControl(std::string_view name) {
    for (const Control& c : kControls)
        if (name == c.name) return &c;
    return nullptr;
}

} // namespace tarvel::layout
