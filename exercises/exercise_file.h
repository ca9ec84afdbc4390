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

// The title alone, for a list of many files: read from the keys before the first table,
// whatever the size of the rest. A mistake further on is found when the file is read whole.
struct ExerciseTitle {
    QString title;
    QString error; // set when there is no title
};
ExerciseTitle readExerciseTitle(const QString& path);

// How a receipt's file says it is paid, in its key "close": "plain" (closed without a payment),
// "cash" or "card".
QString closeWord(Payment payment);

} // namespace tarvel
