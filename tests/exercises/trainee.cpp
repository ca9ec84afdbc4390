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

void work(RegisterRig& rig, const QString& keys, const QString& typed, KeyLogWriter* log) {
    qint64 ms = 0;
    for (const QString& caption : keys.split(u' ', Qt::SkipEmptyParts)) {
        KeyLogEntry entry;
        entry.ms = ms += 250;
        if (caption == u"⌨") {
            rig.reg->editHeader(0, rig.s().TxtCHL.text().size(), typed);
            entry.text = typed;
        } else {
            entry.key = keyOfCaption(caption);
            ASSERT_TRUE(entry.key) << "no key " << caption.toStdString();
            rig.reg->press(*entry.key);
        }
        if (log) {
            ASSERT_EQ(log->add(entry), QString());
        }
    }
}

} // namespace tarvel::test
