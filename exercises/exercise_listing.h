#pragma once
// The exercises of a folder, for the chooser: each .toml file by its title, or with the reason
// it cannot be used. Only what stands before a file's first table is parsed, so a folder of
// big files lists at once; a mistake further on is told when the exercise is chosen.

#include <QList>
#include <QString>

namespace tarvel {

struct ListedExercise {
    QString path;
    QString title; // empty when the file cannot be used
    QString error; // the reader's message when it cannot
};

// In the order of the file names, which an instructor numbers from easy to hard.
QList<ListedExercise> listExercises(const QString& folder);

} // namespace tarvel
