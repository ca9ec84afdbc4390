#include "trainee.h"

#include <QMap>

namespace tarvel::test {

std::optional<Key> keyOfCaption(QStringView caption) {
    static const QMap<QString, Key> keys = {
        {"00", Key::DoubleZero}, {".", Key::Point},    {"СБ", Key::Clear},  {"+", Key::Plus},
        {"-", Key::Minus},       {"Х", Key::Multiply}, {"/", Key::Divide},  {"=", Key::Equals},
        {"ВВ", Key::Enter},      {"ВТ", Key::Return},  {"НЛ", Key::CashIn}, {"%", Key::Percent},
        {"КН", Key::KN},         {"КР", Key::KR},      {"КЛ", Key::KL},     {"КЧ", Key::KCH},
        {"КЗ", Key::KZ},         {"CHL", Key::CHL},    {"ФЦ", Key::FC},     {"1Д", Key::Dept1},
        {"2В", Key::Dept2},      {"3Т", Key::Dept3},   {"4С", Key::Dept4},
    };
    if (caption.size() == 1 && caption[0].isDigit()) return digitKey(caption[0].digitValue());
    const auto it = keys.find(caption.toString());
    return it == keys.end() ? std::nullopt : std::optional(*it);
}

void pressKey(CashRegister& reg, RegisterEvents* watcher, Key key) {
    using C = CashRegister;
    static const QMap<Key, void (C::*)()> operations = {
        {Key::DoubleZero, &C::Btn00_Click},
        {Key::Point, &C::CommandZ_Click},
        {Key::Clear, &C::CommandC_Click},
        {Key::Plus, &C::CommandPlus_Click},
        {Key::Minus, &C::CammandMinus_Click},
        {Key::Multiply, &C::UMN_Click},
        {Key::Divide, &C::DEL_Click},
        {Key::Equals, &C::CommandEnter_Click},
        {Key::Enter, &C::CommandVV_Click},
        {Key::Return, &C::VT_Click},
        {Key::CashIn, &C::NL_Click},
        {Key::Percent, &C::PROC_Click},
        {Key::KN, &C::KN_Click},
        {Key::KR, &C::KR_Click},
        {Key::KL, &C::KL_Click},
        {Key::KCH, &C::KCH_Click},
        {Key::KZ, &C::KZ_Click},
        {Key::CHL, &C::CHL_Click},
        {Key::FC, &C::FC_Click},
        {Key::Dept1, &C::Btn1D_Click},
        {Key::Dept2, &C::Btn2V_Click},
        {Key::Dept3, &C::Btn3T_Click},
        {Key::Dept4, &C::Btn4C_Click},
        {Key::Power, &C::VKL_Click},
    };
    if (watcher) watcher->keyPressed(key);
    if (int(key) <= int(Key::Digit9))
        reg.DigitClick(QString::number(int(key) - int(Key::Digit0)));
    else
        (reg.*operations.value(key))();
}

void work(RegisterRig& rig, RegisterEvents* watcher, const QString& keys, const QString& typed,
          KeyLogWriter* log) {
    qint64 ms = 0;
    for (const QString& caption : keys.split(u' ', Qt::SkipEmptyParts)) {
        KeyLogEntry entry;
        entry.ms = ms += 250;
        if (caption == u"⌨") {
            rig.s().TxtCHL.adoptViewText(typed);
            entry.text = typed;
        } else {
            entry.key = keyOfCaption(caption);
            ASSERT_TRUE(entry.key) << "no key " << caption.toStdString();
            pressKey(*rig.reg, watcher, *entry.key);
        }
        if (log) {
            ASSERT_EQ(log->add(entry), QString());
        }
    }
}

} // namespace tarvel::test
