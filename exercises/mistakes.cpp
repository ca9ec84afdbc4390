#include "exercises/mistakes.h"

#include <array>

namespace tarvel {
namespace {

// Each name once, none holding ", " or " (": the summary is split on them.
const std::array<const char16_t*, kMistakeKinds> kNames = {
    u"не тот отдел",       u"не та сумма",
    u"нет строки",         u"лишняя строка",
    u"возврат не отмечен", u"лишний возврат",
    u"не та оплата",       u"не та сдача",
    u"чек не закрыт",      u"мало денег",
    u"отчёт не снят",      u"не тот отчёт",
    u"не то клише",        u"ошибка внесения/инкассации",
    u"чек не отменён",     u"лишняя работа",
    u"не выполнено",       u"другое",
};

const QString kSeparator = QStringLiteral(", ");

MistakeTally tallyOf(const std::array<int, kMistakeKinds>& counts) {
    MistakeTally out;
    for (int k = 0; k < kMistakeKinds; ++k)
        if (counts[k] > 0) out << MistakeCount{MistakeKind(k), counts[k]};
    return out;
}

// "не тот отдел (2)" is the name and 2; "не тот отдел" is the name once.
std::pair<QStringView, int> nameAndCount(QStringView entry) {
    const qsizetype open = entry.lastIndexOf(u" (");
    if (open < 0 || !entry.endsWith(u')')) return {entry, 1};
    bool ok = false;
    const int count = entry.sliced(open + 2, entry.size() - open - 3).toInt(&ok);
    if (!ok || count < 1) return {entry, 1};
    return {entry.first(open), count};
}

} // namespace

QString mistakeName(MistakeKind kind) {
    return QString::fromUtf16(kNames[std::size_t(kind)]);
}

std::optional<MistakeKind> mistakeByName(QStringView name) {
    for (int k = 0; k < kMistakeKinds; ++k)
        if (name == QStringView(kNames[k])) return MistakeKind(k);
    return std::nullopt;
}

MistakeTally tallyMistakes(const QList<MistakeKind>& kinds) {
    std::array<int, kMistakeKinds> counts{};
    for (MistakeKind kind : kinds)
        ++counts[std::size_t(kind)];
    return tallyOf(counts);
}

QString mistakeSummary(const MistakeTally& tally) {
    QStringList out;
    for (const MistakeCount& m : tally)
        out << (m.count == 1 ? mistakeName(m.kind)
                             : QStringLiteral("%1 (%2)").arg(mistakeName(m.kind)).arg(m.count));
    return out.join(kSeparator);
}

MistakeTally parseMistakeSummary(QStringView text) {
    std::array<int, kMistakeKinds> counts{};
    for (QStringView entry : text.split(kSeparator, Qt::SkipEmptyParts)) {
        if (entry.trimmed().isEmpty()) continue;
        const auto [name, count] = nameAndCount(entry.trimmed());
        counts[std::size_t(mistakeByName(name).value_or(MistakeKind::Other))] += count;
    }
    return tallyOf(counts);
}

} // namespace tarvel
