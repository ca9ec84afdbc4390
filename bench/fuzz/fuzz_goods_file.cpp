// spravoch.txt as any text editor may leave it: split into entries, its first field read as
// the starting position, and the entries sorted into the directory list.

#include "fuzz_check.h"
#include "goods/goods_list.h"
#include "numbers/numbers.h"
#include "storage/codepage.h"

#include <cmath>
#include <cstdint>

using namespace tarvel;

namespace {

// Case-insensitive order and upper case without a locale: the list's rules, not the locale's,
// are under test here.
struct PlainRegional : RegionalSettings {
    QChar separator = QLatin1Char('.');
    QChar decimalSeparator() const override { return separator; }
    QString shortDate(QDate d) const override { return d.toString(u"dd.MM.yyyy"); }
    QString longTime(QTime t) const override { return t.toString(u"HH:mm:ss"); }
    QString toUpper(const QString& text) const override { return text.toUpper(); }
    int compareNoCase(const QString& a, const QString& b) const override {
        return a.compare(b, Qt::CaseInsensitive);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        decodeWindows1251(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)))
            .value_or(QString());

    // The entries are the file cut at its CR LF pairs, nothing lost and nothing added.
    const QList<QString> entries = splitGoodsEntries(text);
    FUZZ_CHECK(entries.isEmpty() == text.isEmpty());
    FUZZ_CHECK(entries.join(QStringLiteral("\r\n")) == text);
    for (const QString& entry : entries)
        FUZZ_CHECK(!entry.contains(QStringLiteral("\r\n")));

    // The first field is a piece of the file's first line (or of a quoted run).
    const QString field = readFirstField(text);
    FUZZ_CHECK(text.contains(field));
    if (!text.trimmed().startsWith(u'"')) {
        FUZZ_CHECK(!field.contains(u',') && !field.contains(u'\r') && !field.contains(u'\n'));
    }

    PlainRegional regional;
    for (const QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        regional.separator = separator;
        if (const auto number = readWholeNumber(field, separator))
            FUZZ_CHECK(std::isfinite(*number));
        const auto position = startPosition(field, entries.size(), separator);
        if (position) FUZZ_CHECK(*position >= 0 && *position < entries.size());
    }

    // The list holds every entry once, in order.
    GoodsList list(regional);
    list.addAll(entries);
    FUZZ_CHECK(list.count() == entries.size());
    for (qsizetype i = 1; i < list.count(); ++i)
        FUZZ_CHECK(regional.compareNoCase(list.at(i - 1), list.at(i)) <= 0);
    if (const auto position = startPosition(field, list.count(), regional.separator)) {
        list.select(*position);
        FUZZ_CHECK(list.selected() == *position);
    }
    list.search(field);
    FUZZ_CHECK(list.selected() >= -1 && list.selected() < list.count());
    return 0;
}
