// The journal file grows piece by piece while the close writes the journal whole; the two
// must give the same bytes. Any UTF-16 text (the input's bytes taken in pairs, lone surrogate
// halves included) is cut at its CR LF pairs, and the pieces encoded one by one must equal the
// whole encoded at once.

#include "fuzz_check.h"
#include "storage/codepage.h"

#include <cstdint>

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += QChar(char16_t(data[i] | data[i + 1] << 8));

    const EncodedText whole = encodeWindows1251(text);
    QByteArray pieces;
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(u"\r\n"); at >= 0; at = text.indexOf(u"\r\n", from)) {
        pieces += encodeWindows1251(QStringView(text).mid(from, at + 2 - from)).bytes;
        from = at + 2;
    }
    pieces += encodeWindows1251(QStringView(text).mid(from)).bytes;
    FUZZ_CHECK(pieces == whole.bytes);

    // One byte per character, a surrogate pair being one character; "?" for each one the code
    // page lacks, and every other character comes back from the file as it was.
    const QString back = decodeWindows1251(whole.bytes).value_or(QString());
    qsizetype k = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++k) {
        FUZZ_CHECK(k < back.size());
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (back[k] != text[i]) {
            FUZZ_CHECK(back[k] == u'?');
            FUZZ_CHECK(whole.unencodable.contains(QStringView(text).mid(i, pair ? 2 : 1)));
        }
        if (pair) ++i;
    }
    FUZZ_CHECK(k == back.size());
    return 0;
}
