#include "storage/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <vector>

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

    // Rare path: find the characters the code page lacks. Each distinct character is asked of
    // the code page once, so a journal of millions of characters with one foreign letter in it
    // costs a lookup per character, not a converter per character.
    out.bytes.clear();
    out.bytes.reserve(text.size());
    // Per character: -1 not asked yet, 0 unstorable, otherwise its byte.
    std::vector<short> known(0x10000, -1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out.bytes += char(c);
            continue;
        }
        // windows-1251 stores nothing outside the basic plane. A pair of surrogates is one
        // character; a lone half is one unstorable character of its own and must not swallow
        // the character after it (a CR of the journal, say).
        if (text[i].isSurrogate()) {
            const bool pair =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            const QStringView ch = text.mid(i, pair ? 2 : 1);
            out.bytes += '?';
            if (!out.unencodable.contains(ch)) out.unencodable += ch;
            i += pair ? 1 : 0;
            continue;
        }
        short& byte = known[c];
        if (byte < 0) {
            // A fresh converter each time: Qt's resetState() leaves an earlier error set, which
            // would mark every character asked after it as unstorable.
            QStringEncoder one("windows-1251");
            const QByteArray b = one.encode(text.mid(i, 1));
            byte = (one.hasError() || b.size() != 1) ? 0 : short(quint8(b[0]));
            if (byte == 0) out.unencodable += QChar(c);
        }
        out.bytes += byte != 0 ? char(byte) : '?';
    }
    return out;
}

} // namespace tarvel
