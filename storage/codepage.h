#pragma once
// The data files are single-byte text in windows-1251, the Cyrillic ANSI code page.

#include <QByteArray>
#include <QString>

namespace tarvel {

QString decodeWindows1251(QByteArrayView bytes);

struct EncodedText {
    QByteArray bytes;
    // The distinct characters that windows-1251 cannot store, in order of appearance; empty
    // when the whole text was encoded. Such characters come out as "?" in `bytes`.
    QString unencodable;
};
EncodedText encodeWindows1251(QStringView text);

} // namespace tarvel
