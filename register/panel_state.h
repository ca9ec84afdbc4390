#pragma once
// Everything the register knows: its text fields, lamps, marker, clock caption, the visibility
// of the ВВ key and its twelve register variables. The key operations (CashRegister) read and
// write this state only; the window draws it and never holds a truth of its own.

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace tarvel {

inline constexpr QStringView kCrLf = u"\r\n";

// A text field's exact text. CR LF, a lone CR and a lone LF are kept as they are. A view draws
// the field from what it saw when it last drew (`Seen`): an append as an append, so that a
// journal of tens of megabytes stays instant, and only a replaced text anew. Any number of
// views can follow one field, each with its own Seen.
class TextField {
  public:
    const QString& text() const { return text_; }
    bool operator==(QStringView other) const { return text_ == other; }

    void setText(const QString& text) {
        text_ = text;
        ++revision_;
    }
    void append(QStringView piece) { text_.append(piece); }

    // The field as a view has drawn it: the count of replacements and the length then. A view
    // that has drawn nothing yet holds the default, which no field ever matches.
    struct Seen {
        std::uint64_t revision = 0;
        qsizetype length = 0;
    };
    Seen seen() const { return {revision_, text_.size()}; }

    // The trainee replaced `removed` characters at `position` with `inserted`; every other
    // character stays as it is.
    void replace(qsizetype position, qsizetype removed, QStringView inserted) {
        text_.replace(position, removed, inserted.toString());
        ++revision_;
    }

    // What a view that drew the field at `seen` must draw now: the whole text anew, or the
    // text from `from` on (-1: nothing).
    struct Change {
        bool replaced = false;
        qsizetype from = -1;
        bool any() const { return replaced || from >= 0; }
    };
    Change changeSince(Seen seen) const {
        if (seen.revision != revision_ || seen.length > text_.size()) return {true, 0};
        return {false, seen.length < text_.size() ? seen.length : -1};
    }

  private:
    QString text_;
    std::uint64_t revision_ = 1;
};

// A paper tape: the receipt tape TxtCHL or the journal TxtCHLK.
struct Tape : TextField {
    bool locked = true;
    // Counts the operations that moved the caret (SelStart) to the end, so that the newest line
    // is in view; a view moves its caret to the end when the count has grown since it looked.
    std::uint64_t caretMovesToEnd = 0;
    void moveCaretToEnd() { ++caretMovesToEnd; }
};

enum class TapeId { Receipt, Journal };

// The thirteen lamps, named by what a lit lamp means; the comment gives the lamp's control
// name on the panel. Mode lamps stand above the top key row, receipt lamps beside their keys.
enum class Lamp {
    DirectoryShown, // Lbd1: the goods directory is shown (ФЦ)
    KnMode,         // Lbd2: КН pressed; nothing else reads it
    ProgramMode,    // Lbd3: КР, the date, time and header mode
    EnterHidden,    // Lbd4: КЛ has taken ВВ off the panel
    BoldClock,      // Lbd5: КЧ, the clock caption in bold
    JournalMode,    // Lbd6: КЗ, shift reports into the journal
    ClearLamp,      // LblCB2: by СБ; СБ puts it out with an open receipt, nothing lights it
    CashTendered,   // LblNL: НЛ after the total, ВВ takes the money handed over
    ReceiptOpen,    // LblVV: a receipt is being rung up
    CashOut,        // Lblmin: "-" pressed, so НЛ takes cash out
    Totalled,       // LblPrint: "=" has totalled the receipt
    PrintEachEnter, // LblZ: 2В in journal mode, every ВВ then prints the tape
    HeaderOpen,     // LblClish: 3Т in КР mode opened the header for typing
};
inline constexpr int kLampCount = 13;

// The calculation an operator key leaves pending, carried out by the next operator key, "=" or
// ВВ with the amount keyed since.
enum class Operator : std::int16_t { None, Plus, Minus, Multiply, Divide };

// Where the next receipt printout goes: the steps are hundredths of the printable area, and the
// count of printouts made stacks each one a row below the last.
struct PrintPosition {
    double stepX = 0;
    double stepY = 0;
    std::int16_t row = 0;
};

struct PanelState {
    TextField TxtIND; // indicator
    TextField TxtSEC; // department number, "01".."08", maybe with a return mark
    Tape TxtCHL;      // receipt tape
    Tape TxtCHLK;     // journal (control tape)
    TapeId front = TapeId::Receipt;

    std::array<bool, kLampCount> lamps{};
    bool lit(Lamp l) const { return lamps[std::size_t(l)]; }
    void light(Lamp l) { lamps[std::size_t(l)] = true; }
    void putOut(Lamp l) { lamps[std::size_t(l)] = false; }
    // A mode is its lamp: there is no other mode variable.
    bool inKrMode() const { return lit(Lamp::ProgramMode); }
    bool inJournalMode() const { return lit(Lamp::JournalMode); }

    bool Shap1 = false; // keyboard-entry marker
    QString Picker;     // clock caption
    bool pickerBold = false;
    bool commandVVVisible = true;

    // Register variables.
    float accumulator = 0;
    Operator pendingOper = Operator::None;
    std::int16_t entryFlag = 0;
    float receiptTotal = 0;
    float shiftTotal = 0;
    PrintPosition print;
};

// The design-time receipt header: the one built-in copy of it.
inline const QString kDefaultHeader = QStringLiteral("   ИП ТОРБИН Т.Т.\r\n"
                                                     " ИНН 771313131313\r\n"
                                                     "******************\r\n");

} // namespace tarvel
