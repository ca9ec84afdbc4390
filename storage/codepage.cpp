#include "storage/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <vector>

namespace tarvel {

namespace {

// Qt 6.4's windows-1251 converter returns an empty result, without an error, for more than
// 2^29 bytes in or 2^30 characters out. Pieces far below that cost nothing extra: each is
// converted straight into the result.
constexpr qsizetype kPiece = qsizetype(1) << 20;

// Per character of the basic plane: -1 not asked yet, 0 unstorable, otherwise its byte.
using ByteTable = std::vector<short>;

// The slow path of a piece the converter refused: each distinct character is asked of the
// code page once, so millions of characters with one foreign letter among them cost a lookup
// per character, not a converter per character.
void encodeByCharacter(QStringView text, ByteTable& known, EncodedText& out) {
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
}

// Where the piece starting at `from` ends: never between the two halves of a surrogate pair.
qsizetype pieceEnd(QStringView text, qsizetype from) {
    qsizetype end = std::min(text.size(), from + kPiece);
    if (end < text.size() && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate()) --end;
    return end;
}

} // namespace

std::optional<QString> decodeWindows1251(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype from = 0; from < bytes.size(); from += kPiece) {
        const QByteArrayView piece = bytes.sliced(from, std::min(kPiece, bytes.size() - from));
        QStringDecoder decoder("windows-1251");
        QChar* end = decoder.appendToBuffer(out, piece);
        if (decoder.hasError() || end - out != piece.size()) return std::nullopt;
        out = end;
    }
    return text;
}

EncodedText encodeWindows1251(QStringView text) {
    EncodedText out;
    out.bytes.reserve(text.size() + QStringEncoder("windows-1251").requiredSpace(kPiece));
    ByteTable known;
    qsizetype done = 0; // bytes of `out.bytes` written
    for (qsizetype from = 0; from < text.size();) {
        const qsizetype end = pieceEnd(text, from);
        const QStringView piece = text.sliced(from, end - from);
        QStringEncoder encoder("windows-1251");
        // Room for what the converter may write, also for a piece it fails on.
        out.bytes.resize(done + encoder.requiredSpace(piece.size()));
        const char* written = encoder.appendToBuffer(out.bytes.data() + done, piece);
        // A high surrogate at the very end waits in the converter for its other half: without
        // this test it would vanish without a "?" and without an error.
        const bool whole = !encoder.hasError() && !piece.back().isSurrogate() &&
                           written - (out.bytes.constData() + done) == piece.size();
        if (whole) {
            done += piece.size();
        } else {
            out.bytes.truncate(done);
            if (known.empty()) known.assign(0x10000, -1);
            encodeByCharacter(piece, known, out);
            done = out.bytes.size();
        }
        from = end;
    }
    out.bytes.truncate(done);
    return out;
}

} // namespace tarvel
