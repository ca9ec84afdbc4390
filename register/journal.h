#pragma once
// The journal (control tape) TxtCHLK and bazasmen.txt, kept equal: every piece appended to the
// tape is appended to the file at once, so a crash loses nothing that was shown. The file is
// read when the register starts, or later on a worker thread, and every write waits for that
// read first.

#include "register/panel_state.h"
#include "register/receipt_watch.h"
#include "storage/journal_file.h"

#include <QFuture>
#include <thread>

namespace tarvel {

class Journal {
  public:
    // `tape` and `watch` are the register's and outlive the journal; trouble with the file is
    // told through `watch`.
    Journal(Tape& tape, const QString& path, ReceiptWatch& watch);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Reads the file and takes it in now; or, `inBackground`, leaves it for loadInBackground
    // (or for the first write, at the latest).
    void startLoad(bool inBackground);
    // Reads the file on a worker thread. The future is finished once it is read; finishLoad
    // then takes it in without waiting. Nothing left to read: a finished future.
    QFuture<void> loadInBackground();
    // Takes the read journal in: waits for the worker, or reads now if it was never begun.
    void finishLoad();
    // Every write into the journal goes through here: `piece` begins with CR LF.
    void append(QStringView piece);
    // The file already holds the journal unless a write failed: then what it lacks is written
    // now. A journal that exists but could not be read is never written over, nor is one that
    // was never loaded.
    void close();

  private:
    enum class Stage {
        NotStarted, // the register has not started: the file is left alone
        Waiting,    // to be read in the background
        Reading,    // the worker reads it
        Loaded,
    };

    void take(JournalRead read);
    void tellWrite(const std::optional<FileError>& error);
    void tell(const QString& text);

    Tape& tape_;
    QString path_;
    ReceiptWatch& watch_;
    JournalFile file_;
    Stage stage_ = Stage::NotStarted;
    std::thread worker_;
    JournalRead read_; // the worker's, until it is joined
    // A failed write is told once, until a write succeeds again.
    bool troubleTold_ = false;
};

} // namespace tarvel
