#include "storage/text_files.h"

#include "storage/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvel {

QString rebuildTapeText(QStringView fileText) {
    QString out;
    out.reserve(fileText.size() + fileText.size() / 64 + 2);
    const qsizetype n = fileText.size();
    qsizetype lineStart = 0;
    qsizetype i = 0;
    while (i < n) {
        if (fileText[i] != u'\r') {
            ++i;
            continue;
        }
        out.append(fileText.mid(lineStart, i - lineStart));
        out.append(u"\r\n");
        ++i;
        if (i < n && fileText[i] == u'\n') ++i;
        lineStart = i;
    }
    if (lineStart < n) {
        out.append(fileText.mid(lineStart));
        out.append(u"\r\n");
    }
    return out;
}

static QString fileErrorReason(const QFileDevice& file) {
    switch (file.error()) {
    case QFileDevice::OpenError:
        return QStringLiteral("файл не открывается");
    case QFileDevice::ReadError:
        return QStringLiteral("ошибка чтения");
    case QFileDevice::WriteError:
        return QStringLiteral("ошибка записи (нет места на диске?)");
    case QFileDevice::PermissionsError:
        return QStringLiteral("нет прав доступа");
    case QFileDevice::ResourceError:
        return QStringLiteral("не хватает места или ресурсов системы");
    default:
        return file.errorString();
    }
}

FileRead readTextFile(const QString& path) {
    FileRead result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("файл не найден");
        return result;
    }
    if (!info.isFile()) {
        result.error = QStringLiteral("это не файл");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = fileErrorReason(file);
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = fileErrorReason(file);
        return result;
    }
    result.text = decodeWindows1251(bytes);
    return result;
}

QString writeTextFileWithCrLf(const QString& path, QStringView text) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return QStringLiteral("на этом месте стоит каталог");
    if (!QFileInfo(info.absolutePath()).isDir()) return QStringLiteral("нет такого каталога");

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fileErrorReason(file);
    const EncodedText encoded = encodeWindows1251(text);
    if (file.write(encoded.bytes) != encoded.bytes.size() || file.write("\r\n", 2) != 2) {
        const QString reason = fileErrorReason(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return fileErrorReason(file);
    return {};
}

QString writeFailureMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace tarvel
