#pragma once
// Why the register does not start, and what the trainee is told. Each step of the start-up
// (the data folder, a replay's scratch copy of it, the folder's lock, then the register with
// its services and windows, which cannot fail) gives what it made or a StartProblem; main()
// tells the problem in one place and exits with status 1. Every text a failed start shows is
// composed here, in Russian.

#include "register/services.h"
#include "storage/data_location.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace tarvel {

struct StartProblem {
    enum class Kind {
        DataFolder,       // the folder cannot be made, written to or given its default files
        ReplayNotStarted, // the key log cannot be read, or the scratch folder made
        FolderInUse,      // another register on this computer works with the folder
        NotTakenOver,     // another computer's lock on the folder could not be removed
        TakeOverDeclined, // the trainee answered No to taking another computer's folder
    };
    Kind kind;
    QString text; // what the trainee reads; empty after the No, which needs no more words
};

// What a step of the start-up made, or why the register does not start.
template <typename T> class Started {
  public:
    Started(T made) : made_(std::move(made)) {}
    Started(StartProblem problem) : problem_(std::move(problem)) {}
    explicit operator bool() const { return made_.has_value(); }
    T& operator*() { return *made_; }
    const T& operator*() const { return *made_; }
    const T* operator->() const { return &*made_; }
    const StartProblem& problem() const { return *problem_; }

  private:
    std::optional<T> made_;
    std::optional<StartProblem> problem_;
};

// The problem in a box. A refusal over the folder's lock goes to standard error as well: a
// room's start script, or a trainee who started a second copy from a terminal, reads it there.
void tellStartProblem(const StartProblem& problem, MessageBoxes& messages);

// The message box text naming the folder and the reason.
QString dataFolderMessage(const DataFolderError& error);
StartProblem dataFolderProblem(const DataFolderError& error);

// A replay's key log or scratch folder could not be used (`reason` names which and why).
StartProblem replayProblem(const QString& reason);

// A second register was started on a folder another one is working with.
StartProblem folderInUseProblem(const QString& folder);

// The folder's lock is another computer's, taken at `since`: which computer, and that the lock
// may be left over from a computer switched off (or a USB stick pulled) with the register on.
QString folderHeldElsewhereMessage(const QString& folder, const QString& computer,
                                   const QDateTime& since);
// The question that follows it: take the folder over for this register?
QString folderTakeOverQuestion(const QString& folder, const QString& computer,
                               const QDateTime& since);
// The other computer's lock could not be removed.
StartProblem folderNotTakenOverProblem(const QString& folder, const QString& computer,
                                       const QDateTime& since);
// The trainee answered No to the question.
StartProblem takeOverDeclined();

} // namespace tarvel
