#include "storage/text_files.h"

#include "storage/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether every CR in the bytes has an LF right after it. Runs once over every byte of a
// journal of tens of megabytes at start-up: sixteen bytes at a time where the processor can.
static bool everyCrBeforeLf(const char* p, qsizetype n) {
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 17 <= n; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        const int crs = _mm_movemask_epi8(_mm_cmpeq_epi8(here, cr));
        const int lfsAfter = _mm_movemask_epi8(_mm_cmpeq_epi8(next, lf));
        if (crs & ~lfsAfter) return false;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n')) return false;
    return true;
}

bool isCanonicalTapeBytes(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    if (n == 0) return true;
    if (n < 2 || bytes[n - 2] != '\r' || bytes[n - 1] != '\n') return false;
    // Every byte is a windows-1251 character that encodes back to itself (the code page test
    // holds Qt's codec to that), so only the line breaks decide.
    return everyCrBeforeLf(bytes.data(), n);
}

QString fileErrorReason(const QFileDevice& file) {
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

FileBytes readFileBytes(const QString& path) {
    FileBytes result;
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
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = fileErrorReason(file);
        return result;
    }
    result.bytes = std::move(bytes);
    return result;
}

FileRead readTextFile(const QString& path) {
    FileBytes read = readFileBytes(path);
    FileRead result;
    result.error = std::move(read.error);
    if (read.bytes) result.text = decodeWindows1251(*read.bytes);
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
    return QStringLiteral("Не удалось записать файл %1: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace tarvel
