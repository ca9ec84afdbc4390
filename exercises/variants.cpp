#include "exercises/variants.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <array>

namespace tarvel {

double registerTotal(const QList<ExpectedLine>& lines) {
    float total = 0;
    for (const ExpectedLine& line : lines)
        total = float(double(total) + double(line.amount) / 100);
    return total;
}

Kopecks banknoteFor(double total) {
    constexpr std::array<Kopecks, 7> kBanknotes = {50, 100, 200, 500, 1000, 2000, 5000};
    for (const Kopecks note : kBanknotes)
        if (double(note) >= total) return note * 100;
    Kopecks fives = 2;
    while (double(fives * 5000) < total)
        ++fives;
    return fives * 5000 * 100;
}

void putValues(ExerciseItem& item, const QHash<QString, Kopecks>& values) {
    for (const ValueUse& use : item.uses) {
        const Kopecks value = values.value(use.name);
        if (use.place == AmountPlace::Line) item.receipt.lines[use.index].amount = value;
        if (use.place == AmountPlace::Tender) item.receipt.tenders[use.index] = value;
        if (use.place == AmountPlace::Movement) item.amount = value;
        if (use.place == AmountPlace::ReportTotal) item.reportTotal = value;
    }
    if (item.receipt.banknote)
        item.receipt.tenders = {banknoteFor(registerTotal(item.receipt.lines))};
}

QString withValues(QString text, const QHash<QString, Kopecks>& values) {
    static const QRegularExpression name(QStringLiteral(R"(\{([A-Za-z_][A-Za-z0-9_]*)\})"));
    QString out;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& m : name.globalMatch(text)) {
        const auto value = values.constFind(m.captured(1));
        if (value == values.cend()) continue;
        out += QStringView(text).sliced(done, m.capturedStart() - done);
        out += formatMoney(*value);
        done = m.capturedEnd();
    }
    out += QStringView(text).sliced(done);
    return out;
}

Exercise drawVariant(Exercise exercise, quint32 seed) {
    QRandomGenerator generator(seed);
    QHash<QString, Kopecks> drawn;
    for (const ValueRange& range : exercise.values) {
        const auto steps = quint32((range.to - range.from) / range.step + 1);
        drawn.insert(range.name, range.from + range.step * Kopecks(generator.bounded(steps)));
    }
    for (ExerciseItem& item : exercise.items)
        putValues(item, drawn);
    exercise.task = withValues(exercise.task, drawn);
    exercise.seed = seed;
    return exercise;
}

Exercise exerciseForRun(Exercise exercise, std::optional<quint32> seed) {
    if (exercise.values.isEmpty()) {
        exercise.seed.reset();
        return exercise;
    }
    return drawVariant(std::move(exercise), seed ? *seed : QRandomGenerator::system()->generate());
}

} // namespace tarvel
