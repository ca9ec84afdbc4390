#pragma once
// The register's 34 keys as values. The control table, the register's press(Key), the tests,
// the key logs and their replay all speak this one identity. A key's name is the name of its
// control on the panel (CommandVV, Command7, VKL): stable ASCII, what a key log stores. Its
// caption is what its face shows (ВВ, 7); key.cpp holds both, one row per key.

#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace tarvel {

enum class Key : std::uint8_t {
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    DoubleZero,
    Point,
    Clear, // resets the indicator and cancels an open receipt
    Plus,
    Minus, // also marks the next cash movement as money taken out
    Multiply,
    Divide,
    Equals,  // totals the receipt
    Enter,   // sells the amount, closes the totalled receipt, takes the cash
    Return,  // marks the next sale as a return
    CashIn,  // cash in or out; after the total, cash tendered
    Percent, // card payment
    KN,      // a mode key with a lamp and nothing else
    KR,      // date, time and header mode
    KL,      // takes the Enter key off the panel
    KCH,     // bold clock
    KZ,      // journal mode: shift reports
    CHL,     // keyboard entry into the indicator
    FC,      // the goods directory
    Dept1,   // departments 01 and 05; shift report; date
    Dept2,   // departments 02 and 06; shift report; time
    Dept3,   // departments 03 and 07; header editing
    Dept4,   // departments 04 and 08
    Power,
};
inline constexpr int kKeyCount = 34;

// Every key, in the order of the enum.
const std::array<Key, kKeyCount>& allKeys();

// The key's control name, for example u"CommandVV" for ВВ.
QStringView keyName(Key key);
// The caption on the key's face, for example u"ВВ".
QStringView keyCaption(Key key);
// The key with that control name, if any.
std::optional<Key> keyFromName(QStringView name);

// The digit key for 0..9.
constexpr Key digitKey(int digit) {
    return Key(int(Key::Digit0) + digit);
}

} // namespace tarvel
