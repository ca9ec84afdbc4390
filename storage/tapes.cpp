#include "storage/tapes.h"

#include "storage/codepage.h"
#include "storage/text_files.h"

#include <QFileInfo>

namespace tarvel {

std::optional<QString> readHeader(const DataDir& dir) {
    const FileRead read = readTextFile(dir.filePath(kHeaderFileName));
    if (!read.text) return std::nullopt;
    return rebuildTapeText(*read.text);
}

// A file the register wrote itself needs no rebuilding: its decoded text is the journal text
// already, so a journal of tens of megabytes loads in little more than the time to read it.
JournalRead readJournal(const DataDir& dir) {
    const QString path = dir.filePath(kJournalFileName);
    JournalRead read;
    std::optional<QByteArray> bytes = readFileBytes(path).bytes;
    if (!bytes) {
        read.status = QFileInfo::exists(path) ? JournalLoad::Unreadable : JournalLoad::Missing;
        return read;
    }
    read.status = JournalLoad::Loaded;
    read.canonical = isCanonicalTapeBytes(*bytes);
    read.text = decodeWindows1251(*bytes);
    bytes.reset();
    if (!read.canonical) read.text = rebuildTapeText(read.text);
    return read;
}

// Into an empty journal the text goes without a copy.
void applyJournal(PanelState& panel, JournalRead read, MessageBoxes& messages, TapesLoad& result) {
    result.journal = read.status;
    if (read.status != JournalLoad::Loaded) {
        messages.show(kCannotFindFile);
        return;
    }
    Tape& journal = panel.TxtCHLK;
    result.journalMatchesFile = read.canonical && journal.text().isEmpty();
    if (journal.text().isEmpty())
        journal.setText(std::move(read.text));
    else
        journal.append(read.text);
}

void loadHeaderTape(PanelState& panel, const DataDir& dir, MessageBoxes& messages,
                    TapesLoad& result) {
    result.header = readHeader(dir);
    if (result.header)
        panel.TxtCHL.setText(*result.header);
    else
        messages.show(kCannotFindFile);
}

TapesLoad LoadTapes(PanelState& panel, const DataDir& dir, MessageBoxes& messages) {
    TapesLoad result;
    loadHeaderTape(panel, dir, messages, result);
    applyJournal(panel, readJournal(dir), messages, result);
    return result;
}

bool SaveJournal(const PanelState& panel, const DataDir& dir, MessageBoxes& messages) {
    const QString path = dir.filePath(kJournalFileName);
    const QString reason = writeTextFileWithCrLf(path, panel.TxtCHLK.text());
    if (reason.isEmpty()) return true;
    messages.show(writeFailureMessage(path, reason) +
                  QStringLiteral("\nЖурнал (контрольная лента) не сохранён."));
    return false;
}

QString saveHeader(const DataDir& dir, QStringView text) {
    const QString path = dir.filePath(kHeaderFileName);
    const EncodedText encoded = encodeWindows1251(text);
    if (!encoded.unencodable.isEmpty()) {
        return QStringLiteral("Клише не сохранено: эти знаки нельзя записать в файл %1: %2\n"
                              "Замените или удалите их и нажмите КР ещё раз.")
            .arg(kHeaderFileName, encoded.unencodable);
    }
    const QString reason = writeTextFileWithCrLf(path, text);
    if (reason.isEmpty()) return {};
    return writeFailureMessage(path, reason) +
           QStringLiteral("\nКлише не сохранено; исправьте причину и нажмите КР ещё раз.");
}

} // namespace tarvel
