#pragma once
// The data files are single-byte text in windows-1251, the Cyrillic ANSI code page: one byte
// is one character, both ways. The conversion is the program's own table, the same on every
// system (Qt without ICU knows no windows-1251).

#include <QByteArray>
#include <QString>
#include <optional>

namespace tarvel {

// The text of `bytes`, one character per byte. Every byte value has its character, so a text
// always comes back.
std::optional<QString> decodeWindows1251(QByteArrayView bytes);
// The same into `out`, which has room for one unit per byte: a file read a piece at a time
// is decoded straight into its one text.
void decodeWindows1251Into(QByteArrayView bytes, char16_t* out);

struct EncodedText {
    QByteArray bytes;
    // The distinct characters that windows-1251 cannot store, in order of appearance; empty
    // when the whole text was encoded. Such characters come out as "?" in `bytes`.
    QString unencodable;
};
EncodedText encodeWindows1251(QStringView text);

} // namespace tarvel
