#include "support/fakes.h"

#include "storage/codepage.h"

#include <QFile>
#include <gtest/gtest.h>
#include <functional>

namespace tarvel::test {

QStringList RecordingMessages::texts() const {
    QStringList out;
    for (const auto& m : shown) out << m.text;
    return out;
}

bool RecordingPrinter::record(const QString& call) {
    calls << (failing ? QStringLiteral("FAILED ") + call : call);
    return !failing;
}
std::optional<float> RecordingPrinter::printableWidth() {
    if (!record(QStringLiteral("width"))) return std::nullopt;
    return width;
}
std::optional<float> RecordingPrinter::printableHeight() {
    if (!record(QStringLiteral("height"))) return std::nullopt;
    return height;
}
bool RecordingPrinter::setFontSize(float p) { return record(QStringLiteral("font %1").arg(p)); }
bool RecordingPrinter::setCurrentX(float x) { return record(QStringLiteral("x %1").arg(x)); }
bool RecordingPrinter::setCurrentY(float y) { return record(QStringLiteral("y %1").arg(y)); }
bool RecordingPrinter::printStay(const QString& t) { return record(QStringLiteral("stay ") + t); }
bool RecordingPrinter::printNextZone(const QString& t) {
    return record(QStringLiteral("zone ") + t);
}
bool RecordingPrinter::printEndLine(const QString& t) {
    return record(QStringLiteral("endline ") + t);
}
bool RecordingPrinter::finishPrintout() { return record(QStringLiteral("finish")); }
bool RecordingPrinter::closeJob() { return record(QStringLiteral("close")); }

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

void FakeGoodsWindow::show() {
    calls << QStringLiteral("show");
    loaded = shown = true;
}
void FakeGoodsWindow::hide() {
    calls << QStringLiteral("hide");
    loaded = true;
    shown = false;
}
void FakeGoodsWindow::unload() {
    calls << QStringLiteral("unload");
    loaded = shown = false;
}

TempDataDir::TempDataDir() { EXPECT_TRUE(dir_.isValid()); }

void TempDataDir::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    f.write(bytes);
}

void TempDataDir::writeText(const QString& name, const QString& text) const {
    writeBytes(name, encodeWindows1251(text).bytes);
}

QByteArray TempDataDir::readBytes(const QString& name) const {
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QString TempDataDir::readText(const QString& name) const {
    return decodeWindows1251(readBytes(name));
}

void TempDataDir::remove(const QString& name) const { QFile::remove(path(name)); }

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
    using Op = std::function<void(CashRegister&)>;
    static const QMap<QString, Op> ops = {
        {QStringLiteral("00"), [](CashRegister& r) { r.Btn00_Click(); }},
        {QStringLiteral("."), [](CashRegister& r) { r.CommandZ_Click(); }},
        {QStringLiteral("СБ"), [](CashRegister& r) { r.CommandC_Click(); }},
        {QStringLiteral("+"), [](CashRegister& r) { r.CommandPlus_Click(); }},
        {QStringLiteral("-"), [](CashRegister& r) { r.CammandMinus_Click(); }},
        {QStringLiteral("Х"), [](CashRegister& r) { r.UMN_Click(); }},
        {QStringLiteral("/"), [](CashRegister& r) { r.DEL_Click(); }},
        {QStringLiteral("="), [](CashRegister& r) { r.CommandEnter_Click(); }},
        {QStringLiteral("ВВ"), [](CashRegister& r) { r.CommandVV_Click(); }},
        {QStringLiteral("НЛ"), [](CashRegister& r) { r.NL_Click(); }},
        {QStringLiteral("ВТ"), [](CashRegister& r) { r.VT_Click(); }},
        {QStringLiteral("%"), [](CashRegister& r) { r.PROC_Click(); }},
        {QStringLiteral("1Д"), [](CashRegister& r) { r.Btn1D_Click(); }},
        {QStringLiteral("2В"), [](CashRegister& r) { r.Btn2V_Click(); }},
        {QStringLiteral("3Т"), [](CashRegister& r) { r.Btn3T_Click(); }},
        {QStringLiteral("4С"), [](CashRegister& r) { r.Btn4C_Click(); }},
        {QStringLiteral("КН"), [](CashRegister& r) { r.KN_Click(); }},
        {QStringLiteral("КР"), [](CashRegister& r) { r.KR_Click(); }},
        {QStringLiteral("КЛ"), [](CashRegister& r) { r.KL_Click(); }},
        {QStringLiteral("КЧ"), [](CashRegister& r) { r.KCH_Click(); }},
        {QStringLiteral("КЗ"), [](CashRegister& r) { r.KZ_Click(); }},
        {QStringLiteral("CHL"), [](CashRegister& r) { r.CHL_Click(); }},
        {QStringLiteral("ФЦ"), [](CashRegister& r) { r.FC_Click(); }},
    };
    for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (key.size() == 1 && key[0].isDigit()) {
            reg->DigitClick(key);
            continue;
        }
        const auto it = ops.find(key);
        ASSERT_NE(it, ops.end()) << "unknown key " << key.toStdString();
        (*it)(*reg);
    }
}

} // namespace tarvel::test
