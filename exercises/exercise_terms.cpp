#include "exercises/exercise_terms.h"

#include <QRegularExpression>

namespace tarvel {
namespace {

// Longer than any lesson; a bigger number is a slip of the keyboard.
constexpr qint64 kMaxMinutes = 600;

struct TermsFault {
    int line = 0;
    QString what;
};

[[noreturn]] void fail(const toml::node& node, const QString& what) {
    throw TermsFault{int(node.source().begin.line), what};
}

// "10:00": minutes, a colon, two digits of seconds. Seconds alone ("600") read too easily as
// minutes, and minutes alone as seconds, so the colon is asked for.
qint64 timeLimitOf(const toml::node& node) {
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\d{1,4}):(\d\d)\s*$)"));
    const auto* value = node.as_string();
    if (!value)
        fail(node, QStringLiteral("«time_limit» пишется в кавычках: минуты и секунды, например "
                                  "\"10:00\""));
    const QString written = QString::fromUtf8(value->get().data(), qsizetype(value->get().size()));
    const QRegularExpressionMatch m = form.match(written);
    if (!m.hasMatch())
        fail(node, QStringLiteral("«%1» — не время: пишите минуты и секунды, например \"10:00\"")
                       .arg(written));
    const qint64 minutes = m.captured(1).toLongLong();
    const qint64 seconds = m.captured(2).toLongLong();
    if (seconds >= 60)
        fail(node, QStringLiteral("в «%1» секунд больше 59: пишите \"%2:%3\"")
                       .arg(written.trimmed())
                       .arg(minutes + seconds / 60)
                       .arg(seconds % 60, 2, 10, QLatin1Char('0')));
    const qint64 total = minutes * 60 + seconds;
    if (total == 0) fail(node, QStringLiteral("время на упражнение должно быть больше нуля"));
    if (total > kMaxMinutes * 60)
        fail(node,
             QStringLiteral("время на упражнение не больше %1:00 (10 часов)").arg(kMaxMinutes));
    return total * 1000;
}

bool examOf(const toml::node& node) {
    const auto* flag = node.as_boolean();
    if (!flag) fail(node, QStringLiteral("«exam» — это true или false"));
    return flag->get();
}

int passMarkOf(const toml::node& node, qsizetype items) {
    const auto* number = node.as_integer();
    if (!number)
        fail(node, QStringLiteral("«pass» пишется числом: сколько заданий должно быть выполнено "
                                  "верно"));
    if (number->get() < 1 || number->get() > items)
        fail(node, QStringLiteral("«pass» — от 1 до %1 (заданий в упражнении %1), а не %2")
                       .arg(items)
                       .arg(number->get()));
    return int(number->get());
}

} // namespace

TermsRead readTerms(const toml::table& root, qsizetype items) {
    TermsRead read;
    try {
        if (const toml::node* limit = root.get("time_limit"))
            read.terms.timeLimitMs = timeLimitOf(*limit);
        if (const toml::node* exam = root.get("exam")) read.terms.exam = examOf(*exam);
        if (const toml::node* pass = root.get("pass")) {
            if (!read.terms.exam)
                fail(*pass, QStringLiteral("«pass» бывает только у экзамена (exam = true)"));
            read.terms.passMark = passMarkOf(*pass, items);
        }
    } catch (const TermsFault& fault) {
        return {{}, fault.line, fault.what};
    }
    return read;
}

} // namespace tarvel
