#include "exercises/exercise_file.h"

#include "exercises/exercise_amounts.h"
#include "exercises/exercise_terms.h"
#include "exercises/toml_outline.h"
#include "register/file_messages.h"

#include "storage/text_files.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <toml++/toml.h>

namespace tarvel {
namespace {

// Bigger than any exercise an instructor writes by hand; a bigger file is some other file.
constexpr qsizetype kMaxFileSize = 1024 * 1024;
// Real exercises go 4 deep ([[receipt.line]] and its keys); far deeper is no exercise, and
// some tens of thousands would crash the parser.
constexpr int kMaxDepth = 64;

using Fault = ExerciseFileFault;

[[noreturn]] void fail(const toml::source_region& where, const QString& what) {
    failAt(where, what);
}

QString text(std::string_view utf8) {
    return tomlText(utf8);
}

void allowOnly(const toml::table& table, std::initializer_list<std::string_view> keys) {
    for (auto&& [key, value] : table) {
        if (std::find(keys.begin(), keys.end(), key.str()) == keys.end())
            fail(key.source(), QStringLiteral("неизвестный ключ %1").arg(quoted(key.str())));
    }
}

const toml::node& required(const toml::table& table, std::string_view key, const QString& what) {
    const toml::node* node = table.get(key);
    if (!node) fail(table.source(), QStringLiteral("нет ключа %1 (%2)").arg(quoted(key), what));
    return *node;
}

QString requiredText(const toml::table& table, std::string_view key, const QString& what) {
    const toml::node& node = required(table, key, what);
    const auto* value = node.as_string();
    if (!value) fail(node.source(), QStringLiteral("%1 пишется в кавычках").arg(quoted(key)));
    const QString result = text(value->get()).trimmed();
    if (result.isEmpty()) fail(node.source(), QStringLiteral("%1 пусто").arg(quoted(key)));
    return result;
}

ExpectedLine lineOf(const toml::table& table, const AmountReader& amounts, ExerciseItem& item) {
    allowOnly(table, {"department", "amount", "return"});
    ExpectedLine line;
    const toml::node& department = required(table, "department", QStringLiteral("отдел от 1 до 8"));
    const auto* number = department.as_integer();
    if (!number) fail(department.source(), QStringLiteral("отдел пишется числом от 1 до 8"));
    if (number->get() < 1 || number->get() > 8)
        fail(department.source(),
             QStringLiteral("отдела %1 нет: отделы с 1 по 8").arg(number->get()));
    line.department = int(number->get());
    line.amount = amounts.read(required(table, "amount", QStringLiteral("сумма строки")), item,
                               AmountPlace::Line, item.receipt.lines.size());
    if (const toml::node* mark = table.get("return")) {
        const auto* flag = mark->as_boolean();
        if (!flag) fail(mark->source(), QStringLiteral("«return» — это true или false"));
        line.isReturn = flag->get();
    }
    return line;
}

const toml::array& tablesOf(const toml::node& node, std::string_view key) {
    const toml::array* array = node.as_array();
    if (!array || (!array->empty() && !array->is_array_of_tables()))
        fail(node.source(),
             QStringLiteral("%1 — это список: пишите [[%2]]").arg(quoted(key), text(key)));
    return *array;
}

Payment paymentOf(const toml::table& table) {
    const QString close = requiredText(table, "close", QStringLiteral("plain, cash или card"));
    for (Payment payment : {Payment::None, Payment::Cash, Payment::Card})
        if (close == closeWord(payment)) return payment;
    fail(table.get("close")->source(),
         QStringLiteral("способ закрытия «%1» неизвестен: plain, cash или card").arg(close));
}

ExerciseItem receiptOf(const toml::table& table, const AmountReader& amounts) {
    allowOnly(table, {"line", "close", "tendered"});
    ExerciseItem item;
    const toml::array& lines =
        tablesOf(required(table, "line", QStringLiteral("строки чека")), "line");
    if (lines.empty()) fail(table.source(), QStringLiteral("в чеке нет ни одной строки"));
    for (const toml::node& line : lines)
        item.receipt.lines << lineOf(*line.as_table(), amounts, item);
    item.receipt.payment = paymentOf(table);
    const toml::node* tendered = table.get("tendered");
    if (item.receipt.payment == Payment::Cash) {
        if (!tendered)
            fail(table.source(), QStringLiteral("нет ключа «tendered»: сколько денег внесено"));
        amounts.readTenders(*tendered, item);
    } else if (tendered) {
        fail(tendered->source(),
             QStringLiteral("«tendered» бывает только при оплате наличными (close = \"cash\")"));
    }
    return item;
}

ExerciseItem movementOf(const toml::table& table, ItemKind kind, const AmountReader& amounts) {
    allowOnly(table, {"amount"});
    ExerciseItem item;
    item.kind = kind;
    item.amount = amounts.read(required(table, "amount", QStringLiteral("сумма")), item,
                               AmountPlace::Movement);
    return item;
}

ExerciseItem reportOf(const toml::table& table, const AmountReader& amounts) {
    allowOnly(table, {"key", "total"});
    ExerciseItem item;
    item.kind = ItemKind::Report;
    const QString key = requiredText(table, "key", QStringLiteral("\"1Д\" или \"2В\"")).toUpper();
    item.report = key == reportCaption(ShiftReport::OneD) ? ShiftReport::OneD : ShiftReport::TwoV;
    if (key != reportCaption(item.report))
        fail(table.get("key")->source(),
             QStringLiteral("отчёт снимают клавишей \"1Д\" или \"2В\""));
    if (const toml::node* total = table.get("total"))
        item.reportTotal = amounts.read(*total, item, AmountPlace::ReportTotal);
    return item;
}

ExerciseItem headerOf(const toml::table& table) {
    allowOnly(table, {"lines"});
    ExerciseItem item;
    item.kind = ItemKind::Header;
    const toml::node& node = required(table, "lines", QStringLiteral("строки клише"));
    const toml::array* lines = node.as_array();
    if (!lines || lines->empty())
        fail(node.source(), QStringLiteral("«lines» — список строк клише в кавычках"));
    for (const toml::node& line : *lines) {
        const auto* value = line.as_string();
        if (!value) fail(line.source(), QStringLiteral("строка клише пишется в кавычках"));
        const QString headerLine = text(value->get());
        if (headerLine.contains(QLatin1Char('\n')) || headerLine.contains(QLatin1Char('\r')))
            fail(line.source(), QStringLiteral("строка клише — одна строка, без переноса"));
        item.headerLines << headerLine;
    }
    return item;
}

ExerciseItem itemOf(std::string_view key, const toml::table& table, const AmountReader& amounts) {
    ExerciseItem item;
    if (key == "receipt") item = receiptOf(table, amounts);
    if (key == "cash_in") item = movementOf(table, ItemKind::CashIn, amounts);
    if (key == "cash_out") item = movementOf(table, ItemKind::CashOut, amounts);
    if (key == "report") item = reportOf(table, amounts);
    if (key == "header") item = headerOf(table);
    if (key == "cancel") {
        allowOnly(table, {});
        item.kind = ItemKind::Cancel;
    }
    item.sourceLine = int(table.source().begin.line);
    return item;
}

// The keys above the work: the title, the task, the terms and the values drawn for each run.
bool isHeadKey(std::string_view key) {
    return key == "title" || key == "task" || key == "time_limit" || key == "exam" ||
           key == "pass" || key == "values";
}

// The top-level keys, the title and the task.
Exercise headOf(const toml::table& root) {
    allowOnly(root, {"title", "task", "time_limit", "exam", "pass", "values", "receipt", "cash_in",
                     "cash_out", "report", "header", "cancel"});
    Exercise exercise;
    exercise.title = requiredText(root, "title", QStringLiteral("название упражнения"));
    exercise.task = requiredText(root, "task", QStringLiteral("текст задания"));
    return exercise;
}

Exercise exerciseOf(const toml::table& root) {
    Exercise exercise = headOf(root);
    exercise.values = valuesOf(root);
    const AmountReader amounts(exercise.values);
    if (exercise.title.contains(QRegularExpression(QStringLiteral(R"(\{[A-Za-z_]\w*\})"))))
        fail(root.get("title")->source(),
             QStringLiteral("в названии не бывает значений {…}: оно одно для всех вариантов, по "
                            "нему собираются результаты"));
    amounts.checkNames(*root.get("task"));
    // Each kind of work is its own list; together they are expected in the file's order.
    QList<std::pair<toml::source_position, ExerciseItem>> items;
    for (auto&& [key, value] : root) {
        if (isHeadKey(key.str())) continue;
        for (const toml::node& table : tablesOf(value, key.str()))
            items.append({table.source().begin, itemOf(key.str(), *table.as_table(), amounts)});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [where, item] : items)
        exercise.items << item;
    if (exercise.items.isEmpty())
        throw Fault{0, QStringLiteral("в упражнении нет ни одного чека ([[receipt]])")};
    const TermsRead terms = readTerms(root, exercise.items.size());
    if (!terms.fault.isEmpty()) throw Fault{terms.faultLine, terms.fault};
    exercise.terms = terms.terms;
    return exercise;
}

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

QString message(const QString& fileName, const Fault& fault) {
    const QString name = QFileInfo(fileName).fileName();
    if (fault.line <= 0) return QStringLiteral("Упражнение «%1»: %2.").arg(name, fault.what);
    return QStringLiteral("Упражнение «%1», строка %2: %3.")
        .arg(name)
        .arg(fault.line)
        .arg(fault.what);
}

// What is checked before the parser sees the text; the outline of a text that passes.
TomlOutline outlineOf(QByteArrayView bytes) {
    if (bytes.size() > kMaxFileSize)
        throw Fault{0, QStringLiteral("файл больше 1 МБ — это не упражнение")};
    if (bytes.trimmed().isEmpty()) throw Fault{0, QStringLiteral("файл пуст")};
    const TomlOutline outline =
        outlineToml(std::string_view(bytes.data(), std::size_t(bytes.size())), kMaxDepth);
    if (outline.tooDeepLine > 0)
        throw Fault{
            outline.tooDeepLine,
            QStringLiteral("слишком глубокая вложенность (больше %1 уровней)").arg(kMaxDepth)};
    return outline;
}

toml::table parsed(QByteArrayView bytes) {
    try {
        return toml::parse(std::string_view(bytes.data(), std::size_t(bytes.size())));
    } catch (const toml::parse_error& e) {
        QString what = isUtf8(bytes)
                           ? QStringLiteral("ошибка записи TOML (%1)").arg(text(e.description()))
                           : QStringLiteral("файл не в кодировке UTF-8: сохраните его в UTF-8");
        // The slip an instructor makes copying a line: a value, a key or a table named twice.
        if (e.description().find("cannot redefine existing") != std::string_view::npos)
            what = QStringLiteral("это имя уже задано выше: каждое пишется один раз");
        throw Fault{int(e.source().begin.line), what};
    }
}

// The file's bytes; throws what keeps them from being read.
QByteArray bytesOf(const QString& path) {
    // A huge file is refused before it is read into memory.
    if (QFileInfo(path).size() > kMaxFileSize)
        throw Fault{0, QStringLiteral("файл больше 1 МБ — это не упражнение")};
    FileBytes file = readFileBytes(path);
    if (file.error)
        throw Fault{0,
                    QStringLiteral("не удалось прочитать файл: %1").arg(reasonText(*file.error))};
    return std::move(file.bytes);
}

} // namespace

QString closeWord(Payment payment) {
    return payment == Payment::Cash   ? QStringLiteral("cash")
           : payment == Payment::Card ? QStringLiteral("card")
                                      : QStringLiteral("plain");
}

ExerciseLoad parseExercise(QByteArrayView bytes, const QString& fileName) {
    try {
        outlineOf(bytes);
        return {exerciseOf(parsed(bytes)), {}};
    } catch (const Fault& fault) {
        return {std::nullopt, message(fileName, fault)};
    }
}

ExerciseLoad readExerciseFile(const QString& path) {
    try {
        ExerciseLoad load = parseExercise(bytesOf(path), path);
        if (load.exercise) load.exercise->fileName = path;
        return load;
    } catch (const Fault& fault) {
        return {std::nullopt, message(path, fault)};
    }
}

// Top-level keys stand before the first table header, so the text up to it is TOML of its own
// and holds the title: a few lines to parse, where the whole file may take a fifth of a second.
ExerciseTitle readExerciseTitle(const QString& path) {
    try {
        const QByteArray bytes = bytesOf(path);
        const TomlOutline outline = outlineOf(bytes);
        return {headOf(parsed(QByteArrayView(bytes).first(qsizetype(outline.firstHeader)))).title,
                {}};
    } catch (const Fault& fault) {
        return {{}, message(path, fault)};
    }
}

} // namespace tarvel
