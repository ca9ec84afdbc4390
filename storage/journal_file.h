#pragma once
// bazasmen.txt kept true at every moment, so a crash, a kill or a power cut costs no closed
// receipt.
//
// The rule that makes this exact: from start-up on, the file holds the journal text in
// windows-1251 followed by one CR LF, which is byte for byte what the close writes. Every
// piece the register adds to the journal begins with CR LF, so when the journal grows by
// CR LF + X the file grows by X + CR LF: an append flushed to disk at once, never a rewrite.
// A crash in the middle of an append can cut short only that one piece.
//
// Characters that windows-1251 cannot store go into the file as "?", as they do at close.

#include "storage/tapes.h"

#include <QString>

namespace tarvel {

class JournalFile {
  public:
    enum class State {
        NotStarted,  // start-up has not run: the file is left alone, also at close
        Live,        // the file holds the journal and CR LF; every piece is appended at once
        AtCloseOnly, // writing failed once: the journal is written whole at close only
        MemoryOnly,  // the file exists but could not be read: it is never written
    };

    explicit JournalFile(QString path) : path_(std::move(path)) {}

    // Start-up, right after LoadTapes filled the journal; `journal` is its text now. Brings
    // the file to the journal text and CR LF: by appending CR LF when the file already holds
    // the journal text exactly, otherwise by writing it whole once. Returns the message for
    // the trainee, empty when there is nothing to tell.
    QString start(const TapesLoad& load, QStringView journal);

    // After `piece` was appended to the journal, whose text is now `journal`. Returns the
    // message for the trainee, empty when there is nothing to tell; a failure is told once.
    QString append(QStringView piece, QStringView journal);

    State state() const { return state_; }
    // Whether the close writes the journal over the file.
    bool writtenAtClose() const { return state_ == State::Live || state_ == State::AtCloseOnly; }
    const QString& path() const { return path_; }

  private:
    QString appendBytes(const QByteArray& bytes);
    QString writeWhole(QStringView journal);
    QString fail(const QString& reason);

    QString path_;
    State state_ = State::NotStarted;
    qint64 fileSize_ = 0; // what the file holds while Live, checked before every append
};

} // namespace tarvel
