#include "panel/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace tarvel {
namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// strtod in the "C" locale, whatever locale the application has set: the text handed to it
// is already normalised to "." as its decimal point.
double parseC(const std::string& s) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(s.c_str(), nullptr, cLocale);
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
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

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
    const qsizetype n = text.size();
    auto at = [&](qsizetype k) { return k < n ? text[k] : QChar(); };
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n')) ++i;

    std::string number;
    if (at(i) == u'+' || at(i) == u'-') number += char(text[i++].unicode());
    bool anyDigit = false;
    while (isDigit(at(i))) {
        number += char(text[i++].unicode());
        anyDigit = true;
    }
    if (at(i) == u'.' || (systemSeparator != u'.' && at(i) == systemSeparator)) {
        number += '.';
        ++i;
        while (isDigit(at(i))) {
            number += char(text[i++].unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0;

    const QChar e = at(i).toUpper();
    if (e == u'E' || e == u'D') {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (at(j) == u'+' || at(j) == u'-') exponent += char(text[j++].unicode());
        bool expDigit = false;
        while (isDigit(at(j))) {
            exponent += char(text[j++].unicode());
            expDigit = true;
        }
        if (expDigit) number += exponent;
    }
    return parseC(number);
}

QString displayText(float value, QChar separator) { return generalForm(value, 7, separator); }

QString displayText(double value, QChar separator) { return generalForm(value, 15, separator); }

double roundHalfEven2(double value) { return std::nearbyint(value * 100.0) / 100.0; }

} // namespace tarvel
