#pragma once
// The cash register behind the front panel.
//
// How a key press reaches the tapes: the window's control table gives each key widget its Key,
// a click calls press(key), and press runs the key's operation below (KR_Click,
// CommandVV_Click, ...). The operation reads and writes the
// PanelState only: it appends pieces to the receipt tape TxtCHL or the journal TxtCHLK, lights
// and puts out lamps, changes the register variables, and calls the platform (printer, clock,
// message boxes, data files) through the injected interfaces. When it returns, the window
// draws what changed: appended pieces are drawn as appends, lamps and fields as they now are.
// Closing a receipt appends the whole tape to the journal through journalAppend(), which also
// keeps bazasmen.txt up to date.

#include "register/key.h"
#include "register/panel_state.h"
#include "register/receipt_watch.h"
#include "register/services.h"
#include "storage/data_dir.h"
#include "storage/journal_file.h"

#include <cstdint>
#include <future>
#include <optional>

namespace tarvel {

// The platform services the register calls. All references outlive the register.
struct Services {
    Clock& clock;
    RegionalSettings& regional;
    MessageBoxes& messages;
    Printer& printer;
    ProgramEnd& programEnd;
    DataDir dataDir;
};

enum class ArithmeticFault { None, DivisionByZero, Invalid, Overflow };

class CashRegister {
  public:
    explicit CashRegister(Services services);

    const PanelState& state() const { return s_; }
    // Set by the application once the goods directory window exists.
    void setGoodsWindow(GoodsWindow* window) { goods_ = window; }
    // Who hears of keys, closed receipts, reports, faults: any number of listeners, each told
    // every event in the order they were added. They outlive the register.
    void addListener(RegisterEvents& listener) { watch_.addListener(listener); }

    // One key of the panel pressed by the trainee: its operation runs, and the listeners hear
    // of the key first.
    void press(Key key);
    // The trainee typed into the indicator (the field already holds the text): the listeners
    // hear of it.
    void indicatorTyped();

    // Start-up, close, power key, clock and keyboard filter. With `journalInBackground`,
    // bazasmen.txt is read on a worker thread while the panel comes up, and
    // finishJournalLoad() takes it in; every operation that touches the journal calls that
    // first, so no key ever sees a half-loaded journal.
    void Form_Load(bool journalInBackground = false);
    void finishJournalLoad();
    void Form_Unload();
    void VKL_Click();
    void Timer1_Timer();
    // Returns the character code to insert into the indicator, 0 to discard the character.
    int TxtIND_KeyPress(int keyAscii);
    // The trainee edited the indicator (a character the filter let through, Delete): the
    // indicator takes the text the widget now shows.
    void TxtIND_Change(const QString& text);

    // Amount entry.
    void DigitClick(int digit);
    void Btn00_Click();
    void CommandZ_Click();
    void CommandC_Click();

    // Arithmetic keys. A fault drops the pending calculation and is returned to the caller,
    // never shown here.
    ArithmeticFault OperClick(Operator det);
    ArithmeticFault DoOper();
    void CommandPlus_Click();
    void CammandMinus_Click();
    void UMN_Click();
    void DEL_Click();

    // Receipts.
    void CommandVV_Click();
    void CommandEnter_Click();
    void VT_Click();
    void NL_Click();
    void PROC_Click();

    // Mode keys.
    void KN_Click();
    void KR_Click();
    void KL_Click();
    void KCH_Click();
    void KZ_Click();
    void CHL_Click();

    // Department keys.
    void Btn1D_Click();
    void Btn2V_Click();
    void Btn3T_Click();
    void Btn4C_Click();

    // Receipt header.
    void clisheED();
    void clishe();
    // The trainee's typing into the open header: `removed` characters of the tape's text at
    // `position` give way to `inserted`, which brings its own line breaks. Out-of-range
    // positions are clamped to the text; a locked tape takes no typing.
    void editHeader(qsizetype position, qsizetype removed, QStringView inserted);
    // The last step of КР while the tape is open for editing. Returns success; on failure the
    // trainee is told why and the tape stays open for editing with its text intact.
    bool saveHeaderFromTape();

    // Goods directory.
    void FC_Click();
    // A double-click in the directory: CR LF and the entry go onto the receipt tape.
    void appendGoodsEntry(const QString& entry);

    // Every write into the journal goes through here: `piece` begins with CR LF.
    void journalAppend(QStringView piece);

    // The receipt printout: steps shared by ВВ and % (start, the tape's characters, finish).
    void printReceiptTape();
    void beginPrintout();
    void printTapeCharacters();
    void finishPrintout();

  private:
    void loadHeader();
    void takeJournal(JournalRead read);
    void tellJournalWrite(const std::optional<FileError>& error);
    void showFault(ArithmeticFault fault);
    void dropCalculation();
    // OperClick(0) as ВВ calls it: a fault is shown and ВВ goes on.
    void completeCalculation();
    // An operator key: OperClick, and a fault shown to the trainee; the fault is returned.
    ArithmeticFault arithmeticKey(Operator det);

    // The steps of ВВ and "=" (receipt.cpp).
    void registerSale();
    bool takeCashPayment();
    void closeReceipt();
    std::optional<double> normalisedDifference() const;

    PanelState s_;
    Services svc_;
    GoodsWindow* goods_ = nullptr;
    ReceiptWatch watch_;
    // The last header read from clishe.txt; put on the tape when a reload fails, so that a
    // closed receipt is never left on the tape to be journaled twice.
    QString lastGoodHeader_ = kDefaultHeader;
    // bazasmen.txt, kept equal to the journal and CR LF after every journal append.
    JournalFile journalFile_{svc_.dataDir.filePath(kJournalFileName)};
    std::future<JournalRead> pendingJournal_;
    // A failed journal write is told once, until a write succeeds again.
    bool journalTroubleTold_ = false;
    bool closed_ = false;
};

// The Russian message for an arithmetic fault.
QString faultMessage(ArithmeticFault fault);

// What the indicator shows when the money tendered is short of the total.
inline const QString kNotEnoughMoney = QStringLiteral(" МАЛО ДЕНЕГ!  ");

} // namespace tarvel
