#pragma once
// The register's number conversions. Amounts live as text on the indicator and the tapes;
// they become numbers only when an operation needs one, and go back to text in the general
// number form of the system. Every number is read in one grammar (see leadingValue).

#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>

namespace tarvel {

// The number at the start of a text: leading spaces, tabs and line feeds skipped, an optional
// sign, digits, an optional decimal point with digits, an optional exponent ("E" or "D").
// Reading stops at the first other character; no number gives 0. "." is a decimal point in
// every locale; where the system separator is not ".", that separator is one too, so the
// register reads back the numbers it writes itself.
double leadingValue(QStringView text, QChar systemSeparator = QLatin1Char('.'));

// A whole text read as one number of that grammar, spaces and tabs around it allowed (the
// goods file's first field, a stored window measure). Anything else, the empty text included,
// is no number; neither is a value beyond the range of a double, too large or too small.
std::optional<double> readWholeNumber(QStringView text, QChar systemSeparator);

// General number form: the shortest text of at most 7 (single) or 15 (double) significant
// digits, no trailing zeros, no grouping, exponent form (1E-05, 1.25E+07) when the decimal
// exponent is at least the number of digits or below -4.
QString displayText(float value, QChar separator);
QString displayText(double value, QChar separator);

// Rounds to two decimal places, ties to the even neighbour (the change of a cash payment).
double roundHalfEven2(double value);

} // namespace tarvel
