// The receipt header (клише): reloaded onto the tape after every finished or cancelled
// receipt, opened for typing by 3Т in КР mode, saved to clishe.txt by the next КР.

#include "panel/cash_register.h"
#include "storage/text_files.h"

#include <algorithm>

namespace tarvel {

// The tape becomes editable only in КР mode, after 3Т has lit LblClish.
void CashRegister::clisheED() {
    if (!s_.lit(Lamp::LblClish) || !s_.lit(Lamp::Lbd3)) return;
    s_.TxtCHL.locked = false;
    svc_.messages.show(QStringLiteral("Впишите новое клише"));
}

void CashRegister::clishe() {
    // The reload leaves entryFlag set whether or not the file can be read: after СБ the
    // indicator's "0" counts as an amount being keyed.
    s_.entryFlag = 1;
    if (const std::optional<QString> header = readHeader(svc_.dataDir)) {
        s_.TxtCHL.setText(*header);
        lastGoodHeader_ = *header;
        return;
    }
    svc_.messages.show(kCannotFindFile);
    // The finished receipt must not stay on the tape: the next closing would print and journal
    // it a second time. The last header that could be read takes its place.
    s_.TxtCHL.setText(lastGoodHeader_);
}

// Only what the trainee typed or deleted changes: a lone CR or LF brought by the header file
// or a goods entry stays as it is, so the header is saved with the bytes it was read with.
void CashRegister::editHeader(qsizetype position, qsizetype removed, QStringView inserted) {
    if (s_.TxtCHL.locked) return;
    const qsizetype size = s_.TxtCHL.text().size();
    position = std::clamp<qsizetype>(position, 0, size);
    removed = std::clamp<qsizetype>(removed, 0, size - position);
    s_.TxtCHL.adoptViewEdit(position, removed, inserted);
    watch_.typed(TypedField::ReceiptTape, s_.TxtCHL.text());
}

bool CashRegister::saveHeaderFromTape() {
    const QString failure = saveHeader(svc_.dataDir, s_.TxtCHL.text());
    if (!failure.isEmpty()) {
        // The typed header stays on the open tape so the trainee can mend it and press КР
        // again.
        svc_.messages.show(failure, kProgramTitle, MessageBoxes::Icon::Critical);
        return false;
    }
    // clishe.txt now holds the tape followed by CR LF: that is the header from now on, also
    // should the file go missing before the next reload.
    lastGoodHeader_ = rebuildTapeText(s_.TxtCHL.text() + kCrLf.toString());
    s_.putOut(Lamp::LblClish);
    s_.TxtCHL.locked = true;
    watch_.headerSaved(s_.TxtCHL.text());
    return true;
}

} // namespace tarvel
