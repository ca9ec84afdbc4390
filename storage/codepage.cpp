#include "storage/codepage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <unordered_set>
#include <vector>

// On x86-64 SSE2 is always there (GCC, Clang and MSVC alike); elsewhere every character takes
// the table, which gives the same text, only slower.
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TARVEL_CODEPAGE_SSE2 1
#endif

namespace tarvel {

namespace {

// Our own table, so that the program converts alike everywhere: Qt built without ICU (the
// Windows build) knows no windows-1251 at all.
//
// Bytes 0x80..0xBF: the letters of the other Cyrillic alphabets (Ђ Ѓ Љ Њ Ќ Ћ Џ Ў Ј Ґ Є Ї І Ѕ
// and their small ones, Ё ё), typographic quotes and dashes, €, ‰, №, ™. Byte 0x98 has no
// character in windows-1251; the files have always read it as U+0098 (a control character) and
// written U+0098 back as 0x98, so that every byte of a file comes back as it was.
constexpr char16_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
};

// Bytes 0xC0..0xFF are А..я in the order of U+0410..U+044F: one shift both ways, which is what
// lets the Russian text of the journal convert sixteen characters at a time.
constexpr char16_t kLetterShift = 0x0410 - 0xC0;
constexpr char16_t kFirstLetter = 0x0410;

// Bytes 0x00..0x7F are ASCII.
constexpr std::array<char16_t, 256> makeToUnicode() {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 0x80; ++b)
        table[b] = char16_t(b);
    for (int b = 0x80; b < 0xC0; ++b)
        table[b] = kUpperHalf[b - 0x80];
    for (int b = 0xC0; b < 0x100; ++b)
        table[b] = char16_t(b + kLetterShift);
    return table;
}
constexpr std::array<char16_t, 256> kToUnicode = makeToUnicode();

// Per UTF-16 unit its byte; 0 for a unit windows-1251 lacks (U+0000 aside, the one unit of
// byte 0). Built by the compiler: 64 KB of constants, no start-up cost, no lock.
constexpr std::array<unsigned char, 0x10000> makeToByte() {
    std::array<unsigned char, 0x10000> table{};
    for (int b = 0; b < 0x100; ++b)
        table[kToUnicode[b]] = static_cast<unsigned char>(b);
    return table;
}
constexpr std::array<unsigned char, 0x10000> kToByte = makeToByte();

#ifdef TARVEL_CODEPAGE_SSE2

// Sixteen bytes widened at once: ASCII as it is, А..я by the shift, and then the few others
// (0x80..0xBF: Ё, №, quotes) one by one from the table.
void decodeBlock(const char* in, char16_t* out) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    // For 0xC0..0xFF the pair of bytes 0x04, (byte - 0xB0) is the letter's UTF-16 unit.
    const __m128i upper = _mm_cmplt_epi8(bytes, _mm_setzero_si128()); // 0x80..0xFF, as signed
    const __m128i lowBytes = _mm_sub_epi8(bytes, _mm_and_si128(upper, _mm_set1_epi8(char(0xB0))));
    const __m128i highBytes = _mm_and_si128(upper, _mm_set1_epi8(0x04));
    const __m128i low = _mm_unpacklo_epi8(lowBytes, highBytes);
    const __m128i high = _mm_unpackhi_epi8(lowBytes, highBytes);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), high);
    // As signed bytes, 0x80..0xBF are exactly those below -64.
    unsigned others = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(bytes, _mm_set1_epi8(-64))));
    for (; others != 0; others &= others - 1) {
        const int k = std::countr_zero(others);
        out[k] = kToUnicode[static_cast<unsigned char>(in[k])];
    }
}

// Per unit all ones where it is one of А..я: (unit - U+0410) below 0x40, without sign.
__m128i lettersOf(__m128i units) {
    const __m128i offset = _mm_sub_epi16(units, _mm_set1_epi16(short(kFirstLetter)));
    return _mm_cmpeq_epi16(_mm_and_si128(offset, _mm_set1_epi16(short(0xFFC0))),
                           _mm_setzero_si128());
}

// Per unit all ones where it is ASCII.
__m128i asciiOf(__m128i units) {
    return _mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(short(0xFF80))),
                           _mm_setzero_si128());
}

// Sixteen units narrowed at once: ASCII as it is, А..я by the shift, the other characters of
// windows-1251 one by one from the table. False when one of them is not in windows-1251: then
// the block is done again one by one, "?" and list included.
bool encodeBlock(const char16_t* in, char* out) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8));
    const __m128i letters1 = lettersOf(first);
    const __m128i letters2 = lettersOf(second);
    const __m128i shift = _mm_set1_epi16(short(kLetterShift));
    const __m128i bytes = _mm_packus_epi16(_mm_sub_epi16(first, _mm_and_si128(letters1, shift)),
                                           _mm_sub_epi16(second, _mm_and_si128(letters2, shift)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    // One bit per unit, set where the shift or nothing gave its byte.
    const __m128i plain = _mm_packs_epi16(_mm_or_si128(letters1, asciiOf(first)),
                                          _mm_or_si128(letters2, asciiOf(second)));
    unsigned others = ~unsigned(_mm_movemask_epi8(plain)) & 0xFFFF;
    for (; others != 0; others &= others - 1) {
        const int k = std::countr_zero(others);
        const unsigned char byte = kToByte[in[k]];
        if (byte == 0) return false; // U+0000 is ASCII: never here
        out[k] = char(byte);
    }
    return true;
}

#endif

// The list of characters windows-1251 lacks: each goes in once, in order of appearance. A
// character outside the basic plane (a surrogate pair) or a lone half of one goes in unless
// the list already shows it, a half standing inside a listed pair included: the register's
// message names what was lost, and a half of something named is not news.
class ForeignCharacters {
  public:
    explicit ForeignCharacters(QString& list) : list_(list) {}

    void add(QStringView character) {
        if (inList_.empty()) inList_.assign(0x10000, false);
        const char16_t first = character[0].unicode();
        const bool shown = character.size() == 1
                               ? bool(inList_[first])
                               : pairs_.contains(pairKey(first, character[1].unicode()));
        if (shown) return;
        for (const QChar unit : character)
            append(unit.unicode());
    }

  private:
    static char32_t pairKey(char16_t high, char16_t low) { return char32_t(high) << 16 | low; }

    void append(char16_t unit) {
        // A lone high half followed in the list by a lone low half reads as that pair.
        if (QChar::isLowSurrogate(unit) && QChar::isHighSurrogate(last_))
            pairs_.insert(pairKey(last_, unit));
        inList_[unit] = true;
        last_ = unit;
        list_ += QChar(unit);
    }

    QString& list_;
    std::vector<bool> inList_;           // per UTF-16 unit: somewhere in the list
    std::unordered_set<char32_t> pairs_; // high and low half next to each other in the list
    char16_t last_ = 0;
};

// Writes the byte of the character at `i`; returns where the next character starts.
qsizetype encodeOne(QStringView text, qsizetype i, char*& out, ForeignCharacters& foreign) {
    const char16_t unit = text[i].unicode();
    const unsigned char byte = kToByte[unit];
    if (byte != 0 || unit == 0) {
        *out++ = char(byte);
        return i + 1;
    }
    // windows-1251 stores nothing outside the basic plane. A pair of surrogates is one
    // character; a lone half is one unstorable character of its own and must not swallow the
    // character after it (a CR of the journal, say).
    const bool pair =
        QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const qsizetype length = pair ? 2 : 1;
    *out++ = '?';
    foreign.add(text.sliced(i, length));
    return i + length;
}

} // namespace

void decodeWindows1251Into(QByteArrayView bytes, char16_t* out) {
    const qsizetype size = bytes.size();
    const char* in = bytes.data();
    qsizetype i = 0;
#ifdef TARVEL_CODEPAGE_SSE2
    for (; i + 16 <= size; i += 16)
        decodeBlock(in + i, out + i);
#endif
    for (; i < size; ++i)
        out[i] = kToUnicode[static_cast<unsigned char>(in[i])];
}

std::optional<QString> decodeWindows1251(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    decodeWindows1251Into(bytes, reinterpret_cast<char16_t*>(text.data()));
    return text;
}

EncodedText encodeWindows1251(QStringView text) {
    EncodedText result;
    // One byte a unit at most: a surrogate pair gives one "?".
    result.bytes = QByteArray(text.size(), Qt::Uninitialized);
    char* const start = result.bytes.data();
    char* out = start;
    ForeignCharacters foreign(result.unencodable);
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
#ifdef TARVEL_CODEPAGE_SSE2
        if (i + 16 <= size && encodeBlock(text.utf16() + i, out)) {
            i += 16;
            out += 16;
            continue;
        }
#endif
        // A pair may reach one unit past the sixteen: the next block starts after it.
        const qsizetype stop = std::min(size, i + 16);
        while (i < stop)
            i = encodeOne(text, i, out, foreign);
    }
    result.bytes.truncate(out - start);
    return result;
}

} // namespace tarvel
