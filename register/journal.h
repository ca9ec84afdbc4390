#pragma once
// The journal (control tape) TxtCHLK and bazasmen.txt, kept equal: every piece appended to the
// tape is appended to the file at once, so a crash loses nothing that was shown. The file is
// read when the register starts, on a worker thread if asked, and every write waits for that
// read first.

#include "register/panel_state.h"
#include "register/receipt_watch.h"
#include "storage/journal_file.h"

#include <future>

namespace tarvel {

class Journal {
  public:
    // `tape` and `watch` are the register's and outlive the journal; trouble with the file is
    // told through `watch`.
    Journal(Tape& tape, const QString& path, ReceiptWatch& watch);

    void startLoad(bool inBackground);
    void finishLoad();
    // Every write into the journal goes through here: `piece` begins with CR LF.
    void append(QStringView piece);
    // The file already holds the journal unless a write failed: then what it lacks is written
    // now. A journal that exists but could not be read is never written over, nor is one that
    // was never loaded.
    void close();

  private:
    void take(JournalRead read);
    void tellWrite(const std::optional<FileError>& error);
    void tell(const QString& text);

    Tape& tape_;
    QString path_;
    ReceiptWatch& watch_;
    JournalFile file_;
    std::future<JournalRead> pending_;
    // A failed write is told once, until a write succeeds again.
    bool troubleTold_ = false;
};

} // namespace tarvel
