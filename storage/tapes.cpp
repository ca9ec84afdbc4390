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

TapesLoad LoadTapes(PanelState& panel, const DataDir& dir, MessageBoxes& messages) {
    TapesLoad result;
    result.header = readHeader(dir);
    if (result.header)
        panel.TxtCHL.setText(*result.header);
    else
        messages.show(kCannotFindFile);

    const QString journalPath = dir.filePath(kJournalFileName);
    const FileRead journal = readTextFile(journalPath);
    if (journal.text) {
        panel.TxtCHLK.append(rebuildTapeText(*journal.text));
        result.journal = JournalLoad::Loaded;
    } else {
        result.journal = QFileInfo::exists(journalPath) ? JournalLoad::Unreadable
                                                        : JournalLoad::Missing;
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
