#pragma once
// An exercise written out as the file an instructor would write by hand (the keys of
// data/exercises/README.md), so the reader takes it back as the same work. Made for the work
// the register recorded: it gets a plain title and a task built from the work, for the
// instructor to put into their own words in any text editor.

#include "exercises/exercise.h"

#include <QByteArray>

namespace tarvel {

// "Новое упражнение", with a task that lists the work in order.
Exercise recordedExercise(const QList<ExerciseItem>& work);

// "Пробейте чек: отдел 01 — 78.50 ₽; покупатель платит наличными: даёт 100.00 ₽.", one
// line per piece of work, numbered when there are several.
QString taskFor(const QList<ExerciseItem>& work);

// The exercise file's text, in UTF-8; each table has a comment saying what it is.
QByteArray exerciseToml(const Exercise& exercise);

struct SavedExercise {
    bool written = false;
    QString path;    // where the file went, when written
    QString message; // for the instructor: where it went, or why it was not written
};

// Writes the recorded work whole into `path`, or, when a file of that name has appeared since
// the start, beside it under a free name: an instructor's file is never replaced. `keyLogPath`
// (empty when there is none) is named when the work could not be written, so it is not lost.
SavedExercise saveRecordedExercise(const QList<ExerciseItem>& work, const QString& path,
                                   const QString& keyLogPath);

} // namespace tarvel
