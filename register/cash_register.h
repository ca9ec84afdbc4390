#pragma once
// The cash register behind the front panel.
//
// How a key press reaches the tapes: the window's control table gives each key widget its Key,
// a click calls press(key), and press runs the key's operation (sell, total, payByCard, ...).
// The operation reads and writes the PanelState only: it appends pieces to the receipt tape
// TxtCHL or the journal TxtCHLK, lights and puts out lamps, changes the register variables,
// and calls the platform (printer, clock, data files) through the injected interfaces. What
// the trainee is to read it tells its listeners; the windows show it. When the operation
// returns, the window draws what changed: appended pieces as appends, lamps and fields as they
// now are. Closing a receipt appends the whole tape to the journal, which keeps bazasmen.txt
// equal to it.

#include "register/journal.h"
#include "register/key.h"
#include "register/panel_state.h"
#include "register/receipt_watch.h"
#include "register/services.h"
#include "storage/data_dir.h"

#include <cstdint>
#include <optional>

namespace tarvel {

// The platform services the register calls. All references outlive the register.
struct Services {
    Clock& clock;
    RegionalSettings& regional;
    Printer& printer;
    ProgramEnd& programEnd;
    DataDir dataDir;
};

enum class ArithmeticFault { None, DivisionByZero, Invalid, Overflow };

class CashRegister {
  public:
    explicit CashRegister(Services services);

    // What the panel shows; the windows draw it and never keep a truth of their own.
    const PanelState& state() const { return s_; }
    // Set by the application once the goods directory window exists.
    void setGoodsWindow(GoodsWindow* window) { goods_ = window; }
    // Who hears of keys, closed receipts, reports, faults and what the trainee is to be told:
    // any number of listeners, each told every event in the order they were added. They
    // outlive the register.
    void addListener(RegisterEvents& listener) { watch_.addListener(listener); }

    // The register switched on: the header onto the tape, the journal read. With
    // `journalInBackground`, bazasmen.txt is left for readJournalInBackground, which the panel
    // asks for once it is on screen; every operation that touches the journal waits for it
    // first, so no key ever sees a half-loaded journal.
    void start(bool journalInBackground = false);
    // Reads the journal on a worker thread; the future is finished once finishJournalLoad can
    // take it in without waiting.
    QFuture<void> readJournalInBackground() { return journal_.loadInBackground(); }
    // Takes the journal in, waiting for a read still going on (or reading it now).
    void finishJournalLoad() { journal_.finishLoad(); }
    // The register switched off (the power key or the window closed): the journal kept, the
    // printer's job closed, the goods directory stored, the program ended. Runs once.
    void close();
    // The clock caption follows the system's clock.
    void tick();

    // One key of the panel pressed by the trainee: the listeners hear of the key first, then
    // its operation runs.
    void press(Key key);

    // Keyboard entry into the indicator. The character code to insert, 0 to discard it.
    int keyboardCharacter(int code) const;
    // The indicator's text after the trainee edited it in the widget.
    void indicatorEdited(const QString& text);
    // After each character typed: the listeners hear of the indicator's text.
    void indicatorTyped();

    // The trainee's typing into the open header: `removed` characters of the tape's text at
    // `position` give way to `inserted`, which brings its own line breaks. Out-of-range
    // positions are clamped to the text; a locked tape takes no typing.
    void editHeader(qsizetype position, qsizetype removed, QStringView inserted);
    // A double-click in the goods directory: CR LF and the entry go onto the receipt tape.
    void appendGoodsEntry(const QString& entry);

    // The journal tape and bazasmen.txt, kept equal.
    Journal& journal() { return journal_; }

  private:
    // Amount entry (entry.cpp).
    void keyDigit(int digit);
    void keyDoubleZero();
    void keyPoint();
    void clear();

    // The chain calculator (arithmetic.cpp). A fault drops the pending calculation and is
    // returned; the operator keys show it.
    ArithmeticFault applyOperator(Operator next);
    ArithmeticFault carryOutPending();
    void dropCalculation();
    ArithmeticFault operatorKey(Operator next);
    void subtract();
    // The pending calculation carried out as ВВ does it: a fault is shown and ВВ goes on.
    void completeCalculation();
    void showFault(ArithmeticFault fault);

    // Receipts (receipt.cpp).
    void enter();
    void sell();
    bool takeCash();
    void total();
    void returnMark();
    void markCash();
    void payByCard();
    void closeReceipt(Payment payment);
    std::optional<double> normalisedDifference() const;

    // The mode keys of the top row (modes.cpp).
    void toggleKn();
    void toggleProgramMode();
    void toggleEnterHidden();
    void toggleBoldClock();
    void toggleJournalMode();
    void toggleKeyboardEntry();
    void toggleDirectory();

    // The department keys (departments.cpp).
    void departmentKey(Key key);
    void writeShiftReport(ShiftReport report);

    // The receipt header (header.cpp).
    void loadHeader();
    void openHeader();
    void reloadHeader();
    void saveHeader();

    // Tells the listeners what the trainee is to read.
    void tell(const QString& text, Notice::Kind kind = Notice::Kind::Information);

    PanelState s_;
    Services svc_;
    GoodsWindow* goods_ = nullptr;
    ReceiptWatch watch_;
    Journal journal_;
    // The last header read from clishe.txt; put on the tape when a reload fails, so that a
    // closed receipt is never left on the tape to be journaled twice.
    QString lastGoodHeader_ = kDefaultHeader;
    bool closed_ = false;
};

// The Russian message for an arithmetic fault.
QString faultMessage(ArithmeticFault fault);

// What the indicator shows when the money tendered is short of the total.
inline const QString kNotEnoughMoney = QStringLiteral(" МАЛО ДЕНЕГ!  ");

} // namespace tarvel
