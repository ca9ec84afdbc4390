#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tarvel;
using namespace tarvel::test;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

const QString kDivByZero = QStringLiteral("Деление на ноль");
const QString kInvalid = QStringLiteral("Недопустимая операция (0 / 0)");
const QString kOverflow = QStringLiteral("Переполнение");

// Presses keys by caption. "=" is the calculator half of the total key, OperClick(0), with its
// fault shown as the operator keys show theirs; "клише" is a header reload as ВВ's closing
// and % run it, which sets the entry flag under whatever the indicator shows.
void keys(RegisterRig& rig, const QString& sequence) {
    for (const QString& key : sequence.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (key == u"=") {
            const ArithmeticFault fault = rig.reg->OperClick(0);
            if (fault != ArithmeticFault::None)
                rig.messages.show(faultMessage(fault), kProgramTitle, MessageBoxes::Icon::None);
        } else if (key == u"клише") {
            rig.reg->clishe();
        } else {
            rig.press(key);
        }
    }
}

// "1" followed by `zeros` zeros, keyed with the "00" key.
QString bigAmount(int zeros) {
    QString out = QStringLiteral("1");
    for (int i = 0; i < zeros / 2; ++i)
        out += QStringLiteral(" 00");
    if (zeros % 2) out += QStringLiteral(" 0");
    return out;
}

struct ChainCase {
    std::string name;
    QString keys;
    QString indicator;
    int entryFlag;
    int pendingOper;
    float accumulator;
    QStringList messages = {};
    QChar separator = QLatin1Char('.');
    bool minusLamp = false;
};

void PrintTo(const ChainCase& c, std::ostream* os) {
    *os << c.keys.toStdString();
}

bool sameFloat(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

std::vector<ChainCase> chainCases() {
    const QChar comma = QLatin1Char(',');
    const QString e38 = bigAmount(38);
    const QString e40 = bigAmount(40);
    return {
        // Chains: no precedence, the last operator key pressed counts.
        {"NoPrecedence", "2 + 3 Х 4 =", "20", 0, 0, 20},
        {"Quotient", "1 0 / 4 =", "2.5", 0, 0, 2.5f},
        {"RepeatedPlus", "5 + + 3 =", "8", 0, 0, 8},
        {"LastOperatorCounts", "5 + - 3 =", "2", 0, 0, 2, {}, '.', true},
        {"NegativeResult", "5 - 8 =", "-3", 0, 0, -3, {}, '.', true},
        {"NegativeTimes", "0 - 2 . 5 Х 2 =", "-5", 0, 0, -5, {}, '.', true},
        {"OperatorFirstAfterStartUp", "+ 4 =", "4", 0, 0, 4},
        {"OperatorRightAfterStartUpOnlySetsPending", "Х", "0.00", 0, 3, 0},
        {"EqualsTwiceChangesNothing", "2 + 3 = =", "5", 0, 0, 5},
        {"ChainContinuesFromResult", "2 + 3 = + 4 =", "9", 0, 0, 9},
        {"DigitAfterEqualsStartsNewChain", "2 + 3 = 4 + 1 =", "5", 0, 0, 5},
        {"OperatorShowsRunningResult", "2 + 3 Х", "5", 0, 3, 5},
        {"OneThirdSevenDigits", "1 / 3 =", "0.3333333", 0, 0, 1.0f / 3.0f},
        {"ExponentForm", "1 2 5 00 00 0 Х 1 0 0 =", "1.25E+09", 0, 0, 1.25e9f},
        {"ExactSingleSum", "0 . 1 + 0 . 2 =", "0.3", 0, 0, 0.1f + 0.2f},
        {"SinglePrecisionLosesTheOne", "1 6 7 7 7 2 1 6 + 1 =", "1.677722E+07", 0, 0, 16777216.0f},
        // OperClick(0) rewrites a keyed amount in number form.
        {"PointedAmountRewritten", "5 . =", "5", 0, 0, 5},
        {"ResetThenPointAmount", "СБ . 5 =", "0.5", 0, 0, 0.5f},
        {"ResetThenOperatorShowsZero", "СБ +", "0", 0, 1, 0},
        {"ResetDropsThePendingOperation", "2 + СБ 3 =", "3", 0, 0, 3},
        {"ReloadThenEqualsRewritesStartUpIndicator", "клише =", "0", 0, 0, 0},
        // Faults: the accumulator holds the faulty result, the indicator the operand, and
        // pendingOper and entryFlag keep their values.
        {"DivisionByZero", "5 / 0 =", "0", 1, 4, kInf, {kDivByZero}},
        {"ZeroByZero", "0 / 0 =", "0", 1, 4, kNaN, {kInvalid}},
        {"NegativeByZero", "0 - 5 / 0 =", "0", 1, 4, -kInf, {kDivByZero}, '.', true},
        {"ResultOverflow", e38 + " Х 1 0 0 =", "100", 1, 3, kInf, {kOverflow}},
        {"MinusFaultLeavesLampDark", "5 / 0 -", "0", 1, 4, kInf, {kDivByZero}},
        {"OperandBeyondRange", e40 + " +", e40.split(' ').join(QString()), 1, 0, 0, {kOverflow}},
        {"OperandBeyondRangeKeepsChain",
         "7 + " + e40 + " =",
         e40.split(' ').join(QString()),
         1,
         1,
         7,
         {kOverflow}},
        {"LargestAmountStillFits", e38 + " =", "1E+38", 0, 0, 1e38f},
        // After a fault the panel keeps working: a further operation on the infinite or
        // undefined result is a fault again (never "INF" on the indicator), СБ clears it.
        {"KeysAfterDivisionByZero", "5 / 0 = 2 =", "2", 1, 4, kInf, {kDivByZero, kOverflow}},
        {"KeysAfterInvalid", "0 / 0 = 3 +", "3", 1, 4, kNaN, {kInvalid, kInvalid}},
        {"ResetRecoversFromFault", "5 / 0 = 2 = СБ 7 + 1 =", "8", 0, 0, 8, {kDivByZero, kOverflow}},
        {"EqualsAfterFaultAgain", "0 / 0 = = СБ 6 / 4 =", "1.5", 0, 0, 1.5f, {kInvalid, kInvalid}},
        // The system's decimal separator shows the result; the point key keys "." all the same.
        {"CommaSeparatorShowsResult", "1 . 5 + 1 =", "2,5", 0, 0, 2.5f, {}, comma},
        {"CommaSeparatorQuotient", "1 / 4 =", "0,25", 0, 0, 0.25f, {}, comma},
        {"CommaResultGetsAPoint", "1 . 5 + 1 = .", "2,5.", 0, 0, 2.5f, {}, comma},
        // A shown result is read back whole: "2,5" is 2.5 under ",".
        {"CommaResultReadsBack", "1 . 5 + 1 = клише Х 2 =", "5", 0, 0, 5, {}, comma},
        {"PointResultReadsBack", "1 . 5 + 1 = клише Х 2 =", "5", 0, 0, 5},
    };
}

class Chain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(Chain, KeysWorkOutTheResult) {
    const ChainCase& c = GetParam();
    RegisterRig rig(c.separator);
    keys(rig, c.keys);
    const PanelState& s = rig.s();
    EXPECT_EQ(s.TxtIND.text(), c.indicator);
    EXPECT_EQ(s.entryFlag, c.entryFlag);
    EXPECT_EQ(s.pendingOper, c.pendingOper);
    EXPECT_TRUE(sameFloat(s.accumulator, c.accumulator))
        << s.accumulator << " instead of " << c.accumulator;
    EXPECT_EQ(rig.messages.texts(), c.messages);
    EXPECT_EQ(s.lit(Lamp::Lblmin), c.minusLamp);
}

INSTANTIATE_TEST_SUITE_P(Keys, Chain, ::testing::ValuesIn(chainCases()),
                         [](const auto& info) { return info.param.name; });

// ВВ finishes a pending calculation through OperClick(0) and must learn of a fault itself:
// OperClick returns it and shows nothing.
TEST(OperClick, ReturnsTheFaultToItsCallerWithoutAMessage) {
    const struct {
        const char* keys;
        ArithmeticFault fault;
    } cases[] = {
        {"5 / 0", ArithmeticFault::DivisionByZero},
        {"0 / 0", ArithmeticFault::Invalid},
        {"1 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 Х 1 00",
         ArithmeticFault::Overflow},
        {"5 / 2", ArithmeticFault::None},
        {"5 / 0 +", ArithmeticFault::DivisionByZero}, // the fault stands until СБ
    };
    for (const auto& c : cases) {
        RegisterRig rig;
        keys(rig, QString::fromUtf8(c.keys));
        const qsizetype shownBefore = rig.messages.shown.size();
        EXPECT_EQ(rig.reg->OperClick(0), c.fault) << c.keys;
        EXPECT_EQ(rig.messages.shown.size(), shownBefore) << c.keys;
    }
}

TEST(OperClick, CodeOutsideTheTableKeepsThePendingOperation) {
    RegisterRig rig;
    keys(rig, QStringLiteral("6 Х 7"));
    EXPECT_EQ(rig.reg->OperClick(5), ArithmeticFault::None);
    EXPECT_EQ(rig.s().TxtIND.text(), QStringLiteral("42"));
    EXPECT_EQ(rig.s().pendingOper, 3);
    EXPECT_EQ(rig.s().entryFlag, 0);
    EXPECT_EQ(rig.reg->OperClick(-1), ArithmeticFault::None);
    EXPECT_EQ(rig.s().pendingOper, 3);
}

// The indicator is read up to the first character that cannot be part of a number.
TEST(OperClick, ReadsTheLeadingNumberOfAnyIndicatorText) {
    const struct {
        const char* indicator;
        const char* shown;
    } cases[] = {{"21:30:15", "21"}, {"05/12/2026", "5"}, {"", "0"},      {"руб", "0"},
                 {"12,5", "12"},     {" 7.5", "7.5"},     {"1E3", "1000"}};
    for (const auto& c : cases) {
        RegisterRig rig;
        rig.s().TxtIND.setText(QString::fromUtf8(c.indicator));
        rig.s().entryFlag = 1;
        EXPECT_EQ(rig.reg->OperClick(1), ArithmeticFault::None) << c.indicator;
        EXPECT_EQ(rig.s().TxtIND.text(), QString::fromUtf8(c.shown)) << c.indicator;
    }
}

TEST(OperClick, FaultMessageNamesTheFaultWithTheProgramTitle) {
    RegisterRig rig;
    keys(rig, QStringLiteral("5 / 0 /"));
    ASSERT_EQ(rig.messages.shown.size(), 1);
    EXPECT_EQ(rig.messages.shown[0].text, kDivByZero);
    EXPECT_EQ(rig.messages.shown[0].caption, kProgramTitle);
}

} // namespace
