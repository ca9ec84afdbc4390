#include "support/fakes.h"

namespace tarvel::test {

QString RecordingPrinter::paperText() const {
    QString out;
    for (const QString& call : calls) {
        const QString text = call.mid(call.indexOf(u' ') + 1);
        if (call.startsWith(u"stay ")) out += text;
        if (call.startsWith(u"zone ")) out += text + u'\t';
        if (call.startsWith(u"endline ")) out += text + u'\r';
    }
    return out.replace(u'\r', u'\n');
}

void TempDataDir::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name)); // opened for writing alone, the file is truncated
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
        << name.toStdString();
}

QByteArray TempDataDir::readBytes(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        const bool digit = key.size() == 1 && key[0].isDigit();
        ASSERT_TRUE(digit || ops.contains(key)) << "unknown key " << key.toStdString();
        digit ? reg->DigitClick(key) : (reg.get()->*ops.value(key))();
    }
}

} // namespace tarvel::test
