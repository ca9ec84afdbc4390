#include "storage/journal_file.h"

#include "storage/durable_append.h"

#include "storage/codepage.h"
#include "storage/text_files.h"

#include <QFile>
#include <QFileInfo>

namespace tarvel {
namespace {

constexpr QStringView kLineEnd = u"\r\n";

// The size of the file now, -1 when there is none.
qint64 sizeOnDisk(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

} // namespace

// A file the register wrote itself needs no rebuilding: its decoded text is the journal text
// already, so a journal of tens of megabytes loads in little more than the time to read it.
JournalRead readJournal(const QString& path) {
    JournalRead read;
    FileBytes file = readFileBytes(path);
    if (file.error) {
        const bool none = file.error->reason == FileProblem::FileMissing ||
                          file.error->reason == FileProblem::FolderMissing;
        read.status = none ? JournalLoad::Missing : JournalLoad::Unreadable;
        read.error = file.error;
        return read;
    }
    read.canonical = isCanonicalTapeBytes(file.bytes);
    std::optional<QString> text = decodeWindows1251(file.bytes);
    file.bytes.clear();
    if (!text) {
        read.status = JournalLoad::Unreadable;
        read.error = FileError{path, FileProblem::Undecodable};
        return read;
    }
    read.status = JournalLoad::Loaded;
    read.text = read.canonical ? std::move(*text) : rebuildTapeText(*text);
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
