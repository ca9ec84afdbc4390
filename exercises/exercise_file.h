#pragma once
// Exercise files: one TOML file (UTF-8) per exercise, written by an instructor in any text
// editor. data/exercises/README.md describes the keys; the work is expected in the order it
// stands in the file.
//
// A file that cannot be used gets one Russian message naming the file, the line and what is
// wrong; the panel then runs without an exercise.

#include "exercises/exercise.h"

#include <QByteArrayView>
#include <optional>

namespace tarvel {

struct ExerciseLoad {
    std::optional<Exercise> exercise;
    QString error; // set when there is no exercise
};

// `fileName` only names the file in messages.
ExerciseLoad parseExercise(QByteArrayView text, const QString& fileName);
ExerciseLoad readExerciseFile(const QString& path);

} // namespace tarvel
