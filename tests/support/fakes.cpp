#include "support/fakes.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tarvel::test {

QString RecordingPrinter::paperText() const {
    QString out;
    for (const QString& c : calls) {
        if (c.startsWith(QLatin1String("stay ")))
            out += c.mid(5);
        else if (c.startsWith(QLatin1String("zone ")))
            out += c.mid(5) + QLatin1Char('\t');
        else if (c.startsWith(QLatin1String("endline ")))
            out += c.mid(8) + QLatin1Char('\r');
    }
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void TempDataDir::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    f.write(bytes);
}

QByteArray TempDataDir::readBytes(const QString& name) const {
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void TempDataDir::writeDefaults() const {
    writeText(kHeaderFileName, kDefaultHeader);
    writeBytes(kJournalFileName, {});
}

RegisterRig::RegisterRig(QChar separator, bool load) {
    regional.separator = separator;
    files.writeDefaults();
    restart(load);
}

void RegisterRig::restart(bool load) {
    reg = std::make_unique<CashRegister>(
        Services{clock, regional, messages, printer, programEnd, files.dataDir()});
    reg->setGoodsWindow(&goods);
    if (load) reg->Form_Load();
}

void RegisterRig::press(const QString& keys) {
    using C = CashRegister;
    static const QMap<QString, void (C::*)()> ops = {
        {"00", &C::Btn00_Click},      {".", &C::CommandZ_Click},     {"СБ", &C::CommandC_Click},
        {"+", &C::CommandPlus_Click}, {"-", &C::CammandMinus_Click}, {"Х", &C::UMN_Click},
        {"/", &C::DEL_Click},         {"=", &C::CommandEnter_Click}, {"ВВ", &C::CommandVV_Click},
        {"НЛ", &C::NL_Click},         {"ВТ", &C::VT_Click},          {"%", &C::PROC_Click},
        {"1Д", &C::Btn1D_Click},      {"2В", &C::Btn2V_Click},       {"3Т", &C::Btn3T_Click},
        {"4С", &C::Btn4C_Click},      {"КН", &C::KN_Click},          {"КР", &C::KR_Click},
        {"КЛ", &C::KL_Click},         {"КЧ", &C::KCH_Click},         {"КЗ", &C::KZ_Click},
        {"CHL", &C::CHL_Click},       {"ФЦ", &C::FC_Click}};
    for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (key.size() == 1 && key[0].isDigit()) {
            reg->DigitClick(key);
            continue;
        }
        const auto it = ops.find(key);
        ASSERT_NE(it, ops.end()) << "unknown key " << key.toStdString();
        (reg.get()->*it.value())();
    }
}

} // namespace tarvel::test
