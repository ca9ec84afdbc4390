#include "register/journal.h"

#include "register/file_messages.h"

#include <QPromise>

namespace tarvel {

Journal::Journal(Tape& tape, const QString& path, ReceiptWatch& watch)
    : tape_(tape), path_(path), watch_(watch), file_(path) {}

Journal::~Journal() {
    if (worker_.joinable()) worker_.join();
}

void Journal::startLoad(bool inBackground) {
    stage_ = Stage::Waiting;
    if (!inBackground) finishLoad();
}

QFuture<void> Journal::loadInBackground() {
    QPromise<void> read;
    QFuture<void> future = read.future();
    read.start();
    if (stage_ != Stage::Waiting) {
        read.finish();
        return future;
    }
    stage_ = Stage::Reading;
    worker_ = std::thread([this, read = std::move(read)]() mutable {
        read_ = readJournal(path_);
        read.finish();
    });
    return future;
}

void Journal::finishLoad() {
    if (stage_ == Stage::NotStarted || stage_ == Stage::Loaded) return;
    if (worker_.joinable())
        worker_.join();
    else
        read_ = readJournal(path_);
    stage_ = Stage::Loaded;
    take(std::move(read_));
}

// The read journal goes after whatever the tape holds (into an empty one without a copy), and
// bazasmen.txt is brought to the register's form.
void Journal::take(JournalRead read) {
    const bool tapeIsFileText = read.canonical && tape_.text().isEmpty();
    if (read.status == JournalLoad::Loaded) {
        if (tape_.text().isEmpty())
            tape_.setText(std::move(read.text));
        else
            tape_.append(read.text);
    } else {
        tell(kCannotFindFile);
    }
    if (read.status == JournalLoad::Unreadable && read.error)
        tell(journalUnreadableMessage(*read.error));
    const std::optional<FileError> error = file_.start(read.status, tapeIsFileText, tape_.text());
    if (error && error->reason == FileProblem::WouldShorten)
        tell(journalUnreadableMessage(*error));
    else
        tellWrite(error);
}

void Journal::append(QStringView piece) {
    finishLoad();
    tape_.append(piece);
    tellWrite(file_.append(piece, tape_.text()));
}

void Journal::close() {
    finishLoad();
    if (const std::optional<FileError> error = file_.close(tape_.text()))
        tell(journalNotSavedMessage(*error));
}

void Journal::tellWrite(const std::optional<FileError>& error) {
    if (!error) {
        troubleTold_ = false;
        return;
    }
    if (!troubleTold_) tell(journalAppendFailedMessage(*error));
    troubleTold_ = true;
}

void Journal::tell(const QString& text) {
    watch_.notice({text});
}

} // namespace tarvel
