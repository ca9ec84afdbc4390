#pragma once
// The program's command line: what the trainee or instructor asked for, checked before
// anything starts. Started without arguments the register runs as it always has.

#include <QString>
#include <QStringList>
#include <optional>

namespace tarvel {

struct CommandLine {
    QString dataDir;     // --data-dir: the data folder; empty for the usual rule
    QString exercise;    // --exercise: an exercise file, or a folder to choose one from
    QString trainee;     // --trainee: who works, for the results and the key log
    bool record = false; // --record: keep a key log of this run
    QString replay;      // --replay: a key log to play back on the panel
    double speed = 1.0;  // --speed: how many times faster than recorded a replay runs
    // --new-exercise: the exercise file the instructor's work on the panel is written to
    QString newExercise;
    // --class: a class's folder (one data folder per trainee) shown in the window "Журнал
    // группы"; nothing else starts
    QString classDir;

    // --take-over: take the folder from another computer's lock without asking
    bool takeOver = false;
};

struct CommandLineParse {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    CommandLine options;
    QString error; // for Refuse: what is wrong, in Russian
};

// Reads the arguments (the program's own name first, as in argv). Only looks at the disk to
// see that a named exercise or key log is there.
CommandLineParse parseCommandLine(const QStringList& arguments);

// The text --help prints: every option and where the data files are kept.
QString commandLineHelp();

// "Tarvel <version>".
QString versionText();

// For help, version and refused arguments: prints the answer (refusals on standard error) and
// returns the exit code, 0 or 2. Returns nothing when the register is to start.
std::optional<int> answerWithoutStarting(const CommandLineParse& parse);

} // namespace tarvel
