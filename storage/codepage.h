#pragma once
// The data files are single-byte text in windows-1251, the Cyrillic ANSI code page: one byte
// is one character, both ways.

#include <QByteArray>
#include <QString>
#include <optional>

namespace tarvel {

// The text of `bytes`, one character per byte; none when the code page did not give one
// character for every byte (Qt's converter gives up silently on very large inputs, so the
// text is converted in pieces and its length checked).
std::optional<QString> decodeWindows1251(QByteArrayView bytes);

struct EncodedText {
    QByteArray bytes;
    // The distinct characters that windows-1251 cannot store, in order of appearance; empty
    // when the whole text was encoded. Such characters come out as "?" in `bytes`.
    QString unencodable;
};
EncodedText encodeWindows1251(QStringView text);

} // namespace tarvel
