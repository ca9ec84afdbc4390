#include "exercises/exercise_amounts.h"

#include "exercises/variants.h"

#include <QRegularExpression>
#include <algorithm>

namespace tarvel {
namespace {

// The register shows amounts with at most 7 significant digits: 12345.67 keeps its kopecks,
// 123456.78 would be rung up as 123456.8 and never match.
constexpr int kMaxDigits = 7;
// Values with kopecks stay within 7 digits below this many kopecks (99999.99).
constexpr Kopecks kMostWithKopecks = 10'000'000;
// A receipt's tenders are checked against every variant it can get, up to this many; beyond,
// against the lowest and the highest amounts alone (where a fixed tender goes wrong first).
constexpr qint64 kMostVariantsChecked = 20'000;

const QRegularExpression& valueName() {
    static const QRegularExpression name(QStringLiteral(R"(^[A-Za-z_][A-Za-z0-9_]*$)"));
    return name;
}

// "{a}": the name of a value written in place of an amount; empty for anything else.
QString usedName(const toml::node& node) {
    static const QRegularExpression use(QStringLiteral(R"(^\s*\{([A-Za-z_][A-Za-z0-9_]*)\}\s*$)"));
    const auto* string = node.as_string();
    return string ? use.match(tomlText(string->get())).captured(1) : QString();
}

const toml::node& requiredKey(const toml::table& table, std::string_view key, const QString& what) {
    const toml::node* node = table.get(key);
    if (!node) failAt(table.source(), QStringLiteral("нет ключа %1 (%2)").arg(quoted(key), what));
    return *node;
}

ValueRange rangeOf(const QString& name, const toml::node& node) {
    const toml::table* table = node.as_table();
    if (!table)
        failAt(node.source(), QStringLiteral("значение «%1» пишется так: { from = \"10.00\", to = "
                                             "\"99.50\", step = \"0.50\" }")
                                  .arg(name));
    for (auto&& [key, value] : *table)
        if (key != "from" && key != "to" && key != "step")
            failAt(key.source(), QStringLiteral("неизвестный ключ %1").arg(quoted(key.str())));
    const ValueRange range{
        name, moneyOf(requiredKey(*table, "from", QStringLiteral("наименьшая сумма"))),
        moneyOf(requiredKey(*table, "to", QStringLiteral("наибольшая сумма"))),
        moneyOf(requiredKey(*table, "step", QStringLiteral("шаг, например \"0.50\"")))};
    if (range.from > range.to)
        failAt(node.source(), QStringLiteral("у значения «%1» from %2 больше to %3")
                                  .arg(name, formatMoney(range.from), formatMoney(range.to)));
    if ((range.to - range.from) % range.step != 0)
        failAt(node.source(), QStringLiteral("у значения «%1» от %2 до %3 не целое число шагов "
                                             "по %4")
                                  .arg(name, formatMoney(range.from), formatMoney(range.to),
                                       formatMoney(range.step)));
    if ((range.from % 100 != 0 || range.step % 100 != 0) && range.to >= kMostWithKopecks)
        failAt(node.source(), QStringLiteral("у значения «%1» суммы с копейками длиннее, чем "
                                             "показывает касса: to не больше 99999.99")
                                  .arg(name));
    return range;
}

// The receipt's tenders against its total: each but the last must be short (the register says
// " МАЛО ДЕНЕГ!  " and waits); the last must cover the total as the register keeps it, or the
// receipt could never close. `variant` names the values that give this total.
void checkOne(const toml::node& node, const ExpectedReceipt& receipt, const QString& variant) {
    const double total = registerTotal(receipt.lines);
    const QString shown = formatMoney(toKopecks(total));
    const QList<Kopecks>& tenders = receipt.tenders;
    for (qsizetype i = 0; i + 1 < tenders.size(); ++i) {
        if (double(tenders[i]) / 100 >= total)
            failAt(node.source(), variant + QStringLiteral("внесено %1 при итоге %2: чек закрылся "
                                                           "бы уже на этой сумме")
                                                .arg(formatMoney(tenders[i]), shown));
    }
    if (double(tenders.last()) / 100 >= total) return;
    if (tenders.last() == toKopecks(total))
        failAt(node.source(),
               variant + QStringLiteral("касса хранит итог %1 чуть больше этих цифр, и ровно %1 "
                                        "она сочтёт за «МАЛО ДЕНЕГ!»: внесите больше")
                             .arg(shown));
    failAt(node.source(), variant + QStringLiteral("внесено %1 меньше итога %2: касса ответит "
                                                   "«МАЛО ДЕНЕГ!»")
                                        .arg(formatMoney(tenders.last()), shown));
}

} // namespace

[[noreturn]] void failAt(const toml::source_region& where, const QString& what) {
    throw ExerciseFileFault{int(where.begin.line), what};
}

QString tomlText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QString quoted(std::string_view utf8) {
    return QStringLiteral("«%1»").arg(tomlText(utf8));
}

Kopecks moneyOf(const toml::node& node) {
    static const QRegularExpression form(QStringLiteral(R"(^\s*(-?)(\d+)(?:[.,](\d{1,2}))?\s*$)"));
    QString written;
    if (const auto* integer = node.as_integer())
        written = QString::number(integer->get());
    else if (const auto* string = node.as_string())
        written = tomlText(string->get());
    else
        failAt(node.source(), QStringLiteral("сумма пишется в кавычках, например \"78.90\""));
    const QRegularExpressionMatch m = form.match(written);
    if (!m.hasMatch())
        failAt(node.source(),
               QStringLiteral("«%1» — не сумма: пишите, например, \"78.90\"").arg(written));
    if (!m.captured(1).isEmpty())
        failAt(node.source(), QStringLiteral("сумма %1 отрицательная").arg(written.trimmed()));
    const QString whole = m.captured(2).remove(QRegularExpression(QStringLiteral("^0+")));
    const QString part = m.captured(3).leftJustified(2, QLatin1Char('0'));
    QString digits = whole + part;
    while (digits.endsWith(QLatin1Char('0')) && digits.size() > whole.size())
        digits.chop(1);
    if (digits.size() > kMaxDigits)
        failAt(node.source(), QStringLiteral("сумма %1 длиннее, чем показывает касса (не больше "
                                             "%2 цифр)")
                                  .arg(written.trimmed())
                                  .arg(kMaxDigits));
    const Kopecks amount = (whole + part).toLongLong();
    if (amount == 0) failAt(node.source(), QStringLiteral("сумма должна быть больше нуля"));
    return amount;
}

QList<ValueRange> valuesOf(const toml::table& root) {
    const toml::node* node = root.get("values");
    if (!node) return {};
    const toml::table* table = node->as_table();
    if (!table) failAt(node->source(), QStringLiteral("«values» — это таблица: пишите [values]"));
    // toml++ keeps a table's keys sorted; the draw goes in the order the file writes them.
    QList<std::pair<toml::source_position, ValueRange>> ranges;
    for (auto&& [key, value] : *table) {
        const QString name = tomlText(key.str());
        if (!valueName().match(name).hasMatch())
            failAt(key.source(), QStringLiteral("имя значения «%1» — латинские буквы, цифры и «_», "
                                                "первой буквой")
                                     .arg(name));
        ranges.append({key.source().begin, rangeOf(name, value)});
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<ValueRange> out;
    for (const auto& [where, range] : ranges)
        out << range;
    return out;
}

Kopecks AmountReader::read(const toml::node& node, ExerciseItem& item, AmountPlace place,
                           qsizetype index) const {
    const QString name = usedName(node);
    if (name.isEmpty()) return moneyOf(node);
    const auto range = std::find_if(values_.begin(), values_.end(),
                                    [&](const ValueRange& r) { return r.name == name; });
    if (range == values_.end())
        failAt(node.source(), QStringLiteral("значения «%1» нет в [values]").arg(name));
    item.uses << ValueUse{place, index, name};
    return range->from;
}

void AmountReader::readTenders(const toml::node& node, ExerciseItem& item) const {
    ExpectedReceipt& receipt = item.receipt;
    if (const auto* word = node.as_string(); word && word->get() == "banknote") {
        // It covers any total by its making: nothing to check.
        receipt.banknote = true;
        receipt.tenders = {banknoteFor(registerTotal(receipt.lines))};
        return;
    }
    if (const toml::array* array = node.as_array()) {
        for (const toml::node& tender : *array)
            receipt.tenders << read(tender, item, AmountPlace::Tender, receipt.tenders.size());
    } else {
        receipt.tenders << read(node, item, AmountPlace::Tender);
    }
    if (receipt.tenders.isEmpty()) failAt(node.source(), QStringLiteral("«tendered» пуст"));
    checkTenders(node, item);
}

// Every variant the receipt can get, while there are not too many: with the customer paying
// exactly a drawn amount, some amounts are kept a little above their digits and others not.
void AmountReader::checkTenders(const toml::node& node, const ExerciseItem& item) const {
    QList<ValueRange> used;
    qint64 variants = 1;
    for (const ValueRange& range : values_) {
        if (std::none_of(item.uses.begin(), item.uses.end(),
                         [&](const ValueUse& use) { return use.name == range.name; }))
            continue;
        used << range;
        variants = std::min(variants * ((range.to - range.from) / range.step + 1),
                            kMostVariantsChecked + 1);
    }
    const bool every = variants <= kMostVariantsChecked;
    QList<qint64> at(used.size(), 0); // the step each value is at
    for (qint64 n = 0; n < (every ? variants : 2); ++n) {
        QHash<QString, Kopecks> values;
        QStringList named;
        for (qsizetype k = 0; k < used.size(); ++k) {
            const ValueRange& r = used[k];
            const Kopecks value = every ? r.from + r.step * at[k] : (n == 0 ? r.from : r.to);
            values.insert(r.name, value);
            named << QStringLiteral("%1 = %2").arg(r.name, formatMoney(value));
        }
        ExerciseItem variant = item;
        putValues(variant, values);
        checkOne(node, variant.receipt,
                 named.isEmpty() ? QString() : QStringLiteral("при %1: ").arg(named.join(", ")));
        for (qsizetype k = 0; k < used.size() && ++at[k] * used[k].step > used[k].to - used[k].from;
             ++k)
            at[k] = 0;
    }
}

void AmountReader::checkNames(const toml::node& node) const {
    static const QRegularExpression use(QStringLiteral(R"(\{([A-Za-z_][A-Za-z0-9_]*)\})"));
    const auto* string = node.as_string();
    if (!string) return;
    for (const QRegularExpressionMatch& m : use.globalMatch(tomlText(string->get()))) {
        if (std::none_of(values_.begin(), values_.end(),
                         [&](const ValueRange& r) { return r.name == m.captured(1); }))
            failAt(
                node.source(),
                QStringLiteral("в тексте {%1}, а значения «%1» нет в [values]").arg(m.captured(1)));
    }
}

} // namespace tarvel
