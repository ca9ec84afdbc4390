// The number at the start of a text (amounts on the indicator and the tapes, typed or read
// from files) and its way back through the register's number form. The first byte chooses
// the system's decimal separator, the rest is the text in UTF-8.

#include "fuzz_check.h"
#include "numbers/numbers.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

using namespace tarvel;

namespace {

// "-", digits, the separator and digits not ending in 0, an exponent "E+dd" or "E-dd".
bool isGeneralForm(const QString& s, QChar separator) {
    if (s == u"NaN" || s == u"INF" || s == u"-INF") return true;
    qsizetype i = s.startsWith(u'-') ? 1 : 0;
    const qsizetype intStart = i;
    while (i < s.size() && s[i].isDigit())
        ++i;
    if (i == intStart) return false;
    if (i < s.size() && s[i] == separator) {
        const qsizetype fracStart = ++i;
        while (i < s.size() && s[i].isDigit())
            ++i;
        if (i == fracStart || s[i - 1] == u'0') return false;
    }
    if (i == s.size()) return true;
    if (s[i] != u'E' || i + 1 >= s.size() || (s[i + 1] != u'+' && s[i + 1] != u'-')) return false;
    i += 2;
    const qsizetype expStart = i;
    while (i < s.size() && s[i].isDigit())
        ++i;
    return i == s.size() && i - expStart >= 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const QChar separator = data[0] & 1 ? QLatin1Char(',') : QLatin1Char('.');
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const double value = leadingValue(text, separator);
    // A text that starts with neither a sign, a digit nor a decimal point holds no number.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n'))
        ++i;
    if (i == text.size() || !(text[i].isDigit() || text[i] == u'+' || text[i] == u'-' ||
                              text[i] == u'.' || text[i] == separator))
        FUZZ_CHECK(value == 0);

    const QString shown = displayText(value, separator);
    FUZZ_CHECK(isGeneralForm(shown, separator));
    if (std::isfinite(value) && (value == 0 || std::fabs(value) >= DBL_MIN)) {
        // Fifteen significant digits come back within half a unit of the fifteenth.
        const double back = leadingValue(shown, separator);
        FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-14);
    }

    const float single = float(value);
    const QString shownSingle = displayText(single, separator);
    FUZZ_CHECK(isGeneralForm(shownSingle, separator));
    if (std::isfinite(single) && (single == 0 || std::fabs(single) >= FLT_MIN)) {
        const double back = leadingValue(shownSingle, separator);
        FUZZ_CHECK(std::fabs(back - double(single)) <= std::fabs(double(single)) * 1e-6);
    }
    return 0;
}
