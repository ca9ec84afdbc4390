#include "numbers/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace tarvel {
namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The number that starts at text[from], in the one grammar the register reads numbers in: an
// optional sign, digits with an optional decimal point ("." in every locale, and the system
// separator), an optional exponent ("E" or "D", either case, an optional sign and at least one
// digit; without a digit the number ends before the letter).
struct ScannedNumber {
    std::string cText;         // the number as the "C" locale writes it
    qsizetype end = 0;         // just past the number
    bool anyDigit = false;     // in the digits before the exponent
    bool nonZeroDigit = false; // likewise
};

ScannedNumber scanNumber(QStringView text, qsizetype i, QChar separator) {
    ScannedNumber out;
    const qsizetype n = text.size();
    auto at = [&](qsizetype k) { return k < n ? text[k] : QChar(); };
    auto takeDigits = [&](std::string& into) {
        bool any = false;
        while (isDigit(at(i))) {
            out.nonZeroDigit = out.nonZeroDigit || text[i] != u'0';
            into += char(text[i++].unicode());
            any = true;
        }
        return any;
    };
    if (at(i) == u'+' || at(i) == u'-') out.cText += char(text[i++].unicode());
    out.anyDigit = takeDigits(out.cText);
    if (at(i) == u'.' || (separator != u'.' && at(i) == separator)) {
        out.cText += '.';
        ++i;
        out.anyDigit = takeDigits(out.cText) || out.anyDigit;
    }
    out.end = i;
    if (!out.anyDigit) return out;
    const QChar e = at(i).toUpper();
    if (e == u'E' || e == u'D') {
        const qsizetype letter = i++;
        std::string exponent = "e";
        if (at(i) == u'+' || at(i) == u'-') exponent += char(text[i++].unicode());
        const bool nonZeroBefore = out.nonZeroDigit;
        if (takeDigits(exponent)) {
            out.cText += exponent;
            out.end = i;
        } else {
            out.end = letter;
        }
        out.nonZeroDigit = nonZeroBefore;
    }
    return out;
}

// The power of ten just above the number's first significant digit: 10^(order-1) <= |x| <
// 10^order, from a text in the "C" form with a digit other than 0 before any exponent.
long long decimalOrder(const std::string& s) {
    const std::size_t e = std::min(s.find('e'), s.size());
    const std::size_t point = std::min(s.find('.'), e);
    const std::size_t first = s.find_first_of("123456789");
    const long long order = first < point ? static_cast<long long>(point - first)
                                          : 1 - static_cast<long long>(first - point);
    if (e == s.size()) return order;
    std::size_t from = e + 1;
    const bool minus = s[from] == '-';
    if (s[from] == '+' || s[from] == '-') ++from;
    long long exponent = 0;
    // An exponent beyond long long is beyond any double all the more.
    if (std::from_chars(s.data() + from, s.data() + s.size(), exponent).ec != std::errc())
        exponent = std::numeric_limits<long long>::max() / 2;
    return order + (minus ? -exponent : exponent);
}

// The text handed here is already in the "C" form ("." as its decimal point), and from_chars
// reads it so whatever locale the application has set. Out of a double's range it leaves the
// value alone; the answer is then strtod's: infinity or zero, by the side it fell off.
double parseC(const std::string& s) {
    const std::size_t start = !s.empty() && s.front() == '+' ? 1 : 0;
    double value = 0;
    if (std::from_chars(s.data() + start, s.data() + s.size(), value).ec !=
        std::errc::result_out_of_range)
        return value;
    const double magnitude = decimalOrder(s) > 0 ? HUGE_VAL : 0.0;
    return s.front() == '-' ? -magnitude : magnitude;
}

QString generalForm(double value, int digits, QChar separator) {
    if (value == 0) return QStringLiteral("0");
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    // "d.ddddde+XX" with the value already rounded to the wanted significant digits.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, value);
    const std::string s(buf);
    const bool negative = s[0] == '-';
    const auto ePos = s.find('e');
    const int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string mantissa;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i)
        if (s[i] != '.') mantissa += s[i];
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();

    QString out = negative ? QStringLiteral("-") : QString();
    auto appendDigits = [&out](const std::string& d) { out += QString::fromLatin1(d); };
    if (exponent >= digits || exponent < -4) {
        appendDigits(mantissa.substr(0, 1));
        if (mantissa.size() > 1) {
            out += separator;
            appendDigits(mantissa.substr(1));
        }
        out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent < 0) {
        out += QLatin1Char('0');
        out += separator;
        appendDigits(std::string(std::size_t(-exponent - 1), '0') + mantissa);
    } else {
        const std::size_t intDigits = std::size_t(exponent) + 1;
        if (mantissa.size() <= intDigits) {
            appendDigits(mantissa + std::string(intDigits - mantissa.size(), '0'));
        } else {
            appendDigits(mantissa.substr(0, intDigits));
            out += separator;
            appendDigits(mantissa.substr(intDigits));
        }
    }
    return out;
}

} // namespace

double leadingValue(QStringView text, QChar systemSeparator) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n'))
        ++i;
    const ScannedNumber number = scanNumber(text, i, systemSeparator);
    return number.anyDigit ? parseC(number.cText) : 0;
}

std::optional<double> readWholeNumber(QStringView text, QChar systemSeparator) {
    qsizetype from = 0, to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    const QStringView whole = text.sliced(from, to - from);
    const ScannedNumber number = scanNumber(whole, 0, systemSeparator);
    if (!number.anyDigit || number.end != whole.size()) return std::nullopt;
    const double value = parseC(number.cText);
    // Beyond the range of a double either way: too large, or so small it came out as zero.
    if (!std::isfinite(value) || (value == 0 && number.nonZeroDigit)) return std::nullopt;
    return value;
}

QString displayText(float value, QChar separator) {
    return generalForm(value, 7, separator);
}

QString displayText(double value, QChar separator) {
    return generalForm(value, 15, separator);
}

double roundHalfEven2(double value) {
    return std::nearbyint(value * 100.0) / 100.0;
}

} // namespace tarvel
