#include "storage/text_files.h"

#include "storage/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
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
    return everyCrBeforeLf(bytes.data(), n);
}

FileBytes readFileBytes(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {{}, absenceOf(path)};
    if (info.isDir()) return {{}, FileError{path, FileProblem::IsFolder}};
    if (!info.isFile()) return {{}, FileError{path, FileProblem::NotAFile}};
    QFile file(path);
    clearSystemError();
    if (!file.open(QIODevice::ReadOnly)) return {{}, fileErrorOf(path, lastSystemError(), file)};
    clearSystemError();
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, fileErrorOf(path, lastSystemError(), file)};
    return {std::move(bytes), std::nullopt};
}

FileText readTapeFile(const QString& path) {
    const FileBytes read = readFileBytes(path);
    if (read.error) return {{}, read.error};
    const std::optional<QString> text = decodeWindows1251(read.bytes);
    if (!text) return {{}, FileError{path, FileProblem::Undecodable}};
    return {rebuildTapeText(*text), std::nullopt};
}

namespace {

// Qt keeps the mode of the file it replaces; the owner is put back here (root writing a
// trainee's journal, say). Where the system refuses, the file stays the writer's.
struct Owner {
    bool known = false;
#ifdef Q_OS_UNIX
    uid_t uid = 0;
    gid_t gid = 0;
#endif
};

Owner ownerOf(const QString& path) {
    Owner owner;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        owner = {true, st.st_uid, st.st_gid};
    }
#else
    Q_UNUSED(path);
#endif
    return owner;
}

void restoreOwner(const QString& path, const Owner& owner) {
#ifdef Q_OS_UNIX
    if (!owner.known) return;
    const Owner now = ownerOf(path);
    if (now.known && (now.uid != owner.uid || now.gid != owner.gid)) [[maybe_unused]]
        const int ignored = ::chown(QFile::encodeName(path).constData(), owner.uid, owner.gid);
#else
    Q_UNUSED(path);
    Q_UNUSED(owner);
#endif
}

// Writes all of `bytes`; the error right after the call that fell short.
std::optional<FileError> writeAll(QSaveFile& file, const QString& path, QByteArrayView bytes) {
    clearSystemError();
    if (file.write(bytes.data(), bytes.size()) == bytes.size()) return std::nullopt;
    return fileErrorOf(path, lastSystemError(), file);
}

// The whole-or-nothing write of `pieces`, one after the other (see writeFileWithCrLf).
std::optional<FileError> writeWhole(const QString& path,
                                    std::initializer_list<QByteArrayView> pieces) {
    const QFileInfo info(path);
    if (info.isDir()) return FileError{path, FileProblem::IsFolder};
    if (info.exists() && !info.isFile()) return FileError{path, FileProblem::NotAFile};
    if (!QFileInfo(info.absolutePath()).isDir()) return FileError{path, FileProblem::FolderMissing};
    // QSaveFile refuses such a file itself, without the system's word on why.
    if (info.exists() && !info.isWritable()) return FileError{path, FileProblem::NoPermission};

    const Owner owner = ownerOf(path);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    clearSystemError();
    // Unbuffered: a write that falls short says so at once, with its cause. A buffered
    // QSaveFile would find a full disk only in commit(), and commit() renames the short file
    // into place all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fileErrorOf(path, lastSystemError(), file);
    for (const QByteArrayView piece : pieces) {
        if (std::optional<FileError> error = writeAll(file, path, piece)) {
            file.cancelWriting();
            return error;
        }
    }
    clearSystemError();
    if (!file.commit()) return fileErrorOf(path, lastSystemError(), file);
    restoreOwner(path, owner);
    return std::nullopt;
}

} // namespace

std::optional<FileError> writeFileWithCrLf(const QString& path, QByteArrayView bytes) {
    return writeWhole(path, {bytes, "\r\n"});
}

std::optional<FileError> writeFileWhole(const QString& path, QByteArrayView bytes) {
    return writeWhole(path, {bytes});
}

} // namespace tarvel
