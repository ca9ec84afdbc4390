#pragma once
// The front panel's controls, one row each: what the window `tarvel` builds, where it stands
// (in twips from the top-left corner of the client area, 1440 twips to the inch), how it looks
// and, for a key, which Key its click presses. The window is built by walking this table;
// nothing about a control is written anywhere else.

#include "register/key.h"
#include "register/panel_state.h"
#include "ui/twips.h"

#include <QStringView>
#include <span>

namespace tarvel::layout {

// A colour from the panel's design: a fixed RGB value or one of the system's colours.
struct Colour {
    enum class Role { Rgb, Inherit, AppWorkspace, MenuText };
    Role role = Role::Inherit;
    int r = 0, g = 0, b = 0;
};
constexpr Colour rgb(int r, int g, int b) {
    return {Colour::Role::Rgb, r, g, b};
}

// The design's faces; qt/system_fonts.h names what stands for each on this system.
enum class Face {
    Sans,   // MS Sans Serif
    Mono,   // Lucida Console
    Symbol, // Wingdings: the CHL key's "y", drawn as U+2353 in the fixed-pitch face
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

struct Control {
    Kind kind;
    // The widget's objectName; a key's is its Key's name.
    QStringView name;
    TwipsRect rect;
    Colour face;     // background
    Colour ink = {}; // text
    Font font = {};
    QStringView caption = {};
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    // Key: the key it presses.
    Key key = Key::Power;
    // Field: the text it shows; Tape: which tape; LampBox: which lamp.
    TextField PanelState::*field = nullptr;
    TapeId tape = TapeId::Receipt;
    Lamp lamp = Lamp::DirectoryShown;
    // Field: the department number only shows; the indicator accepts filtered typing. (A
    // tape's lock is the register's: Tape::locked.)
    bool readOnly = false;
};

inline constexpr QStringView kWindowName = u"tarvel";
inline constexpr QStringView kWindowCaption = u"Tarvel (тренажер)";
inline constexpr TwipsRect kClientArea = {0, 0, 8505, 5100};
inline constexpr Colour kWindowFace = rgb(255, 224, 192);

// Every control of the panel, bottom of the stacking order first: the indicator block lies
// under the fields, the lamps over the keys whose corners they mark.
std::span<const Control> panelControls();

} // namespace tarvel::layout
