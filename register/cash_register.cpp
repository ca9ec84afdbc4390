#include "register/cash_register.h"

#include "register/file_messages.h"
#include "storage/text_files.h"

namespace tarvel {

// The watcher hears of the key first, then the key's operation runs. The СБ that ВВ runs after
// a cash payment is the register's own step and is not told as a key.
void CashRegister::press(Key key) {
    watch_.keyPressed(key);
    switch (key) {
    case Key::Digit0:
    case Key::Digit1:
    case Key::Digit2:
    case Key::Digit3:
    case Key::Digit4:
    case Key::Digit5:
    case Key::Digit6:
    case Key::Digit7:
    case Key::Digit8:
    case Key::Digit9:
        return DigitClick(int(key) - int(Key::Digit0));
    case Key::DoubleZero:
        return Btn00_Click();
    case Key::Point:
        return CommandZ_Click();
    case Key::Clear:
        return CommandC_Click();
    case Key::Plus:
        return CommandPlus_Click();
    case Key::Minus:
        return CammandMinus_Click();
    case Key::Multiply:
        return UMN_Click();
    case Key::Divide:
        return DEL_Click();
    case Key::Equals:
        return CommandEnter_Click();
    case Key::Enter:
        return CommandVV_Click();
    case Key::Return:
        return VT_Click();
    case Key::CashIn:
        return NL_Click();
    case Key::Percent:
        return PROC_Click();
    case Key::KN:
        return KN_Click();
    case Key::KR:
        return KR_Click();
    case Key::KL:
        return KL_Click();
    case Key::KCH:
        return KCH_Click();
    case Key::KZ:
        return KZ_Click();
    case Key::CHL:
        return CHL_Click();
    case Key::FC:
        return FC_Click();
    case Key::Dept1:
        return Btn1D_Click();
    case Key::Dept2:
        return Btn2V_Click();
    case Key::Dept3:
        return Btn3T_Click();
    case Key::Dept4:
        return Btn4C_Click();
    case Key::Power:
        return VKL_Click();
    }
}

CashRegister::CashRegister(Services services) : svc_(std::move(services)) {
    s_.TxtCHL.setText(kDefaultHeader);
}

// The header is read at once, the journal on a worker thread when asked. The journal is read
// even when the header is missing, so a missing header can never lead to an empty journal
// being written over a stored one.
void CashRegister::Form_Load(bool journalInBackground) {
    loadHeader();
    pendingJournal_ =
        std::async(journalInBackground ? std::launch::async : std::launch::deferred,
                   [path = svc_.dataDir.filePath(kJournalFileName)] { return readJournal(path); });
    if (!journalInBackground) finishJournalLoad();
    s_.TxtIND.setText(QStringLiteral("0.00"));
    s_.TxtSEC.setText(QStringLiteral("01"));
}

void CashRegister::loadHeader() {
    const FileText header = readTapeFile(svc_.dataDir.filePath(kHeaderFileName));
    if (header.error) {
        svc_.messages.show(kCannotFindFile);
        return;
    }
    s_.TxtCHL.setText(header.text);
    lastGoodHeader_ = header.text;
}

void CashRegister::finishJournalLoad() {
    if (!pendingJournal_.valid()) return;
    takeJournal(pendingJournal_.get());
}

// The read journal goes after whatever the journal holds (into an empty one without a copy),
// and bazasmen.txt is brought to the register's form.
void CashRegister::takeJournal(JournalRead read) {
    Tape& journal = s_.TxtCHLK;
    const bool journalIsFileText = read.canonical && journal.text().isEmpty();
    if (read.status == JournalLoad::Loaded) {
        if (journal.text().isEmpty())
            journal.setText(std::move(read.text));
        else
            journal.append(read.text);
    } else {
        svc_.messages.show(kCannotFindFile);
    }
    if (read.status == JournalLoad::Unreadable && read.error)
        svc_.messages.show(journalUnreadableMessage(*read.error));
    const std::optional<FileError> error =
        journalFile_.start(read.status, journalIsFileText, journal.text());
    if (error && error->reason == FileProblem::WouldShorten)
        svc_.messages.show(journalUnreadableMessage(*error));
    else
        tellJournalWrite(error);
}

void CashRegister::tellJournalWrite(const std::optional<FileError>& error) {
    if (!error) {
        journalTroubleTold_ = false;
        return;
    }
    if (!journalTroubleTold_) svc_.messages.show(journalAppendFailedMessage(*error));
    journalTroubleTold_ = true;
}

void CashRegister::Form_Unload() {
    if (closed_) return;
    closed_ = true;
    finishJournalLoad();
    // The file already holds the journal unless a write failed: then what it lacks is written
    // now. A journal that exists but could not be read is never written over, nor is one that
    // was never loaded.
    if (const std::optional<FileError> error = journalFile_.close(s_.TxtCHLK.text()))
        svc_.messages.show(journalNotSavedMessage(*error));
    svc_.printer.closeJob();
    if (goods_ && goods_->isLoaded()) goods_->unload();
    svc_.programEnd.endProgram();
}

void CashRegister::VKL_Click() {
    Form_Unload();
}

void CashRegister::Timer1_Timer() {
    s_.Picker = svc_.regional.longTime(svc_.clock.currentTime());
}

// The digits '0'..'9' pass, and so does ':', the code right after '9' (58): the register has
// always let the colon through with the digits, so it still does.
int CashRegister::TxtIND_KeyPress(int keyAscii) {
    if (!s_.Shap1) return 0;
    return (keyAscii >= '0' && keyAscii <= ':') ? keyAscii : 0;
}

void CashRegister::TxtIND_Change(const QString& text) {
    s_.TxtIND.setText(text);
}

void CashRegister::journalAppend(QStringView piece) {
    finishJournalLoad();
    s_.TxtCHLK.append(piece);
    tellJournalWrite(journalFile_.append(piece, s_.TxtCHLK.text()));
}

void CashRegister::appendGoodsEntry(const QString& entry) {
    s_.TxtCHL.append(kCrLf);
    s_.TxtCHL.append(entry);
}

QString faultMessage(ArithmeticFault fault) {
    switch (fault) {
    case ArithmeticFault::DivisionByZero:
        return QStringLiteral("Деление на ноль");
    case ArithmeticFault::Invalid:
        return QStringLiteral("Недопустимая операция (0 / 0)");
    case ArithmeticFault::Overflow:
        return QStringLiteral("Переполнение");
    case ArithmeticFault::None:
        break;
    }
    return {};
}

void CashRegister::showFault(ArithmeticFault fault) {
    if (fault == ArithmeticFault::None) return;
    svc_.messages.show(faultMessage(fault));
    watch_.arithmeticFault(fault);
}

void CashRegister::indicatorTyped() {
    watch_.typed(TypedField::Indicator, s_.TxtIND.text());
}

} // namespace tarvel
