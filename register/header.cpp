// The receipt header (клише): reloaded onto the tape after every finished or cancelled
// receipt, opened for typing by 3Т in КР mode, saved to clishe.txt by the next КР.

#include "register/cash_register.h"
#include "register/file_messages.h"
#include "storage/codepage.h"
#include "storage/text_files.h"

#include <algorithm>

namespace tarvel {

void CashRegister::loadHeader() {
    const FileText header = readTapeFile(svc_.dataDir.filePath(kHeaderFileName));
    if (header.error) {
        tell(kCannotFindFile);
        return;
    }
    s_.TxtCHL.setText(header.text);
    lastGoodHeader_ = header.text;
}

// The tape becomes editable only in КР mode, after 3Т has lit the header lamp.
void CashRegister::openHeader() {
    if (!s_.lit(Lamp::HeaderOpen) || !s_.inKrMode()) return;
    s_.TxtCHL.locked = false;
    tell(QStringLiteral("Впишите новое клише"));
}

void CashRegister::reloadHeader() {
    // The reload leaves entryFlag set whether or not the file can be read: after СБ the
    // indicator's "0" counts as an amount being keyed.
    s_.entryFlag = 1;
    const FileText header = readTapeFile(svc_.dataDir.filePath(kHeaderFileName));
    if (!header.error) {
        s_.TxtCHL.setText(header.text);
        lastGoodHeader_ = header.text;
        return;
    }
    tell(kCannotFindFile);
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
    s_.TxtCHL.replace(position, removed, inserted);
    watch_.typed(TypedField::ReceiptTape, s_.TxtCHL.text());
}

// The header is written followed by CR LF. Characters windows-1251 cannot store are refused
// (named in the message) rather than saved as "?". Returns the message of a failure.
static std::optional<QString> writeHeaderFile(const QString& path, QStringView text) {
    const EncodedText encoded = encodeWindows1251(text);
    if (!encoded.unencodable.isEmpty()) {
        return QStringLiteral("Клише не сохранено: эти знаки нельзя записать в файл %1: %2\n"
                              "Замените или удалите их и нажмите КР ещё раз.")
            .arg(kHeaderFileName, encoded.unencodable);
    }
    const std::optional<FileError> error = writeFileWithCrLf(path, encoded.bytes);
    if (!error) return std::nullopt;
    return writeFailureMessage(*error) +
           QStringLiteral("\nКлише не сохранено; исправьте причину и нажмите КР ещё раз.");
}

// The last step of КР while the tape is open for editing. On failure the trainee is told why
// and the typed header stays on the open tape, so the trainee can mend it and press КР again.
void CashRegister::saveHeader() {
    if (const std::optional<QString> failure =
            writeHeaderFile(svc_.dataDir.filePath(kHeaderFileName), s_.TxtCHL.text())) {
        tell(*failure, Notice::Kind::Critical);
        return;
    }
    // clishe.txt now holds the tape followed by CR LF: that is the header from now on, also
    // should the file go missing before the next reload.
    lastGoodHeader_ = rebuildTapeText(s_.TxtCHL.text() + kCrLf.toString());
    s_.putOut(Lamp::HeaderOpen);
    s_.TxtCHL.locked = true;
    watch_.headerSaved(s_.TxtCHL.text());
}

} // namespace tarvel
