// The command line: what is accepted, what is refused and why, and the real program's answers.

#include "app/command_line.h"
#include "app/start_problem.h"
#include "support/fakes.h"
#include "support/named_rows.h"

#include "storage/data_location.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

using Action = CommandLineParse::Action;

struct ParseCase : NamedRow {
    // separated by "|"; @file, @dir, @none, @raw, @long and @new are filled in
    const char* arguments;
    Action action;
    const char* result = ""; // what was asked for (see asked()), or the refusal
};

// The options that differ from a plain start, in a line.
QString asked(const CommandLine& line) {
    QStringList parts;
    if (!line.dataDir.isEmpty()) parts << "data " + line.dataDir;
    if (!line.exercise.isEmpty()) parts << "exercise " + line.exercise;
    if (!line.trainee.isEmpty()) parts << "trainee " + line.trainee;
    if (line.record) parts << "record";
    if (!line.replay.isEmpty()) parts << "replay " + line.replay;
    if (line.speed != 1.0) parts << "speed " + QString::number(line.speed);
    if (line.takeOver) parts << "take over";
    if (!line.newExercise.isEmpty()) parts << "new exercise " + line.newExercise;
    if (!line.classDir.isEmpty()) parts << "class " + line.classDir;
    return parts.join("; ");
}

// Paths that exist or do not, for the rows. @raw names a file whose name is in windows-1251, as
// main() reads it from the system.
struct Paths {
    TempDataDir dir;
    RawNamedFile raw{dir.folder(), "\xCF\xF0\xE8.toml", "x"};
    Paths() { dir.writeBytes("keys.log", "x"); }
    QString fill(QString text) const {
        return text.replace("@file", dir.path("keys.log"))
            .replace("@raw", raw.path())
            .replace("@dir", dir.path("folder").chopped(7))
            .replace("@none", dir.path("none.toml"))
            .replace("@new", dir.path("новое.toml"))
            .replace("@long", QString(61, QChar(u'я')))
            .replace("@notUtf8", "в имени " + raw.path() +
                                     " есть знаки не в кодировке UTF-8 (показаны как �): по "
                                     "такому имени файл не открыть, переименуйте его")
            .replace("@control", "в имени обучаемого не должно быть переводов строки, табуляций "
                                 "и других управляющих знаков")
            .replace("@speed", "— нужно число от 0.1 до 100")
            .replace("@classAlone", "«--class» не сочетается с «--exercise», «--replay», "
                                    "«--new-exercise» и «--record»: журнал группы открывается "
                                    "отдельно");
    }
};

class CommandLineTest : public testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineTest, ReadsTheArguments) {
    const ParseCase& c = GetParam();
    const Paths paths;
    if (QString(c.result).contains("@notUtf8") && !paths.raw.unreadable())
        GTEST_SKIP() << "every file name reads on this system";
    QStringList arguments{"tarvel"};
    if (*c.arguments) arguments += paths.fill(c.arguments).split('|');
    const CommandLineParse parse = parseCommandLine(arguments);
    EXPECT_EQ(parse.action, c.action);
    const QString result = c.action == Action::Refuse ? parse.error : asked(parse.options);
    EXPECT_EQ(result, paths.fill(c.result));
}

const ParseCase kCases[] = {
    {"NoArguments", "", Action::Run},
    {"DataDirWithEquals", "--data-dir=/tmp/ivanova", Action::Run, "data /tmp/ivanova"},
    {"OneDashLongOption", "-data-dir|/tmp/ivanova", Action::Run, "data /tmp/ivanova"},
    {"OneDashOptionTwice", "-data-dir|a|-data-dir=b", Action::Refuse,
     "«-data-dir» указан больше одного раза"},
    {"ExerciseFileForATrainee", "--exercise|@file|--trainee|Иванова А.", Action::Run,
     "exercise @file; trainee Иванова А."},
    {"ExerciseFolder", "--exercise|@dir", Action::Run, "exercise @dir"},
    {"RecordForATrainee", "--record|--trainee|  Петров ", Action::Run, "trainee Петров; record"},
    {"ReplayWithADecimalComma", "--replay|@file|--speed|2,5", Action::Run,
     "replay @file; speed 2.5"},
    {"ReplayAtTheSlowest", "--replay|@file|--speed|0.1", Action::Run, "replay @file; speed 0.1"},
    {"TakeOverInAClassroom", "--data-dir|/mnt/kassa|--take-over", Action::Run,
     "data /mnt/kassa; take over"},
    {"HelpBeforeOtherChecks", "--speed|0|--help", Action::ShowHelp},
    {"VersionShort", "-v", Action::ShowVersion},
    {"UnknownShortOption", "-x", Action::Refuse, "неизвестный параметр «-x»"},
    {"QtsOwnOptionAsTyped", "-platform|offscreen", Action::Refuse,
     "неизвестный параметр «-platform»"},
    {"MissingValue", "--data-dir", Action::Refuse, "после «--data-dir» нужно значение"},
    {"EmptyValue", "--data-dir=", Action::Refuse, "после «--data-dir» нужно значение"},
    {"FlagWithAValue", "--record=yes", Action::Refuse, "«--record» пишется без значения"},
    {"StrayArgument", "bazasmen.txt", Action::Refuse, "лишний аргумент «bazasmen.txt»"},
    {"MissingExercise", "--exercise|@none", Action::Refuse, "нет файла или папки упражнения @none"},
    {"ExerciseNameNotUtf8", "--exercise|@raw", Action::Refuse, "@notUtf8"},
    {"ReplayOfAFolder", "--replay|@dir", Action::Refuse, "нет файла записи @dir"},
    {"TraineeAlone", "--trainee|Иванова", Action::Refuse,
     "«--trainee» задаётся вместе с «--exercise», «--record» или «--new-exercise»"},
    {"NewExercise", "--new-exercise|@new|--trainee|Петрова", Action::Run,
     "trainee Петрова; new exercise @new"},
    {"NewExerciseOverAFile", "--new-exercise|@file", Action::Refuse,
     "файл @file уже есть: укажите другое имя, новое упражнение не записывается поверх старого"},
    {"NewExerciseInAMissingFolder", "--new-exercise|@none/a.toml", Action::Refuse,
     "нет папки @none для файла упражнения"},
    {"NewExerciseIntoAFolder", "--new-exercise|@dir", Action::Refuse,
     "@dir — это папка: укажите имя нового файла упражнения"},
    {"NewExerciseNotToml", "--new-exercise|@none.txt", Action::Refuse,
     "имя файла упражнения кончается на .toml (например, @none.txt.toml): другие файлы список "
     "упражнений не показывает"},
    {"NewExerciseTwice", "--new-exercise|@new|--new-exercise|@none", Action::Refuse,
     "«--new-exercise» указан больше одного раза"},
    {"NewExerciseWhileDoingOne", "--new-exercise|@new|--exercise|@file", Action::Refuse,
     "«--new-exercise» не сочетается с «--exercise» и «--replay»"},
    {"NewExerciseFromAReplay", "--new-exercise|@new|--replay|@file", Action::Refuse,
     "«--new-exercise» не сочетается с «--exercise» и «--replay»"},
    {"NewExerciseNameNotUtf8", "--new-exercise|@raw", Action::Refuse, "@notUtf8"},
    {"TraineeWithASlash", "--record|--trainee|../Иванова", Action::Refuse,
     "в имени обучаемого не должно быть знаков / и \\"},
    {"TraineeWithANewline", "--record|--trainee|Иванова\nА.", Action::Refuse, "@control"},
    {"TraineeWithATab", "--exercise|@file|--trainee|Иванова\tА.", Action::Refuse, "@control"},
    {"TraineeTooLong", "--record|--trainee|@long", Action::Refuse,
     "имя обучаемого длиннее 60 знаков"},
    {"Class", "--class|@dir", Action::Run, "class @dir"},
    {"ClassOfAFile", "--class|@file", Action::Refuse, "нет папки группы @file"},
    {"ClassWithAnExercise", "--class|@dir|--exercise|@file", Action::Refuse, "@classAlone"},
    {"ClassWithAReplay", "--replay|@file|--class|@dir", Action::Refuse, "@classAlone"},
    {"ClassWithANewExercise", "--class|@dir|--new-exercise|@new", Action::Refuse, "@classAlone"},
    {"ClassWhileRecording", "--class|@dir|--record", Action::Refuse, "@classAlone"},
    {"ReplayWhileRecording", "--replay|@file|--record", Action::Refuse,
     "«--replay» не сочетается с «--exercise» и «--record»"},
    {"SpeedWithoutReplay", "--speed|2", Action::Refuse,
     "«--speed» задаётся только вместе с «--replay»"},
    {"SpeedZero", "--replay|@file|--speed|0", Action::Refuse, "скорость «0» @speed"},
    {"SpeedTooHigh", "--replay|@file|--speed|101", Action::Refuse, "скорость «101» @speed"},
    {"SpeedInWords", "--replay|@file|--speed|fast", Action::Refuse, "скорость «fast» @speed"},
    {"SpeedNotANumber", "--replay|@file|--speed|nan", Action::Refuse, "скорость «nan» @speed"},
};

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineTest, testing::ValuesIn(kCases), rowName);

struct ProgramCase : NamedRow {
    const char* arguments; // separated by "|"
    int exitCode;
    const char* out; // parts of standard output, separated by "|"
    const char* err; // a part of standard error
};

class ProgramAnswerTest : public testing::TestWithParam<ProgramCase> {};

// Without a display, so a window started would abort; the per-user folder (scratch) stays empty.
TEST_P(ProgramAnswerTest, AnswersWithoutStarting) {
    const ProgramCase& c = GetParam();
    TempDataDir home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("XDG_DATA_HOME", home.path({}));
    program.setProcessEnvironment(env);
    program.start(TARVEL_EXECUTABLE, QString(c.arguments).split('|'));
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), c.exitCode);
    // A Windows console ends lines with CR LF.
    const auto read = [](const QByteArray& bytes) { return QString::fromUtf8(bytes).remove('\r'); };
    const QString out = read(program.readAllStandardOutput());
    for (const QString& part : QString(c.out).split('|'))
        EXPECT_TRUE(out.contains(QString(part).replace("@perUser", perUserFolderHint())))
            << part.toStdString();
    EXPECT_TRUE(read(program.readAllStandardError()).contains(c.err));
    EXPECT_TRUE(QDir(home.path({})).isEmpty());
}

const ProgramCase kProgramCases[] = {
    {"Version", "--version", 0, "Tarvel " TARVEL_VERSION "\n", ""},
    {"HelpTellsTheOptionsAndThePerUserFolder", "-h", 0,
     "--data-dir ПАПКА|@perUser|--take-over|--new-exercise ФАЙЛ|--class ПАПКА", ""},
    {"UnknownOption", "--fullscreen", 2, "",
     "tarvel: неизвестный параметр «--fullscreen»\nСправка: tarvel --help\n"},
};

INSTANTIATE_TEST_SUITE_P(RealProgram, ProgramAnswerTest, testing::ValuesIn(kProgramCases), rowName);

// Whatever stops the start, the trainee reads which folder, why, and how to pick another.
TEST(DataFolderMessage, NamesTheFolderTheReasonAndTheWayOut) {
    using Kind = DataFolderError::Kind;
    const FileError full{"/home/kassa", FileProblem::NoSpace};
    const QString folder = "/home/kassa/Tarvel";
    const std::pair<DataFolderError, QString> cases[] = {
        {{Kind::NotAFolder, folder, FileError{"/home/kassa", FileProblem::NotAFile}, {}},
         "папку данных " + folder + ": /home/kassa — это файл, а не папка."},
        {{Kind::NotWritable, folder, FileError{"/home/kassa", FileProblem::NoPermission}, {}},
         "папку данных " + folder + ": нет права записи в папку /home/kassa."},
        {{Kind::CannotSeed, folder, full, "a.txt"},
         "файл a.txt в папку данных " + folder + ": нет места на диске."},
        // A path that would run off the box keeps its head and its last names.
        {{Kind::CannotCreate, "/home/kassa/" + QString(200, 'x') + "/Tarvel", full, {}},
         "папку данных /home/kassa/" + QString(28, 'x') + "…" + QString(52, 'x') +
             "/Tarvel: нет места на диске."},
    };
    for (const auto& [error, expected] : cases) {
        const QString text = dataFolderMessage(error);
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(expected))) << text.toStdString();
        EXPECT_TRUE(text.endsWith("tarvel --data-dir ПАПКА")) << text.toStdString();
    }
}

} // namespace
