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

// Appends bazasmen.txt to the journal. A file the register wrote itself needs no rebuilding:
// its decoded text is the journal text already, and it goes into an empty journal without a
// copy, so a journal of tens of megabytes loads in little more than the time to read it.
static bool loadJournal(Tape& journal, const QString& path, TapesLoad& result) {
    std::optional<QByteArray> bytes = readFileBytes(path).bytes;
    if (!bytes) return false;
    const bool canonical = isCanonicalTapeBytes(*bytes);
    QString text = decodeWindows1251(*bytes);
    bytes.reset();
    if (!canonical) text = rebuildTapeText(text);
    result.journal = JournalLoad::Loaded;
    result.journalMatchesFile = canonical && journal.text().isEmpty();
    if (journal.text().isEmpty())
        journal.setText(text);
    else
        journal.append(text);
    return true;
}

TapesLoad LoadTapes(PanelState& panel, const DataDir& dir, MessageBoxes& messages) {
    TapesLoad result;
    result.header = readHeader(dir);
    if (result.header)
        panel.TxtCHL.setText(*result.header);
    else
        messages.show(kCannotFindFile);

    const QString journalPath = dir.filePath(kJournalFileName);
    if (!loadJournal(panel.TxtCHLK, journalPath, result)) {
        result.journal =
            QFileInfo::exists(journalPath) ? JournalLoad::Unreadable : JournalLoad::Missing;
        messages.show(kCannotFindFile);
    }
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
