#include "register/key.h"

namespace tarvel {

namespace {

struct KeyRow {
    Key key;
    QStringView name;
};

constexpr std::array<KeyRow, kKeyCount> kKeys = {{
    {Key::Digit0, u"Command0"},
    {Key::Digit1, u"Command1"},
    {Key::Digit2, u"Command2"},
    {Key::Digit3, u"Command3"},
    {Key::Digit4, u"Command4"},
    {Key::Digit5, u"Command5"},
    {Key::Digit6, u"Command6"},
    {Key::Digit7, u"Command7"},
    {Key::Digit8, u"Command8"},
    {Key::Digit9, u"Command9"},
    {Key::DoubleZero, u"Btn00"},
    {Key::Point, u"CommandZ"},
    {Key::Clear, u"CommandC"},
    {Key::Plus, u"CommandPlus"},
    {Key::Minus, u"CammandMinus"},
    {Key::Multiply, u"UMN"},
    {Key::Divide, u"DEL"},
    {Key::Equals, u"CommandEnter"},
    {Key::Enter, u"CommandVV"},
    {Key::Return, u"VT"},
    {Key::CashIn, u"NL"},
    {Key::Percent, u"PROC"},
    {Key::KN, u"KN"},
    {Key::KR, u"KR"},
    {Key::KL, u"KL"},
    {Key::KCH, u"KCH"},
    {Key::KZ, u"KZ"},
    {Key::CHL, u"CHL"},
    {Key::FC, u"FC"},
    {Key::Dept1, u"Btn1D"},
    {Key::Dept2, u"Btn2V"},
    {Key::Dept3, u"Btn3T"},
    {Key::Dept4, u"Btn4C"},
    {Key::Power, u"VKL"},
}};

constexpr bool rowsFollowTheEnum() {
    for (int i = 0; i < kKeyCount; ++i)
        if (int(kKeys[i].key) != i) return false;
    return true;
}
static_assert(rowsFollowTheEnum(), "one row per key, in the order of the enum");

constexpr std::array<Key, kKeyCount> makeAllKeys() {
    std::array<Key, kKeyCount> keys{};
    for (int i = 0; i < kKeyCount; ++i)
        keys[i] = Key(i);
    return keys;
}
constexpr std::array<Key, kKeyCount> kAllKeys = makeAllKeys();

} // namespace

const std::array<Key, kKeyCount>& allKeys() {
    return kAllKeys;
}

QStringView keyName(Key key) {
    return kKeys[std::size_t(key)].name;
}

std::optional<Key> keyFromName(QStringView name) {
    for (const KeyRow& row : kKeys)
        if (row.name == name) return row.key;
    return std::nullopt;
}

} // namespace tarvel
