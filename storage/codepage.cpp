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
    // A high surrogate at the very end waits in the encoder for its other half: without this
    // test it would vanish without a "?" and without an error.
    const bool halfAtEnd = !text.isEmpty() && text.back().isHighSurrogate();
    if (!encoder.hasError() && !halfAtEnd) return out;

    // Rare path: find the characters the code page lacks, and encode the rest one by one.
    out.bytes.clear();
    out.bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A pair of surrogates is one character; a lone half is one unstorable character of
        // its own and must not swallow the character after it (a CR of the journal, say).
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype len = pair ? 2 : 1;
        const QStringView ch = text.mid(i, len);
        QStringEncoder one("windows-1251");
        const QByteArray b = one.encode(ch);
        if (one.hasError() || b.isEmpty()) {
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
