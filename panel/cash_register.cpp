#include "panel/cash_register.h"

namespace tarvel {

const char* lampName(Lamp lamp) {
    static const char* const names[kLampCount] = {
        "Lbd1",  "Lbd2",  "Lbd3",   "Lbd4",     "Lbd5", "Lbd6",     "LblCB2",
        "LblNL", "LblVV", "Lblmin", "LblPrint", "LblZ", "LblClish",
    };
    return names[int(lamp)];
}

static void showIfAny(MessageBoxes& messages, const QString& text) {
    if (!text.isEmpty()) messages.show(text);
}

CashRegister::CashRegister(Services services) : svc_(std::move(services)) {
    s_.TxtCHL.setText(kDefaultHeader);
}

void CashRegister::Form_Load(bool journalInBackground) {
    loadHeaderTape(s_, svc_.dataDir, svc_.messages, load_);
    if (load_.header) lastGoodHeader_ = *load_.header;
    pendingJournal_ = std::async(journalInBackground ? std::launch::async : std::launch::deferred,
                                 [dir = svc_.dataDir] { return readJournal(dir); });
    if (!journalInBackground) finishJournalLoad();
    s_.TxtIND.setText(QStringLiteral("0.00"));
    s_.TxtSEC.setText(QStringLiteral("01"));
}

void CashRegister::finishJournalLoad() {
    if (!pendingJournal_.valid()) return;
    applyJournal(s_, pendingJournal_.get(), svc_.messages, load_);
    showIfAny(svc_.messages, journalFile_.start(load_, s_.TxtCHLK.text()));
}

void CashRegister::Form_Unload() {
    if (closed_) return;
    closed_ = true;
    finishJournalLoad();
    // The whole journal once more, as the register always wrote it at close; the file already
    // holds the same bytes unless an append failed. A journal that exists but could not be
    // read is never written over, nor is one that was never loaded.
    if (journalFile_.writtenAtClose()) SaveJournal(s_, svc_.dataDir, svc_.messages);
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

int CashRegister::TxtIND_KeyPress(int keyAscii) {
    if (!s_.Shap1) return 0;
    return (keyAscii >= 48 && keyAscii <= 58) ? keyAscii : 0;
}

void CashRegister::journalAppend(QStringView piece) {
    finishJournalLoad();
    s_.TxtCHLK.append(piece);
    showIfAny(svc_.messages, journalFile_.append(piece, s_.TxtCHLK.text()));
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

} // namespace tarvel

namespace tarvel {

// ---- A key pressed: the watcher hears of it, then the key's operation runs. The СБ that ВВ
// runs after a cash payment is the register's own step and is not told as a key.

void CashRegister::press(Key key) {
    watch_.keyPressed(key);
    if (int(key) <= int(Key::Digit9)) return DigitClick(QString::number(int(key)));
    using Operation = void (CashRegister::*)();
    static const std::array<std::pair<Key, Operation>, kKeyCount - 10> operations = {{
        {Key::DoubleZero, &CashRegister::Btn00_Click},
        {Key::Point, &CashRegister::CommandZ_Click},
        {Key::Clear, &CashRegister::CommandC_Click},
        {Key::Plus, &CashRegister::CommandPlus_Click},
        {Key::Minus, &CashRegister::CammandMinus_Click},
        {Key::Multiply, &CashRegister::UMN_Click},
        {Key::Divide, &CashRegister::DEL_Click},
        {Key::Equals, &CashRegister::CommandEnter_Click},
        {Key::Enter, &CashRegister::CommandVV_Click},
        {Key::Return, &CashRegister::VT_Click},
        {Key::CashIn, &CashRegister::NL_Click},
        {Key::Percent, &CashRegister::PROC_Click},
        {Key::KN, &CashRegister::KN_Click},
        {Key::KR, &CashRegister::KR_Click},
        {Key::KL, &CashRegister::KL_Click},
        {Key::KCH, &CashRegister::KCH_Click},
        {Key::KZ, &CashRegister::KZ_Click},
        {Key::CHL, &CashRegister::CHL_Click},
        {Key::FC, &CashRegister::FC_Click},
        {Key::Dept1, &CashRegister::Btn1D_Click},
        {Key::Dept2, &CashRegister::Btn2V_Click},
        {Key::Dept3, &CashRegister::Btn3T_Click},
        {Key::Dept4, &CashRegister::Btn4C_Click},
        {Key::Power, &CashRegister::VKL_Click},
    }};
    for (const auto& [k, operation] : operations)
        if (k == key) return (this->*operation)();
}

void CashRegister::indicatorTyped() {
    watch_.typed(TypedField::Indicator, s_.TxtIND.text());
}

} // namespace tarvel
