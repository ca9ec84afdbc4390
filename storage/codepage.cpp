#include "storage/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tarvel {

QString decodeWindows1251(QByteArrayView bytes) {
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

EncodedText encodeWindows1251(QStringView text) {
    QStringEncoder encoder("windows-1251");
    EncodedText out;
    out.bytes = encoder.encode(text);
    if (!encoder.hasError()) return out;

    // Rare path: find the characters the code page lacks, and encode the rest one by one.
    out.bytes.clear();
    out.bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView ch = text.mid(i, len);
        QStringEncoder one("windows-1251");
        const QByteArray b = one.encode(ch);
        if (one.hasError()) {
            out.bytes += '?';
            if (!out.unencodable.contains(ch)) out.unencodable += ch;
        } else {
            out.bytes += b;
        }
        i += len - 1;
    }
    return out;
}

} // namespace tarvel
