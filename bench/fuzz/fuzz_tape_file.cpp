// A tape file (clishe.txt, bazasmen.txt) as anything may leave it: the bytes are decoded from
// windows-1251 and rebuilt by the tape's line rules, as the register loads them.

#include "fuzz_check.h"
#include "storage/codepage.h"
#include "storage/text_files.h"

#include <cstdint>

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QString> decoded = decodeWindows1251(bytes);
    FUZZ_CHECK(decoded.has_value());
    const QString text = *decoded;
    FUZZ_CHECK(text.size() == bytes.size()); // one character per byte
    const EncodedText back = encodeWindows1251(text);
    FUZZ_CHECK(back.unencodable.isEmpty() && back.bytes == bytes);

    const QString tape = rebuildTapeText(text);
    // Every line ends with CR LF, and a CR stands nowhere else.
    if (!tape.isEmpty()) FUZZ_CHECK(tape.endsWith(u"\r\n"));
    for (qsizetype i = tape.indexOf(u'\r'); i >= 0; i = tape.indexOf(u'\r', i + 1))
        FUZZ_CHECK(i + 1 < tape.size() && tape[i + 1] == u'\n');
    // The lines keep every character but their ends: a CR, with the LF right after it.
    QString content = text;
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\r")).remove(u'\r');
    FUZZ_CHECK(QString(tape).remove(QStringLiteral("\r\n")) == content);
    // A tape written and read again is the same tape.
    FUZZ_CHECK(rebuildTapeText(tape) == tape);
    // The load's shortcut: bytes in the register's own form need no rebuild.
    FUZZ_CHECK(isCanonicalTapeBytes(bytes) == (tape == text));
    return 0;
}
