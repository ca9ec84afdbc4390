#include "exercises/exercise_listing.h"

#include "exercises/exercise_file.h"

#include <QCollator>
#include <QDir>

namespace tarvel {

QList<ListedExercise> listExercises(const QString& folder) {
    const QDir dir(folder);
    QStringList names = dir.entryList({QStringLiteral("*.toml")}, QDir::Files);
    QCollator numeric;
    numeric.setNumericMode(true); // "2_..." before "10_..."
    std::sort(names.begin(), names.end(), numeric);
    QList<ListedExercise> out;
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        const ExerciseLoad load = readExerciseFile(path);
        out.append({path, load.exercise ? load.exercise->title : QString(), load.error});
    }
    return out;
}

} // namespace tarvel
