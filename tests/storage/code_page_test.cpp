// The windows-1251 code page of the data files, the same on every system.

#include "storage/codepage.h"
#include "support/named_rows.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// Sixteen characters convert at a time where they can: the border must not change the result.
struct Conversion : NamedRow {
    QString text;
    QByteArray bytes;
    QString unencodable;
};

class CodePage : public testing::TestWithParam<Conversion> {};

TEST_P(CodePage, EncodesAndDecodesOneByteForOneCharacter) {
    const Conversion& c = GetParam();
    const EncodedText encoded = encodeWindows1251(c.text);
    EXPECT_TRUE(encoded.bytes == c.bytes);
    EXPECT_EQ(encoded.unencodable, c.unencodable);
    EXPECT_TRUE(!c.unencodable.isEmpty() || decodeWindows1251(c.bytes) == c.text);
}

QByteArray everyByte() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

const QChar kHigh(0xD83D), kLow(0xDE00); // the halves of 😀

const Conversion kConversions[] = {
    {"EveryByteComesBack", *decodeWindows1251(everyByte()), everyByte(), ""},
    {"PairAcrossTheSixteenBorder", QString(15, u'a') + QStringLiteral("😀б"),
     QByteArray(15, 'a') + "?\xe1", QStringLiteral("😀")},
    {"LettersOfTheTableAmongRussianOnes", QStringLiteral("Ёлка № 5 за 20 €, чай\u00a0Ωмега Ω!"),
     "\xa8\xeb\xea\xe0 \xb9 5 \xe7\xe0 20 \x88, \xf7\xe0\xe9\xa0?\xec\xe5\xe3\xe0 ?!",
     QStringLiteral("Ω")},
    {"RussianAlphabetEnds", QStringLiteral("аАяЯ-АБВГДЕЖЗИЙКЛМНОП"),
     "\xe0\xc0\xff\xdf-\xc0\xc1\xc2\xc3\xc4\xc5\xc6\xc7\xc8\xc9\xca\xcb\xcc\xcd\xce\xcf", ""},
    {"TableCharactersBesideTheAlphabetSixteenAtATime",
     QString(16, QChar(0x0457)) + QString(16, QChar(0x0410)) + QString(16, QChar(0x007F)) +
         QString(16, QChar(0x040F)) + QString(16, QChar(0x0098)),
     QByteArray(16, '\xbf') + QByteArray(16, '\xc0') + QByteArray(16, '\x7f') +
         QByteArray(16, '\x8f') + QByteArray(16, '\x98'),
     ""},
    {"ForeignBesideTheAlphabetSixteenAtATime",
     QString(16, QChar(0x0450)) + QString(16, QChar(0x0080)) + QString(16, QChar(0x0400)),
     QByteArray(48, '?'), QStringLiteral("\u0450\u0080\u0400")},
    {"HalfPairAtTheEnd", QStringLiteral("a") + kHigh, "a?", QString(kHigh)},
    {"LowHalfKeepsTheLineEndAfterIt", QString(kLow) + QStringLiteral("\r\n"), "?\r\n",
     QString(kLow)},
    {"HalvesThatSpellAListedPair", QString(kHigh) + u'x' + kLow + kHigh + kLow + kHigh, "?x???",
     QString(kHigh) + kLow},
};

INSTANTIATE_TEST_SUITE_P(Texts, CodePage, testing::ValuesIn(kConversions), rowName);

// Our table against ICU's converter, each byte and unit sixteen times; "?" where ICU stores none.
TEST(CodePageTable, AgreesWithTheSystemsConverter) {
    if (!QStringDecoder("windows-1251").isValid()) GTEST_SKIP() << "no windows-1251 in this Qt";
    EXPECT_EQ(*decodeWindows1251(everyByte()), QStringDecoder("windows-1251").decode(everyByte()));
    QStringList differences;
    for (int b = 0; b < 256; ++b) {
        const QByteArray sixteen(16, char(b));
        if (decodeWindows1251(sixteen) != QStringDecoder("windows-1251").decode(sixteen))
            differences += QStringLiteral("byte %1").arg(b, 2, 16);
    }
    for (int unit = 0; unit < 0x10000; ++unit) {
        const QChar c{char16_t(unit)};
        QStringEncoder encoder("windows-1251");
        const QByteArray byte = encoder.encode(QStringView(&c, 1));
        const bool stored = !encoder.hasError() && byte.size() == 1;
        const EncodedText ours = encodeWindows1251(QString(16, c));
        if (ours.bytes != (stored ? byte.repeated(16) : QByteArray(16, '?')) ||
            ours.unencodable != (stored ? QString() : QString(c)))
            differences += QStringLiteral("U+%1").arg(unit, 4, 16, QLatin1Char('0'));
    }
    EXPECT_EQ(differences, QStringList());
}

} // namespace
