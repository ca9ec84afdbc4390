// The chain calculator: "+", "-", "Х", "/" and the first step of "=" and ВВ.
//
// Each operator key carries out the operation still pending with the amount keyed since, then
// becomes the pending one itself; there is no precedence, so 2 + 3 Х 4 = gives 20. The running
// result is a single-precision number (accumulator); the indicator only ever shows it as text.
//
// A fault (0 / 0, a division by zero, a result or keyed amount beyond the single-precision
// range) stops the key that met it where it stands: the indicator keeps what it shows. Then
// the faulty calculation is dropped, as a calculator clears its error: the accumulator goes
// back to 0, nothing is pending and the next digit starts a new amount, so an infinity never
// jams "=" and ВВ on an open receipt. The fault goes back to the caller, which shows it to the
// trainee; ВВ then goes on with its own work.

#include "numbers/numbers.h"
#include "register/cash_register.h"

#include <cmath>
#include <limits>

namespace tarvel {
namespace {

// Amounts from here on round to infinity in single precision: the largest float plus half of
// its last unit. Anything below still rounds to a finite float.
constexpr double kBeyondFloatRange =
    double(std::numeric_limits<float>::max()) + 0x1p103; // ulp of the top binade is 2^104

// Any result that is not a finite number is a fault: a non-number never reaches the
// indicator, and so never a receipt line.
ArithmeticFault faultOf(float result, Operator oper, float operand) {
    if (std::isnan(result)) return ArithmeticFault::Invalid;
    if (std::isinf(result))
        return oper == Operator::Divide && operand == 0 ? ArithmeticFault::DivisionByZero
                                                        : ArithmeticFault::Overflow;
    return ArithmeticFault::None;
}

} // namespace

ArithmeticFault CashRegister::applyOperator(Operator next) {
    if (s_.entryFlag != 0) {
        const ArithmeticFault fault = carryOutPending();
        if (fault != ArithmeticFault::None) {
            dropCalculation();
            return fault;
        }
        s_.pendingOper = next;
        s_.entryFlag = 0;
    } else {
        // No amount keyed since the last operator: only the pending operation changes.
        s_.pendingOper = next;
    }
    return ArithmeticFault::None;
}

void CashRegister::dropCalculation() {
    s_.accumulator = 0;
    s_.pendingOper = Operator::None;
    s_.entryFlag = 0;
}

ArithmeticFault CashRegister::carryOutPending() {
    const QChar separator = svc_.regional.decimalSeparator();
    // The register reads back the numbers it writes: under a "," separator "2,5" is 2.5.
    const double keyed = leadingValue(s_.TxtIND.text(), separator);
    // The keypad sets no length limit, so a keyed amount may lie beyond the single-precision
    // range. It is refused as an overflow before it touches the accumulator.
    if (!(std::abs(keyed) < kBeyondFloatRange)) return ArithmeticFault::Overflow;
    const float x = float(keyed);
    const float acc = s_.accumulator;

    float result = acc;
    switch (s_.pendingOper) {
    case Operator::None:
        result = x;
        break;
    case Operator::Plus:
        result = x + acc;
        break;
    case Operator::Minus:
        result = acc - x;
        break;
    case Operator::Multiply:
        result = x * acc;
        break;
    case Operator::Divide:
        result = acc / x;
        break;
    }
    s_.accumulator = result;
    if (s_.pendingOper != Operator::None) {
        const ArithmeticFault fault = faultOf(result, s_.pendingOper, x);
        if (fault != ArithmeticFault::None) return fault;
    }
    s_.TxtIND.setText(displayText(s_.accumulator, separator));
    return ArithmeticFault::None;
}

ArithmeticFault CashRegister::operatorKey(Operator next) {
    const ArithmeticFault fault = applyOperator(next);
    showFault(fault);
    return fault;
}

// The minus lamp tells НЛ that cash is taken out; a faulty "-" leaves it as it was.
void CashRegister::subtract() {
    if (operatorKey(Operator::Minus) == ArithmeticFault::None) s_.light(Lamp::CashOut);
}

// The pending calculation carried out as ВВ does it, before a sale and after a closing.
void CashRegister::completeCalculation() {
    showFault(applyOperator(Operator::None));
}

void CashRegister::showFault(ArithmeticFault fault) {
    if (fault == ArithmeticFault::None) return;
    tell(faultMessage(fault));
    watch_.arithmeticFault(fault);
}

QString faultMessage(ArithmeticFault fault) {
    switch (fault) {
    case ArithmeticFault::DivisionByZero:
        return QStringLiteral("Деление на ноль");
    case ArithmeticFault::Invalid:
        return QStringLiteral("Недопустимая операция (0 / 0)");
    case ArithmeticFault::Overflow:
        return QStringLiteral("Переполнение");
    case ArithmeticFault::None:
        break;
    }
    return {};
}

} // namespace tarvel
