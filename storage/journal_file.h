#pragma once
// bazasmen.txt kept true at every moment, so a crash, a kill or a power cut costs no closed
// receipt.
//
// The rule that makes this exact: from start-up on, the file holds the journal text in
// windows-1251 followed by one CR LF, which is byte for byte what the close would write. Every
// piece added to the journal begins with CR LF, so when the journal grows by CR LF + X the
// file grows by X + CR LF: an append synced to disk at once, never a rewrite. A crash in the
// middle of an append can cut short only that one piece.
//
// Characters that windows-1251 cannot store go into the file as "?".

#include "storage/file_error.h"

#include <QString>
#include <optional>

namespace tarvel {

enum class JournalLoad {
    Loaded,     // the file was read
    Missing,    // no file yet (the first run): start-up creates it
    Unreadable, // the file exists but could not be read: it must never be overwritten
};

struct JournalRead {
    JournalLoad status = JournalLoad::Missing;
    QString text;                   // the journal text rebuilt from the file
    bool canonical = false;         // the file is in the form this class keeps: text == its bytes
    std::optional<FileError> error; // why the file could not be read
};
// Reads and decodes bazasmen.txt. Touches nothing else, so it may run on a worker thread.
JournalRead readJournal(const QString& path);

class JournalFile {
  public:
    explicit JournalFile(QString path) : path_(std::move(path)) {}

    // Start-up, once the journal holds what readJournal gave; `journal` is its text now and
    // `journalIsFileText` tells that it is exactly the decoded bytes of a canonical file.
    // Brings the file to the journal and CR LF: by appending CR LF when it already holds the
    // journal, otherwise by writing it whole once; a file that could not be read, or that
    // holds more than the journal would give back, is never written.
    std::optional<FileError> start(JournalLoad load, bool journalIsFileText, QStringView journal);

    // After `piece` was appended to the journal, whose text is now `journal`. After a failed
    // write the next piece first brings the file back to the journal.
    std::optional<FileError> append(QStringView piece, QStringView journal);

    // The close: writes only what the file lacks, nothing when it already holds the journal.
    std::optional<FileError> close(QStringView journal);

  private:
    enum class State {
        NotStarted, // start-up has not run: the file is left alone, also at close
        Live,       // the file holds the journal and CR LF; every piece is appended at once
        Behind,     // a write failed: the file lacks part of the journal until a write succeeds
        MemoryOnly, // the file could not be read, or holds more than the journal: never written
    };

    std::optional<FileError> catchUp(QStringView journal);
    std::optional<FileError> appendBytes(const QByteArray& bytes, qsizetype journalChars);
    std::optional<FileError> writeWhole(QStringView journal);

    QString path_;
    State state_ = State::NotStarted;
    std::optional<qint64> fileSize_; // the bytes the file holds as last written here
    qsizetype fileJournal_ = 0;      // the characters of the journal those bytes hold
};

} // namespace tarvel
