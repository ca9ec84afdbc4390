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

// The rebuild adds an LF after every lone CR and a CR LF after an unended last line, and
// changes nothing else: so it can be done in place, from the back, with no second copy.
void rebuildTapeTextInPlace(QString& text) {
    const qsizetype n = text.size();
    const QChar* in = text.constData();
    qsizetype added = 0;
    for (qsizetype i = 0; i < n; ++i)
        if (in[i] == u'\r' && (i + 1 == n || in[i + 1] != u'\n')) ++added;
    const bool lastLineOpen =
        n > 0 && in[n - 1] != u'\r' && !(in[n - 1] == u'\n' && n >= 2 && in[n - 2] == u'\r');
    if (lastLineOpen) added += 2;
    if (added == 0) return;
    text.resize(n + added);
    QChar* out = text.data();
    qsizetype to = n + added;
    if (lastLineOpen) {
        out[--to] = u'\n';
        out[--to] = u'\r';
    }
    // Every write lands at or after the character being read, so nothing unread is lost.
    QChar after = u'\n'; // the character after out[from] as read; none after the last
    for (qsizetype from = n; to > from && from-- > 0;) {
        const QChar c = out[from];
        if (c == u'\r' && (from + 1 == n || after != u'\n')) out[--to] = u'\n';
        out[--to] = c;
        after = c;
    }
}

QString rebuildTapeText(QStringView fileText) {
    QString text = fileText.toString();
    rebuildTapeTextInPlace(text);
    return text;
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

// A CR that ends one piece waits for the first byte of the next.
void TapeBytesCheck::feed(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    if (n == 0) return;
    if (crPending_ && bytes[0] != '\n') canonical_ = false;
    crPending_ = bytes[n - 1] == '\r';
    if (canonical_) canonical_ = everyCrBeforeLf(bytes.data(), crPending_ ? n - 1 : n);
    lastTwo_[0] = n >= 2 ? bytes[n - 2] : lastTwo_[1];
    lastTwo_[1] = bytes[n - 1];
    seen_ += n;
}

bool TapeBytesCheck::canonical() const {
    if (seen_ == 0) return true;
    return canonical_ && !crPending_ && lastTwo_[0] == '\r' && lastTwo_[1] == '\n';
}

bool isCanonicalTapeBytes(QByteArrayView bytes) {
    TapeBytesCheck check;
    check.feed(bytes);
    return check.canonical();
}

std::optional<FileError> openToRead(QFile& file) {
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (!info.exists()) return absenceOf(path);
    if (info.isDir()) return FileError{path, FileProblem::IsFolder};
    if (!info.isFile()) return FileError{path, FileProblem::NotAFile};
    clearSystemError();
    if (!file.open(QIODevice::ReadOnly)) return fileErrorOf(path, lastSystemError(), file);
    return std::nullopt;
}

FileBytes readFileBytes(const QString& path) {
    QFile file(path);
    if (std::optional<FileError> error = openToRead(file)) return {{}, error};
    clearSystemError();
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, fileErrorOf(path, lastSystemError(), file)};
    return {std::move(bytes), std::nullopt};
}

FileText readTapeFile(const QString& path) {
    const FileBytes read = readFileBytes(path);
    if (read.error) return {{}, read.error};
    std::optional<QString> text = decodeWindows1251(read.bytes);
    if (!text) return {{}, FileError{path, FileProblem::Undecodable}};
    rebuildTapeTextInPlace(*text);
    return {std::move(*text), std::nullopt};
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
