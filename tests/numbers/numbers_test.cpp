#include "numbers/numbers.h"

#include "support/named_rows.h"
#include "support/qt_printing.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

using namespace tarvel;
using namespace tarvel::test;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// "." is a decimal point under either separator; the system's own is one too.
TEST(Numbers, LeadingValueReadsTheNumberAtTheStartOfAnyText) {
    // clang-format off
    const std::tuple<const char16_t*, char, double> cases[] = {
        {u"", '.', 0}, {u" \t\n-12.5руб", '.', -12.5}, {u"руб 5", '.', 0}, {u"1 2", '.', 1},
        {u"12,5", '.', 12}, {u"12,5", ',', 12.5}, {u"12.5", ',', 12.5}, {u"1.5,3", ',', 1.5},
        {u"1E-05", '.', 1e-5}, {u"2d3", '.', 2000}, {u"7e", '.', 7}, {u".5", '.', 0.5},
        // Beyond a double's range: infinity or zero by the side it falls off.
        {u"1E999", '.', kInf}, {u"-1e999", '.', -kInf}, {u"+2000e305", '.', kInf},
        {u"-1e99999999999999999999", '.', -kInf}, {u"1e-999", '.', 0}, {u".00001e-320", '.', 0},
        {u"0.00001e312", '.', 1e307}};
    // clang-format on
    for (const auto& [text, separator, value] : cases)
        EXPECT_DOUBLE_EQ(leadingValue(text, QLatin1Char(separator)), value)
            << QString::fromUtf16(text).toStdString() << " under " << separator;
    // The digits alone carry it over the edge, against the exponent's sign.
    EXPECT_EQ(leadingValue(QString("1" + QString(400, u'0') + "e-5")), kInf);
    EXPECT_EQ(leadingValue(QString("0." + QString(400, u'0') + "1e5")), 0);
}

// A whole text: blanks around one number; beyond a double's range (or underflowing), none.
struct WholeRow : NamedRow {
    const char16_t* text;
    char separator;
    std::optional<double> value;
};

class WholeNumber : public testing::TestWithParam<WholeRow> {};

TEST_P(WholeNumber, ReadsOnlyATextThatIsOneNumber) {
    const WholeRow& c = GetParam();
    EXPECT_EQ(readWholeNumber(c.text, QLatin1Char(c.separator)), c.value);
}

// clang-format off
const WholeRow kWholeRows[] = {
    {"Integer", u"12", '.', 12}, {"BlanksAround", u" \t-1.5e3 \t", '.', -1500},
    {"PointInEveryLocale", u"2.5", ',', 2.5}, {"SystemSeparator", u"2,5", ',', 2.5},
    {"CommaUnderPoint", u"2,5", '.', std::nullopt}, {"LeadingPoint", u".5", '.', 0.5},
    {"TrailingPoint", u"5.", '.', 5}, {"ExponentD", u"1D2", '.', 100},
    {"SignedExponent", u"+.5e+3", '.', 500}, {"Empty", u"", '.', std::nullopt},
    {"OnlyBlanks", u"  ", '.', std::nullopt}, {"LineFeedIsNoBlank", u"\n1", '.', std::nullopt},
    {"TwoNumbers", u"1 2", '.', std::nullopt}, {"ExponentWithoutDigits", u"1e", '.', std::nullopt},
    {"TextAfter", u"2abc", '.', std::nullopt}, {"TooLarge", u"1e400", '.', std::nullopt},
    {"UnderflowsToZero", u"1e-400", '.', std::nullopt}, {"ZeroWithExponent", u"0.000e-999", '.', 0},
    {"Subnormal", u"4.9e-324", '.', 4.9e-324},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Texts, WholeNumber, testing::ValuesIn(kWholeRows), rowName);

// At most 7 significant digits in single precision, 15 in double.
TEST(Numbers, DisplayTextWritesTheGeneralNumberForm) {
    // clang-format off
    const std::tuple<double, bool, char, const char16_t*> cases[] = {
        {-0.0, true, '.', u"0"}, {33.3, true, '.', u"33.3"}, {-12.35, false, '.', u"-12.35"},
        {1.0 / 3, true, '.', u"0.3333333"}, {1.0 / 3, false, '.', u"0.333333333333333"},
        {0.3 - 0.1, false, '.', u"0.2"}, {0.9999999999999999, false, '.', u"1"},
        {1e-4, true, '.', u"0.0001"}, {1e-5, true, '.', u"1E-05"}, {1.2e-4, true, ',', u"0,00012"},
        {9999999, true, '.', u"9999999"}, {1e7, true, '.', u"1E+07"}, {1e300, false, '.', u"1E+300"},
        {12.5e6, true, ',', u"1,25E+07"}, {12.5e6, false, '.', u"12500000"}};
    // clang-format on
    for (const auto& [value, single, separator, text] : cases) {
        const QChar sep = QLatin1Char(separator);
        EXPECT_EQ(single ? displayText(float(value), sep) : displayText(value, sep),
                  QString::fromUtf16(text));
    }
}

TEST(Numbers, RoundHalfEven2TiesGoToTheEvenNeighbour) {
    EXPECT_DOUBLE_EQ(roundHalfEven2(0.125), 0.12);
    EXPECT_DOUBLE_EQ(roundHalfEven2(0.375), 0.38);
    EXPECT_DOUBLE_EQ(roundHalfEven2(-12.345678), -12.35);
}

} // namespace
