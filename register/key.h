#pragma once
// The register's 34 keys as values. The control table, the register's press(Key), the tests,
// the key logs and their replay all speak this one identity. A key's name is the name of its
// control on the panel (CommandVV, Command7, VKL): stable ASCII, what a key log stores.

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
    DoubleZero, // 00
    Point,      // .
    Clear,      // СБ
    Plus,       // +
    Minus,      // -
    Multiply,   // Х
    Divide,     // /
    Equals,     // =  (the total key)
    Enter,      // ВВ
    Return,     // ВТ
    CashIn,     // НЛ
    Percent,    // %  (card payment)
    KN,         // КН
    KR,         // КР: header and clock mode
    KL,         // КЛ: ВВ hidden
    KCH,        // КЧ: bold clock
    KZ,         // КЗ: journal mode
    CHL,        // the receipt tape to the front
    FC,         // ФЦ: the goods directory
    Dept1,      // 1Д
    Dept2,      // 2В
    Dept3,      // 3Т
    Dept4,      // 4С
    Power,      // VKL, the power key
};
inline constexpr int kKeyCount = 34;

// Every key, in the order of the enum.
const std::array<Key, kKeyCount>& allKeys();

// The key's control name, for example u"CommandVV" for ВВ.
QStringView keyName(Key key);
// The key with that control name, if any.
std::optional<Key> keyFromName(QStringView name);

// The digit key for 0..9.
constexpr Key digitKey(int digit) {
    return Key(int(Key::Digit0) + digit);
}

} // namespace tarvel
