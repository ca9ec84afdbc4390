#pragma once
// Reading and writing the register's text files: the tape line rules, the code page, and
// writes that never leave a half-written file behind.

#include <QString>
#include <optional>

namespace tarvel {

// Rebuilds a tape from a file's text the way the register reads it line by line: a line ends
// at CR or CR LF (the CR and a directly following LF are dropped), a lone LF stays part of
// its line, and a last line without an ending is still a line. Each line is put back followed
// by CR LF. Linear in the length of the text.
QString rebuildTapeText(QStringView fileText);

struct FileRead {
    std::optional<QString> text; // empty when the file could not be read
    QString error;               // the reason, in Russian, when it could not
};
// Reads a whole windows-1251 file.
FileRead readTextFile(const QString& path);

// Writes `text` followed by CR LF into a temporary file beside `path` and renames it over the
// old one, so a failed write leaves the previous file whole. Returns an empty string on
// success, or the reason in Russian. Characters that windows-1251 cannot store come out as
// "?" (callers that must not lose them check encodeWindows1251 first).
QString writeTextFileWithCrLf(const QString& path, QStringView text);

// "Не удалось записать файл <path>: <reason>" — the message a failed write is reported with.
QString writeFailureMessage(const QString& path, const QString& reason);

} // namespace tarvel
