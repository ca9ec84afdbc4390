#include "storage/journal_file.h"

#include "storage/durable_append.h"
#include "storage/system_disk.h"

#include "storage/codepage.h"
#include "storage/text_files.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace tarvel {
namespace {

constexpr QStringView kLineEnd = u"\r\n";

// The size of the file now, -1 when there is none.
qint64 sizeOnDisk(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

} // namespace

// The journal is read a megabyte at a time and each piece decoded straight into its place in
// the one text, so start-up never holds the file's bytes and its text at once. A file the
// register wrote itself needs no rebuilding: its decoded text is the journal text already.
JournalRead readJournal(const QString& path) {
    JournalRead read;
    QFile file(path);
    if (const std::optional<FileError> error = openToRead(file)) {
        const bool none = error->reason == FileProblem::FileMissing ||
                          error->reason == FileProblem::FolderMissing;
        read.status = none ? JournalLoad::Missing : JournalLoad::Unreadable;
        read.error = error;
        return read;
    }
    constexpr qint64 kPiece = 1 << 20;
    QByteArray piece(kPiece, Qt::Uninitialized);
    // One character a byte, and room for the receipts of many shifts: the first receipt after
    // start-up then appends in place instead of moving hundreds of megabytes.
    constexpr qint64 kRoom = 1 << 20;
    QString text(file.size() + kRoom, Qt::Uninitialized);
    preferLargePages(text.data(), text.size() * qsizetype(sizeof(QChar)));
    TapeBytesCheck check;
    qsizetype done = 0;
    for (;;) {
        clearSystemError();
        const qint64 room = text.size() - done; // kRoom beyond the file's size
        const qint64 got = file.read(piece.data(), room > 0 ? std::min(kPiece, room) : kPiece);
        if (got < 0) {
            read.status = JournalLoad::Unreadable;
            read.error = fileErrorOf(path, lastSystemError(), file);
            return read;
        }
        if (got == 0) break;
        if (got > room) text.resize(done + got); // the file grew while it was read
        const QByteArrayView bytes(piece.constData(), got);
        decodeWindows1251Into(bytes, reinterpret_cast<char16_t*>(text.data()) + done);
        check.feed(bytes);
        done += got;
    }
    text.truncate(done);
    read.status = JournalLoad::Loaded;
    read.canonical = check.canonical();
    if (!read.canonical) rebuildTapeTextInPlace(text);
    read.text = std::move(text);
    return read;
}

std::optional<FileError> JournalFile::start(JournalLoad load, bool journalIsFileText,
                                            QStringView journal) {
    switch (load) {
    case JournalLoad::Unreadable:
        state_ = State::MemoryOnly;
        return std::nullopt; // the reader's error says why
    case JournalLoad::Loaded:
        if (journalIsFileText) {
            state_ = State::Live;
            fileSize_ = journal.size(); // one byte per character in such a file
            if (!appendBytes(QByteArrayLiteral("\r\n"), journal.size())) return std::nullopt;
        }
        break;
    case JournalLoad::Missing:
        break;
    }
    // A first run, or a file in some other form (edited by hand, lone CR or LF, no final
    // CR LF): written whole once, through a temporary file where the folder allows it. The
    // rebuilt journal is never shorter than the file it came from; should it be, the file
    // holds something this run did not read, and it is left alone.
    fileSize_.reset();
    const EncodedText encoded = encodeWindows1251(journal);
    if (sizeOnDisk(path_) > encoded.bytes.size() + kLineEnd.size()) {
        state_ = State::MemoryOnly;
        return FileError{path_, FileProblem::WouldShorten};
    }
    return writeWhole(journal);
}

std::optional<FileError> JournalFile::append(QStringView piece, QStringView journal) {
    if (piece.isEmpty()) return std::nullopt;
    if (state_ == State::Live && piece.startsWith(kLineEnd) &&
        fileJournal_ + piece.size() == journal.size()) {
        QByteArray bytes = encodeWindows1251(piece.mid(kLineEnd.size())).bytes;
        bytes.append("\r\n", 2);
        return appendBytes(bytes, journal.size());
    }
    return catchUp(journal);
}

std::optional<FileError> JournalFile::close(QStringView journal) {
    return catchUp(journal);
}

// The file brought back to the journal and CR LF: by appending what it lacks when it still
// holds what was last written here, otherwise by writing it whole.
std::optional<FileError> JournalFile::catchUp(QStringView journal) {
    if (state_ == State::NotStarted || state_ == State::MemoryOnly) return std::nullopt;
    const bool asLeft = fileSize_ && sizeOnDisk(path_) == *fileSize_;
    if (asLeft && fileJournal_ == journal.size()) {
        state_ = State::Live;
        return std::nullopt;
    }
    if (asLeft && fileJournal_ < journal.size() &&
        journal.sliced(fileJournal_).startsWith(kLineEnd)) {
        QByteArray bytes = encodeWindows1251(journal.sliced(fileJournal_ + 2)).bytes;
        bytes.append("\r\n", 2);
        return appendBytes(bytes, journal.size());
    }
    return writeWhole(journal);
}

std::optional<FileError> JournalFile::appendBytes(const QByteArray& bytes, qsizetype journalChars) {
    QFile file(path_);
    // ExistingOnly: a file removed behind the register's back is not recreated holding the
    // newest piece alone. Unbuffered: nothing of a failed piece waits in a buffer to be
    // written after the file has been cut back, and the system tells the cause of a short write.
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly |
                   QIODevice::Unbuffered)) {
        state_ = State::Behind;
        return fileErrorOf(path_, lastSystemError(), file);
    }
    if (file.size() != fileSize_) {
        state_ = State::Behind;
        return FileError{path_, FileProblem::ChangedElsewhere};
    }
    clearSystemError();
    bool written = file.write(bytes) == bytes.size();
    int error = lastSystemError();
    if (written && !syncToDisk(file)) {
        written = false;
        error = lastSystemError();
    }
    if (!written) {
        file.resize(*fileSize_); // leave no half piece behind when the disk allows it
        state_ = State::Behind;
        return fileErrorOf(path_, error, file);
    }
    state_ = State::Live;
    fileSize_ = *fileSize_ + bytes.size();
    fileJournal_ = journalChars;
    return std::nullopt;
}

std::optional<FileError> JournalFile::writeWhole(QStringView journal) {
    const QByteArray bytes = encodeWindows1251(journal).bytes;
    if (const std::optional<FileError> error = writeFileWithCrLf(path_, bytes)) {
        state_ = State::Behind;
        return error;
    }
    state_ = State::Live;
    fileSize_ = bytes.size() + kLineEnd.size();
    fileJournal_ = journal.size();
    return std::nullopt;
}

} // namespace tarvel
