#include "support/fakes.h"

#include <algorithm>
#include <array>

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

// The captions of the keys, in the order of Key.
const std::array<QStringView, kKeyCount> kCaptions = {
    u"0",  u"1",  u"2",  u"3",   u"4",  u"5",  u"6",  u"7",  u"8",  u"9",  u"00", u".",
    u"СБ", u"+",  u"-",  u"Х",   u"/",  u"=",  u"ВВ", u"ВТ", u"НЛ", u"%",  u"КН", u"КР",
    u"КЛ", u"КЧ", u"КЗ", u"CHL", u"ФЦ", u"1Д", u"2В", u"3Т", u"4С", u"VKL"};

std::vector<Key> keysOf(const QString& captions) {
    std::vector<Key> keys;
    for (const QString& caption : captions.split(u' ', Qt::SkipEmptyParts)) {
        const auto* found = std::find(kCaptions.begin(), kCaptions.end(), caption);
        EXPECT_NE(found, kCaptions.end()) << "unknown key " << caption.toStdString();
        if (found != kCaptions.end()) keys.push_back(Key(found - kCaptions.begin()));
    }
    return keys;
}

void RegisterRig::press(const QString& keys) {
    for (const Key key : keysOf(keys))
        reg->press(key);
}

} // namespace tarvel::test
