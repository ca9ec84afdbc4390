#pragma once
// Reading and writing the register's text files: the tape line rules, the code page, and
// writes that never leave a half-written file behind.

#include "storage/file_error.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

namespace tarvel {

// Rebuilds a tape from a file's text the way the register reads it line by line: a line ends
// at CR or CR LF (the CR and a directly following LF are dropped), a lone LF stays part of
// its line, and a last line without an ending is still a line. Each line is put back followed
// by CR LF. Linear in the length of the text; never shorter than the text.
QString rebuildTapeText(QStringView fileText);
// The same rebuild of `text` itself, without a second copy of it.
void rebuildTapeTextInPlace(QString& text);

// True when `bytes` are exactly what the register writes for a tape: every CR followed by LF
// and the last line ended by CR LF (or no bytes at all). Every windows-1251 byte decodes to
// one character that encodes back to it, so such a file rebuilds to its own decoded text: a
// load can skip the rebuild and the journal file can be appended to as it is.
bool isCanonicalTapeBytes(QByteArrayView bytes);

// The same question for bytes read a piece at a time: feed the pieces in order.
class TapeBytesCheck {
  public:
    void feed(QByteArrayView bytes);
    bool canonical() const;

  private:
    bool canonical_ = true;
    bool crPending_ = false; // the last piece ended with CR: the next must begin with LF
    char lastTwo_[2] = {0, 0};
    qsizetype seen_ = 0;
};

// Opens `file` for reading, only an ordinary file: reading a pipe in its place could wait for
// ever. The error says why it could not be opened.
std::optional<FileError> openToRead(QFile& file);

struct FileBytes {
    QByteArray bytes;
    std::optional<FileError> error; // set when the file could not be read
};
// Reads a whole file as it is on disk (opened as openToRead does).
FileBytes readFileBytes(const QString& path);

struct FileText {
    QString text;
    std::optional<FileError> error; // set when the file could not be read
};
// A tape file (clishe.txt) read and rebuilt by the line rules.
FileText readTapeFile(const QString& path);

// Writes `bytes` followed by CR LF into a temporary file beside `path` and renames it over the
// old one, so a failed write leaves the previous file whole; the new file keeps the old one's
// mode and, where the system allows, its owner. Where the folder takes no new file but the
// file itself may be written, it is written in place.
std::optional<FileError> writeFileWithCrLf(const QString& path, QByteArrayView bytes);

// The same whole-or-nothing write of `bytes` as they are: a new file is there whole, or not at
// all, even on a full disk.
std::optional<FileError> writeFileWhole(const QString& path, QByteArrayView bytes);

} // namespace tarvel
