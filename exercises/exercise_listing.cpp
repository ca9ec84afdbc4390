#include "exercises/exercise_listing.h"

#include "exercises/exercise_file.h"
#include "storage/file_names.h"

#include <QCollator>
#include <QDir>

namespace tarvel {

QList<ListedExercise> listExercises(const QString& folder) {
    const QDir dir(folder);
    QStringList names = dir.entryList({QStringLiteral("*.toml")}, QDir::Files);
    // Qt leaves out a name that is not UTF-8: it is listed, with the reason it cannot be opened.
    for (const QString& name : unreadableNames(folder))
        if (name.endsWith(QStringLiteral(".toml"), Qt::CaseInsensitive)) names << name;
    // "2_..." before "10_...", and Russian names in the alphabet's order, also where the system
    // runs in the C locale, whose collation knows no numbers.
    QCollator numeric(QLocale(QLocale::Russian, QLocale::Russia));
    numeric.setNumericMode(true);
    std::sort(names.begin(), names.end(), numeric);
    QList<ListedExercise> out;
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        ExerciseTitle read = readExerciseTitle(path);
        out.append({path, std::move(read.title), std::move(read.error)});
    }
    return out;
}

} // namespace tarvel
