#pragma once
// Reading and writing the register's text files: the tape line rules, the code page, and
// writes that never leave a half-written file behind.

#include <QByteArray>
#include <QString>
#include <optional>

class QFileDevice;

namespace tarvel {

// Rebuilds a tape from a file's text the way the register reads it line by line: a line ends
// at CR or CR LF (the CR and a directly following LF are dropped), a lone LF stays part of
// its line, and a last line without an ending is still a line. Each line is put back followed
// by CR LF. Linear in the length of the text.
QString rebuildTapeText(QStringView fileText);

// True when `bytes` are exactly what the register writes for a tape: every CR followed by LF,
// the last line ended by CR LF (or no bytes at all), and every byte a windows-1251 character
// that encodes back to itself. Such a file rebuilds to its own decoded text, so a load can
// skip the rebuild and the journal file can be appended to as it is.
bool isCanonicalTapeBytes(QByteArrayView bytes);

struct FileBytes {
    std::optional<QByteArray> bytes; // empty when the file could not be read
    QString error;                   // the reason, in Russian, when it could not
};
// Reads a whole file as it is on disk.
FileBytes readFileBytes(const QString& path);

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

// The reason a file operation failed, in Russian.
QString fileErrorReason(const QFileDevice& file);

// "Не удалось записать файл <path>: <reason>" — the message a failed write is reported with.
QString writeFailureMessage(const QString& path, const QString& reason);

} // namespace tarvel
