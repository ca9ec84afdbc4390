#include "register/key.h"

namespace tarvel {

namespace {

// A key's control name and the caption on its face. The keyboard-entry key shows a symbol
// (drawn from the fixed-pitch face); the upright power key's spaces wrap its caption into "1"
// over "0".
struct KeyRow {
    Key key;
    QStringView name;
    QStringView caption;
};

constexpr std::array<KeyRow, kKeyCount> kKeys = {{
    {Key::Digit0, u"Command0", u"0"},
    {Key::Digit1, u"Command1", u"1"},
    {Key::Digit2, u"Command2", u"2"},
    {Key::Digit3, u"Command3", u"3"},
    {Key::Digit4, u"Command4", u"4"},
    {Key::Digit5, u"Command5", u"5"},
    {Key::Digit6, u"Command6", u"6"},
    {Key::Digit7, u"Command7", u"7"},
    {Key::Digit8, u"Command8", u"8"},
    {Key::Digit9, u"Command9", u"9"},
    {Key::DoubleZero, u"Btn00", u"00"},
    {Key::Point, u"CommandZ", u"."},
    {Key::Clear, u"CommandC", u"СБ"},
    {Key::Plus, u"CommandPlus", u"+"},
    {Key::Minus, u"CammandMinus", u"-"},
    {Key::Multiply, u"UMN", u"Х"},
    {Key::Divide, u"DEL", u"/"},
    {Key::Equals, u"CommandEnter", u"="},
    {Key::Enter, u"CommandVV", u"ВВ"},
    {Key::Return, u"VT", u"ВТ"},
    {Key::CashIn, u"NL", u"НЛ"},
    {Key::Percent, u"PROC", u"%"},
    {Key::KN, u"KN", u"КН"},
    {Key::KR, u"KR", u"КР"},
    {Key::KL, u"KL", u"КЛ"},
    {Key::KCH, u"KCH", u"КЧ"},
    {Key::KZ, u"KZ", u"КЗ"},
    {Key::CHL, u"CHL", u"\u2353"},
    {Key::FC, u"FC", u"ФЦ"},
    {Key::Dept1, u"Btn1D", u"1Д"},
    {Key::Dept2, u"Btn2V", u"2В"},
    {Key::Dept3, u"Btn3T", u"3Т"},
    {Key::Dept4, u"Btn4C", u"4С"},
    {Key::Power, u"VKL", u"  1  0"},
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

QStringView keyCaption(Key key) {
    return kKeys[std::size_t(key)].caption;
}

std::optional<Key> keyFromName(QStringView name) {
    for (const KeyRow& row : kKeys)
        if (row.name == name) return row.key;
    return std::nullopt;
}

} // namespace tarvel
