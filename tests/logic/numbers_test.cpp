#include "panel/numbers.h"

#include "support/qt_printing.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace tarvel;

namespace {

struct LeadingCase {
    const char16_t* text;
    char16_t separator;
    double expected;
};

void PrintTo(const LeadingCase& c, std::ostream* os) {
    *os << QString::fromUtf16(c.text).toStdString() << " with separator " << char(c.separator);
}

class LeadingValueTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingValueTest, ReadsTheNumberAtTheStart) {
    const auto& c = GetParam();
    EXPECT_DOUBLE_EQ(leadingValue(QStringView(c.text), QChar(c.separator)), c.expected)
        << QString::fromUtf16(c.text).toStdString() << " sep " << char(c.separator);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingValueTest,
    testing::Values(LeadingCase{u"", u'.', 0}, LeadingCase{u"150", u'.', 150},
                    LeadingCase{u"  \t\n-12.5руб", u'.', -12.5}, LeadingCase{u"12,5", u'.', 12},
                    LeadingCase{u"12,5", u',', 12.5}, LeadingCase{u"12.5", u',', 12.5},
                    LeadingCase{u"1.5,3", u',', 1.5}, LeadingCase{u"1,5.", u',', 1.5},
                    LeadingCase{u".5", u'.', 0.5}, LeadingCase{u".", u'.', 0},
                    LeadingCase{u"-", u'.', 0}, LeadingCase{u"руб 5", u'.', 0},
                    LeadingCase{u" СДАЧА  299 РУБ", u'.', 0},
                    LeadingCase{u"1E-05", u'.', 1e-5}, LeadingCase{u"1.25E+07", u'.', 1.25e7},
                    LeadingCase{u"2d3", u'.', 2000}, LeadingCase{u"7e", u'.', 7},
                    LeadingCase{u"05.12.2026", u'.', 5.12}, LeadingCase{u"21:30:15", u'.', 21},
                    LeadingCase{u"+3/4", u'.', 3}, LeadingCase{u"1 2", u'.', 1},
                    LeadingCase{u"12345678901234567890", u'.', 12345678901234567890.0}));

TEST(LeadingValue, HugeExponentsGiveInfinityOrZero) {
    EXPECT_TRUE(std::isinf(leadingValue(u"1E999")));
    EXPECT_EQ(leadingValue(u"1E-999"), 0.0);
}

struct DisplayCase {
    double value;
    bool single;
    char16_t separator;
    const char16_t* expected;
};

void PrintTo(const DisplayCase& c, std::ostream* os) {
    *os << c.value << (c.single ? " single" : " double") << " with separator " << char(c.separator);
}

class DisplayTextTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayTextTest, WritesTheGeneralNumberForm) {
    const auto& c = GetParam();
    const QString text = c.single ? displayText(float(c.value), QChar(c.separator))
                                  : displayText(c.value, QChar(c.separator));
    EXPECT_EQ(text, QString::fromUtf16(c.expected)) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, DisplayTextTest,
    testing::Values(
        DisplayCase{0, true, u'.', u"0"}, DisplayCase{-0.0, true, u'.', u"0"},
        DisplayCase{201, true, u'.', u"201"}, DisplayCase{2.5, true, u',', u"2,5"},
        DisplayCase{1.0 / 3.0, true, u'.', u"0.3333333"},
        DisplayCase{1.0 / 3.0, false, u'.', u"0.333333333333333"},
        DisplayCase{33.3, true, u'.', u"33.3"}, DisplayCase{0.1, true, u'.', u"0.1"},
        DisplayCase{-3, true, u'.', u"-3"}, DisplayCase{-12.35, false, u'.', u"-12.35"},
        DisplayCase{66.70, false, u'.', u"66.7"}, DisplayCase{0.00001, true, u'.', u"1E-05"},
        DisplayCase{0.0001, true, u'.', u"0.0001"}, DisplayCase{0.000123, true, u',', u"0,000123"},
        DisplayCase{12.5e6, true, u'.', u"1.25E+07"}, DisplayCase{9999999, true, u'.', u"9999999"},
        DisplayCase{10000000, true, u'.', u"1E+07"},
        DisplayCase{12.5e6, false, u'.', u"12500000"},
        DisplayCase{1e15, false, u'.', u"1E+15"}, DisplayCase{1e300, false, u'.', u"1E+300"},
        DisplayCase{1250.5, true, u',', u"1250,5"},
        DisplayCase{0.9999999999999999, false, u'.', u"1"}, // rounding carries over
        DisplayCase{0.3 - 0.1, false, u'.', u"0.2"}));

TEST(RoundHalfEven2, TiesGoToTheEvenNeighbour) {
    EXPECT_DOUBLE_EQ(roundHalfEven2(0.125), 0.12);
    EXPECT_DOUBLE_EQ(roundHalfEven2(0.375), 0.38);
    EXPECT_DOUBLE_EQ(roundHalfEven2(299.5), 299.5);
    EXPECT_DOUBLE_EQ(roundHalfEven2(-12.345678), -12.35);
}

TEST(Numbers, WhatIsWrittenReadsBackUnderBothSeparators) {
    for (const char16_t sep : {u'.', u','}) {
        for (const float v : {12.5f, 299.5f, -0.25f, 1250.5f}) {
            EXPECT_FLOAT_EQ(float(leadingValue(displayText(v, QChar(sep)), QChar(sep))), v);
        }
    }
}

} // namespace
