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

namespace {

// One page of paper as a grid of character cells.
class Page {
  public:
    Page(float width, float height) : cellWidth_(width / 100), cellHeight_(height / 50) {}
    void moveToX(float x) { column_ = qRound(x / cellWidth_); }
    void moveToY(float y) { row_ = qRound(y / cellHeight_); }
    void print(const QString& text) {
        char32_t before = 0;
        for (const char32_t c : text.toUcs4()) {
            const bool pairedLf = c == U'\n' && before == U'\r';
            before = c;
            if (c == U'\r' || c == U'\n') {
                if (!pairedLf) newLine();
                continue;
            }
            while (rows_.size() <= row_)
                rows_.append(std::u32string());
            std::u32string& line = rows_[row_];
            if (line.size() <= std::size_t(column_)) line.resize(std::size_t(column_) + 1, U' ');
            line[std::size_t(column_++)] = c;
        }
    }
    void nextZone() {
        column_ = (column_ / kZone + 1) * kZone;
        if (column_ >= 100) newLine();
    }
    void newLine() { ++row_, column_ = 0; }
    QStringList rows() const {
        QStringList out;
        for (const std::u32string& line : rows_)
            out << QString::fromUcs4(line.data(), qsizetype(line.size()));
        return out;
    }

  private:
    static constexpr int kZone = 14;
    float cellWidth_, cellHeight_;
    int column_ = 0;
    qsizetype row_ = 0;
    QList<std::u32string> rows_;
};

} // namespace

QList<QStringList> RecordingPrinter::pages() const {
    QList<QStringList> out;
    Page page(width, height);
    for (const QString& call : calls) {
        const QString text = call.mid(call.indexOf(u' ') + 1);
        if (call.startsWith(u"x ")) page.moveToX(text.toFloat());
        if (call.startsWith(u"y ")) page.moveToY(text.toFloat());
        if (call.startsWith(u"stay ")) page.print(text);
        if (call.startsWith(u"zone ")) page.print(text), page.nextZone();
        if (call.startsWith(u"endline ")) page.print(text), page.newLine();
        if (call == u"finish") out << page.rows(), page = Page(width, height);
    }
    return out;
}

void writeDefaults(const TempDataDir& files) {
    files.writeText(kHeaderFileName, kDefaultHeader);
    files.writeBytes(kJournalFileName, {});
}

RegisterRig::RegisterRig(QChar separator, bool load) {
    regional.separator = separator;
    writeDefaults(files);
    restart(load);
}

void RegisterRig::restart(bool load) {
    reg = std::make_unique<CashRegister>(
        Services{clock, regional, printer, programEnd, files.dataDir()});
    reg->setGoodsWindow(&goods);
    reg->addListener(notices);
    if (load) reg->start();
}

std::vector<Key> keysOf(const QString& captions) {
    std::vector<Key> keys;
    for (const QString& caption : captions.split(u' ', Qt::SkipEmptyParts)) {
        const auto& all = allKeys();
        const auto* found = std::find_if(all.begin(), all.end(),
                                         [&](Key key) { return keyCaption(key) == caption; });
        const std::optional<Key> named = keyFromName(caption); // "CommandVV", "CHL", "VKL"
        EXPECT_TRUE(found != all.end() || named) << "unknown key " << caption.toStdString();
        if (found != all.end())
            keys.push_back(*found);
        else if (named)
            keys.push_back(*named);
    }
    return keys;
}

void RegisterRig::press(const QString& keys) {
    for (const Key key : keysOf(keys))
        reg->press(key);
}

} // namespace tarvel::test
