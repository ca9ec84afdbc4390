#include "exercises/key_log.h"

#include "register/file_messages.h"
#include "storage/durable_append.h"
#include "storage/text_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace tarvel {
namespace {

const QByteArray kMagic = QByteArrayLiteral("Tarvel key log 1");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
// A key log of a very long run is some megabytes; anything far beyond is not a key log.
constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

QString escaped(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescaped(QStringView text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        const QChar next = ++i < text.size() ? text[i] : QChar();
        if (next == u'\\')
            out += u'\\';
        else if (next == u'r')
            out += u'\r';
        else if (next == u'n')
            out += u'\n';
        else
            return std::nullopt;
    }
    return out;
}

QStringView fieldName(TypedField field) {
    return field == TypedField::ReceiptTape ? u"TxtCHL" : u"TxtIND";
}

struct Fault {
    int line;
    QString what;
};

// "420 Command5" or "9120 TxtCHL text".
KeyLogEntry entryOf(QStringView line, int number, qint64 previousMs) {
    const qsizetype space = line.indexOf(u' ');
    bool ok = false;
    const qint64 ms = space > 0 ? line.left(space).toLongLong(&ok) : 0;
    if (!ok || ms < 0) throw Fault{number, QStringLiteral("нет времени нажатия в миллисекундах")};
    if (ms < previousMs) throw Fault{number, QStringLiteral("время идёт назад")};
    const QStringView rest = line.mid(space + 1);
    KeyLogEntry entry;
    entry.ms = ms;
    if ((entry.key = keyFromName(rest))) return entry;
    for (const TypedField field : {TypedField::ReceiptTape, TypedField::Indicator}) {
        if (!rest.startsWith(fieldName(field)) || rest.mid(fieldName(field).size(), 1) != u" ")
            continue;
        const std::optional<QString> text = unescaped(rest.mid(fieldName(field).size() + 1));
        if (!text) throw Fault{number, QStringLiteral("неверная запись «\\» в тексте")};
        entry.field = field;
        entry.text = *text;
        return entry;
    }
    throw Fault{number, QStringLiteral("неизвестная клавиша «%1»").arg(rest.toString())};
}

void setHeadValue(KeyLogHead& head, QStringView name, const QString& value, int number) {
    if (name == u"version") head.version = value;
    if (name == u"trainee") head.trainee = value;
    if (name == u"exercise") head.exercise = value;
    if (name == u"header") head.receiptHeader = value;
    if (name == u"seed") {
        bool ok = false;
        head.seed = value.toUInt(&ok);
        if (!ok || value.startsWith(u'+'))
            throw Fault{number, QStringLiteral("неверный вариант «%1»").arg(value)};
    }
    if (name == u"started") {
        head.started = QDateTime::fromString(value, kTimeFormat);
        if (!head.started.isValid())
            throw Fault{number, QStringLiteral("неверное время начала «%1»").arg(value)};
    }
    // Other names come from a newer register: they are left aside.
}

KeyLog logOf(const QStringList& lines) {
    if (lines.isEmpty() || lines[0].toUtf8() != kMagic)
        throw Fault{1, QStringLiteral("это не журнал клавиш Tarvel")};
    KeyLog log;
    qsizetype i = 1;
    for (; i < lines.size() && !lines[i].isEmpty(); ++i) {
        const qsizetype colon = lines[i].indexOf(QStringLiteral(": "));
        const std::optional<QString> value =
            colon > 0 ? unescaped(QStringView(lines[i]).mid(colon + 2)) : std::nullopt;
        if (!value) throw Fault{int(i) + 1, QStringLiteral("ожидалось «имя: значение»")};
        setHeadValue(log.head, QStringView(lines[i]).left(colon), *value, int(i) + 1);
    }
    if (log.head.version.isEmpty()) throw Fault{int(i) + 1, QStringLiteral("нет строки «version»")};
    qint64 previousMs = 0;
    for (++i; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        log.entries << entryOf(lines[i], int(i) + 1, previousMs);
        previousMs = log.entries.last().ms;
    }
    return log;
}

} // namespace

QByteArray keyLogHead(const KeyLogHead& head) {
    QString out = QString::fromUtf8(kMagic) + u'\n';
    out += QStringLiteral("version: ") + escaped(head.version) + u'\n';
    out += QStringLiteral("trainee: ") + escaped(head.trainee) + u'\n';
    out += QStringLiteral("exercise: ") + escaped(head.exercise) + u'\n';
    out += QStringLiteral("started: ") + head.started.toString(kTimeFormat) + u'\n';
    out += QStringLiteral("header: ") + escaped(head.receiptHeader) + u'\n';
    if (head.seed) out += QStringLiteral("seed: ") + QString::number(*head.seed) + u'\n';
    return (out + u'\n').toUtf8();
}

QByteArray keyLogLine(const KeyLogEntry& entry) {
    QString out = QString::number(entry.ms) + u' ';
    if (entry.key)
        out += keyName(*entry.key);
    else
        out += fieldName(entry.field).toString() + u' ' + escaped(entry.text);
    return (out + u'\n').toUtf8();
}

KeyLogRead parseKeyLog(QByteArrayView bytes, const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    try {
        // Every line is written with its line break: one without it was cut short, maybe in
        // the middle of a letter's bytes, and is left out.
        const qsizetype whole = bytes.lastIndexOf('\n') + 1;
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(bytes.first(whole));
        if (decoder.hasError()) throw Fault{0, QStringLiteral("файл не в кодировке UTF-8")};
        QStringList lines = text.split(u'\n');
        for (QString& line : lines)
            if (line.endsWith(u'\r')) line.chop(1); // a copy that went through Windows
        KeyLog log = logOf(lines);
        log.lastLineCut = whole < bytes.size();
        return {std::move(log), {}};
    } catch (const Fault& fault) {
        const QString where =
            fault.line > 0 ? QStringLiteral(", строка %1").arg(fault.line) : QString();
        return {std::nullopt,
                QStringLiteral("Журнал клавиш «%1»%2: %3.").arg(name, where, fault.what)};
    }
}

KeyLogRead readKeyLog(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (QFileInfo(path).size() > kMaxFileSize)
        return {std::nullopt, QStringLiteral("Журнал клавиш «%1»: файл слишком велик.").arg(name)};
    const FileBytes file = readFileBytes(path);
    if (file.error)
        return {std::nullopt,
                QStringLiteral("Журнал клавиш «%1»: %2.").arg(name, reasonText(*file.error))};
    return parseKeyLog(file.bytes, path);
}

QString keyLogFileName(const QDateTime& started, const QString& trainee) {
    static const QRegularExpression notNameChars(QStringLiteral("[^\\w-]+|_+"),
                                                 QRegularExpression::UseUnicodePropertiesOption);
    QString name = QString(trainee).replace(notNameChars, QStringLiteral("_"));
    while (name.startsWith(u'_'))
        name.remove(0, 1);
    while (name.endsWith(u'_'))
        name.chop(1);
    name = name.left(40);
    if (name.isEmpty()) name = QStringLiteral("без_имени");
    return started.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss_")) + name +
           QStringLiteral(".keys");
}

QString KeyLogWriter::start(const QString& dataFolder, const KeyLogHead& head) {
    QDir dir(dataFolder);
    const QString folder = dir.filePath(QStringLiteral("keys"));
    if (!dir.mkpath(QStringLiteral("keys")))
        return QStringLiteral("Не удалось создать папку %1: журнал клавиш не ведётся.")
            .arg(QDir::toNativeSeparators(folder));
    // Two runs started in the same second by the same trainee get their own files.
    const QString base = keyLogFileName(head.started, head.trainee);
    path_ = QDir(folder).filePath(base);
    for (int n = 2; QFileInfo::exists(path_); ++n)
        path_ = QDir(folder).filePath(base.chopped(5) + QStringLiteral("_%1.keys").arg(n));
    const std::optional<FileError> error = appendDurably(path_, keyLogHead(head));
    if (!error) return {};
    return writeFailureMessage(*error) + QStringLiteral("\nЖурнал клавиш не ведётся.");
}

QString KeyLogWriter::add(const KeyLogEntry& entry) {
    const std::optional<FileError> error = appendDurably(path_, keyLogLine(entry));
    if (!error) return {};
    return writeFailureMessage(*error);
}

} // namespace tarvel
