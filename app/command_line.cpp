#include "app/command_line.h"

#include "storage/data_location.h"
#include "storage/file_names.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace tarvel {

namespace {

const QString kDataDir = QStringLiteral("data-dir");
const QString kExercise = QStringLiteral("exercise");
const QString kTrainee = QStringLiteral("trainee");
const QString kRecord = QStringLiteral("record");
const QString kReplay = QStringLiteral("replay");
const QString kSpeed = QStringLiteral("speed");
const QString kTakeOver = QStringLiteral("take-over");
const QString kNewExercise = QStringLiteral("new-exercise");
const QString kClass = QStringLiteral("class");

constexpr double kSlowest = 0.1;
constexpr double kFastest = 100;
constexpr qsizetype kLongestTrainee = 60;

// Every option with its line in the help, in the order the help lists them.
QList<QCommandLineOption> options() {
    return {
        {{"h", "help"}, "Показать эту справку и выйти."},
        {{"v", "version"}, "Показать версию и выйти."},
        {kDataDir, "Хранить файлы в этой папке (она создаётся, если её нет).", "ПАПКА"},
        {kExercise, "Упражнение из файла или выбор из папки упражнений.", "ФАЙЛ|ПАПКА"},
        {kTrainee, "Имя обучаемого: для результатов и записи нажатий.", "ИМЯ"},
        {kRecord, "Записать нажатия клавиш этого запуска."},
        {kReplay, "Показать на панели записанные нажатия.", "ЗАПИСЬ"},
        {kSpeed, "Скорость показа: 1 — как записано, 2 — вдвое быстрее.", "N"},
        {kNewExercise, "Записать новое упражнение в этот файл, когда панель закроется.", "ФАЙЛ"},
        {kClass, "Журнал группы: результаты обучаемых, чьи папки лежат в этой папке.", "ПАПКА"},
        {kTakeOver, "Не спрашивая занять папку, занятую кассой другого компьютера."},
    };
}

// Qt tells a parse failure in English with the option in quotes; the trainee reads Russian.
QString parseFailure(const QCommandLineParser& parser) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("неизвестный параметр «%1»")
            .arg(unknown.first().size() == 1 ? "-" + unknown.first() : "--" + unknown.first());
    static const QRegularExpression quoted(QStringLiteral("'([^']*)'"));
    const QString text = parser.errorText();
    const QString option = quoted.match(text).captured(1);
    if (text.startsWith(QLatin1String("Missing value")))
        return QStringLiteral("после «%1» нужно значение").arg(option);
    if (text.startsWith(QLatin1String("Unexpected value")))
        return QStringLiteral("«%1» пишется без значения").arg(option);
    return text;
}

// The value of an option given once; `error` is set when it was given more than once or empty.
QString single(const QCommandLineParser& parser, const QString& name, QString& error) {
    const QStringList values = parser.values(name);
    if (values.size() > 1) error = QStringLiteral("«--%1» указан больше одного раза").arg(name);
    if (values.size() == 1 && values.first().trimmed().isEmpty())
        error = QStringLiteral("после «--%1» нужно значение").arg(name);
    return values.isEmpty() ? QString() : values.first();
}

// The name goes into a file name and onto one line of results.csv and the key log's head.
QString traineeProblem(const QString& name) {
    static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f\\x7f]"));
    static const QRegularExpression slash(QStringLiteral("[/\\\\]"));
    if (name.size() > kLongestTrainee)
        return QStringLiteral("имя обучаемого длиннее %1 знаков").arg(kLongestTrainee);
    if (name.contains(control))
        return QStringLiteral("в имени обучаемого не должно быть переводов строки, табуляций и "
                              "других управляющих знаков");
    if (name.contains(slash))
        return QStringLiteral("в имени обучаемого не должно быть знаков / и \\");
    return {};
}

// Reads --speed: a decimal with a point or a comma, within what a replay can show.
std::optional<double> speedOf(QString text) {
    bool number = false;
    const double speed = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&number);
    if (!number || !std::isfinite(speed) || speed < kSlowest || speed > kFastest)
        return std::nullopt;
    return speed;
}

// The file a new exercise goes to: a new .toml file (the exercise list shows no other) in a
// folder that is there. An instructor's file is never written over.
QString newExerciseProblem(const QString& path) {
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("%1 — это папка: укажите имя нового файла упражнения").arg(path);
    if (file.exists())
        return QStringLiteral("файл %1 уже есть: укажите другое имя, новое упражнение не "
                              "записывается поверх старого")
            .arg(path);
    if (!file.dir().exists())
        return QStringLiteral("нет папки %1 для файла упражнения").arg(file.dir().path());
    if (file.suffix().compare(QLatin1String("toml"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("имя файла упражнения кончается на .toml (например, %1.toml): "
                              "другие файлы список упражнений не показывает")
            .arg(path);
    return {};
}

// The checks of the options that only make sense together.
QString combinationProblem(const CommandLine& line, const QString& speed) {
    if (!line.trainee.isEmpty() && line.exercise.isEmpty() && !line.record &&
        line.newExercise.isEmpty())
        return QStringLiteral("«--trainee» задаётся вместе с «--exercise», «--record» или "
                              "«--new-exercise»");
    if (!line.replay.isEmpty() && (!line.exercise.isEmpty() || line.record))
        return QStringLiteral("«--replay» не сочетается с «--exercise» и «--record»");
    if (!line.newExercise.isEmpty() && (!line.exercise.isEmpty() || !line.replay.isEmpty()))
        return QStringLiteral("«--new-exercise» не сочетается с «--exercise» и «--replay»");
    if (!line.classDir.isEmpty() && (!line.exercise.isEmpty() || !line.replay.isEmpty() ||
                                     !line.newExercise.isEmpty() || line.record))
        return QStringLiteral("«--class» не сочетается с «--exercise», «--replay», "
                              "«--new-exercise» и «--record»: журнал группы открывается отдельно");
    if (!speed.isEmpty() && line.replay.isEmpty())
        return QStringLiteral("«--speed» задаётся только вместе с «--replay»");
    return {};
}

// The checks of each value and of options that only make sense together.
QString problemWith(const QCommandLineParser& parser, CommandLine& line) {
    QString error;
    line.dataDir = single(parser, kDataDir, error);
    line.exercise = single(parser, kExercise, error);
    line.newExercise = single(parser, kNewExercise, error);
    line.trainee = single(parser, kTrainee, error).trimmed();
    line.replay = single(parser, kReplay, error);
    line.classDir = single(parser, kClass, error);
    const QString speed = single(parser, kSpeed, error);
    line.record = parser.isSet(kRecord);
    line.takeOver = parser.isSet(kTakeOver);
    if (!error.isEmpty()) return error;
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("лишний аргумент «%1»").arg(parser.positionalArguments().first());
    for (const QString& name : {line.exercise, line.replay, line.newExercise, line.classDir})
        if (isUnreadableName(name))
            return QStringLiteral("в имени %1 есть знаки не в кодировке UTF-8 (показаны как �): "
                                  "по такому имени файл не открыть, переименуйте его")
                .arg(name);
    if (!line.exercise.isEmpty() && !QFileInfo::exists(line.exercise))
        return QStringLiteral("нет файла или папки упражнения %1").arg(line.exercise);
    if (!line.replay.isEmpty() && !QFileInfo(line.replay).isFile())
        return QStringLiteral("нет файла записи %1").arg(line.replay);
    if (!line.classDir.isEmpty() && !QFileInfo(line.classDir).isDir())
        return QStringLiteral("нет папки группы %1").arg(line.classDir);
    if (!line.trainee.isEmpty() && !(traineeProblem(line.trainee).isEmpty()))
        return traineeProblem(line.trainee);
    if (const QString problem = combinationProblem(line, speed); !problem.isEmpty()) return problem;
    if (!line.newExercise.isEmpty() && !newExerciseProblem(line.newExercise).isEmpty())
        return newExerciseProblem(line.newExercise);
    if (!speed.isEmpty()) {
        const std::optional<double> value = speedOf(speed);
        if (!value)
            return QStringLiteral("скорость «%1» — нужно число от %2 до %3")
                .arg(speed)
                .arg(kSlowest)
                .arg(kFastest);
        line.speed = *value;
    }
    return {};
}

// One dash reads as two here ("-platform" as "--platform"): a refusal names each option the way
// it was typed.
QString asTyped(QString refusal, const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1)) {
        if (!argument.startsWith(u'-') || argument.startsWith(QLatin1String("--"))) continue;
        const QString option = argument.section(u'=', 0, 0);
        refusal.replace("«-" + option + "»", "«" + option + "»");
    }
    return refusal;
}

} // namespace

CommandLineParse parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(options());
    CommandLineParse result;
    if (!parser.parse(arguments)) {
        result.action = CommandLineParse::Action::Refuse;
        result.error = parseFailure(parser);
    } else if (parser.isSet(QStringLiteral("help"))) {
        result.action = CommandLineParse::Action::ShowHelp;
    } else if (parser.isSet(QStringLiteral("version"))) {
        result.action = CommandLineParse::Action::ShowVersion;
    } else if (QString error = problemWith(parser, result.options); !error.isEmpty()) {
        result.action = CommandLineParse::Action::Refuse;
        result.error = error;
    }
    result.error = asTyped(result.error, arguments);
    return result;
}

QString commandLineHelp() {
    QString text = QStringLiteral("Использование: tarvel [параметры]\n\n"
                                  "Tarvel — тренажёр кассира: передняя панель кассового аппарата.\n"
                                  "Без параметров запускается панель.\n\nПараметры:\n");
    for (const QCommandLineOption& option : options()) {
        QStringList names = option.names();
        for (QString& name : names)
            name.prepend(name.size() == 1 ? "-" : "--");
        QString left = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty()) left += ' ' + option.valueName();
        text += QStringLiteral("  %1 %2\n").arg(left, -24).arg(option.description());
    }
    return text + QStringLiteral(
                      "\nГде хранятся файлы: clishe.txt (заголовок чека), bazasmen.txt (журнал,\n"
                      "контрольная лента), spravoch.txt (справочник товаров):\n"
                      "  1. в папке, указанной в --data-dir;\n"
                      "  2. иначе в папке самой программы, если там уже есть хотя бы один из\n"
                      "     этих файлов (копия из папки сборки или с флешки);\n"
                      "  3. иначе в личной папке пользователя: %1.\n"
                      "В папку из пунктов 1 и 3 копируются недостающие стандартные файлы;\n"
                      "файлы, которые там уже есть, не заменяются.\n")
                      .arg(perUserFolderHint());
}

QString versionText() {
    return QStringLiteral("Tarvel " TARVEL_VERSION);
}

std::optional<int> answerWithoutStarting(const CommandLineParse& parse) {
    switch (parse.action) {
    case CommandLineParse::Action::ShowHelp:
        std::fputs(commandLineHelp().toUtf8().constData(), stdout);
        return 0;
    case CommandLineParse::Action::ShowVersion:
        std::fputs((versionText() + '\n').toUtf8().constData(), stdout);
        return 0;
    case CommandLineParse::Action::Refuse:
        std::fputs(("tarvel: " + parse.error + "\nСправка: tarvel --help\n").toUtf8().constData(),
                   stderr);
        return 2;
    case CommandLineParse::Action::Run:
        break;
    }
    return std::nullopt;
}

} // namespace tarvel
