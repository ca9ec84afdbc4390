#pragma once
// The front panel's controls, one row each: what the window `tarvel` builds, where it stands
// (in twips from the top-left corner of the client area, 1440 twips to the inch), how it looks
// and, for a key, which register operation its click runs. The window is built by walking this
// table; nothing about a control is written anywhere else.

#include "panel/cash_register.h"

#include <QRect>
#include <QStringView>
#include <span>

namespace tarvel::layout {

struct TwipRect {
    int left, top, width, height;
};

// Twips to device-independent pixels at the given logical DPI (96 DPI: 15 twips a pixel).
// Edges are rounded, not sizes, so neighbouring controls keep touching at any DPI.
QRect toPixels(TwipRect twips, qreal dpiX, qreal dpiY);

// A colour from the panel's design: a fixed RGB value or one of the system's colours.
struct Colour {
    enum class Role { Rgb, Inherit, AppWorkspace, MenuText };
    Role role = Role::Inherit;
    int r = 0, g = 0, b = 0;
};
constexpr Colour rgb(int r, int g, int b) {
    return {Colour::Role::Rgb, r, g, b};
}

// The design's Windows fonts and the Debian fonts that stand in for them.
enum class Face {
    Sans,   // MS Sans Serif -> DejaVu Sans
    Mono,   // Lucida Console -> DejaVu Sans Mono
    Symbol, // Wingdings: the CHL key's "y", drawn as U+2353 from DejaVu Sans Mono
};
struct Font {
    Face face = Face::Sans;
    qreal points = 8.25;
    bool bold = false;
    bool italic = false;
};
const char* familyOf(Face face);

enum class Kind {
    Label,   // fixed label: LblInd, Label1, LabH
    Clock,   // Picker
    Field,   // one-line text field: TxtIND, TxtSEC
    Tape,    // TxtCHL, TxtCHLK
    Marker,  // Shap1
    Key,     // push button
    LampBox, // lamp: a small square, shown while lit
};

using KeyOperation = void (CashRegister::*)();

struct Control {
    Kind kind;
    const char* name; // the widget's objectName
    TwipRect rect;
    Colour face;     // background
    Colour ink = {}; // text
    Font font = {};
    QStringView caption = {};
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    // Key: its operation, or for a digit key the Tag handed to DigitClick.
    KeyOperation operation = nullptr;
    QStringView tag = {};
    // Field: the text it shows; Tape: which tape; LampBox: which lamp.
    TextField PanelState::*field = nullptr;
    TapeId tape = TapeId::Receipt;
    Lamp lamp = Lamp::Lbd1;
    // Field: the department number only shows; the indicator accepts filtered typing. (A
    // tape's lock is the register's: Tape::locked.)
    bool readOnly = false;
};

inline constexpr char kWindowName[] = "tarvel";
inline constexpr QStringView kWindowCaption = u"Tarvel (тренажер)";
inline constexpr TwipRect kClientArea = {0, 0, 8505, 5100};
inline constexpr Colour kWindowFace = rgb(255, 224, 192);

// Every control of the panel, bottom of the stacking order first: the indicator block lies
// under the fields, the lamps over the keys whose corners they mark.
std::span<const Control> panelControls();

// The row of the control with this name, or nullptr.
const Control* findControl(std::string_view name);

} // namespace tarvel::layout
