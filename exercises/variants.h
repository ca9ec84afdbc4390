#pragma once
// Variants of one exercise: amounts the instructor wrote as "{name}" are drawn for each run
// from the ranges of [values], so trainees side by side get their own numbers and cannot copy.
//
// A run draws from a seed, a 32-bit number kept in the key log and results.csv. The same seed
// gives the same amounts on every computer: the values are drawn from Qt's own generator
// (seeded, it is the same Mersenne twister everywhere) in the order the file defines them.

#include "exercises/exercise.h"

#include <QHash>

namespace tarvel {

// The receipt total as the register keeps it: each amount added in double precision and
// stored in single precision, so 78.90 is kept as 78.9000015.
double registerTotal(const QList<ExpectedLine>& lines);

// What a customer paying cash hands over: the smallest banknote (50, 100, 200, 500, 1000,
// 2000 or 5000 roubles) that covers the total as the register keeps it. Above 5000 roubles
// there is no bigger banknote: the customer gives as many 5000s as it takes.
Kopecks banknoteFor(double total);

// The item with the named amounts put in, and its banknote worked out for the new total.
void putValues(ExerciseItem& item, const QHash<QString, Kopecks>& values);
// "{name}" in a text replaced by the value, as "45.50"; other braces stay as they are.
QString withValues(QString text, const QHash<QString, Kopecks>& values);

// The exercise with its values drawn from `seed`: the items and the task show them. The title
// stays one for every variant: results.csv and the group's journal gather attempts by it.
Exercise drawVariant(Exercise exercise, quint32 seed);

// The exercise as a run gets it: without values, as it is (and no seed); with values, drawn
// from `seed` (a recorded run's, to see the same amounts again) or from a fresh random one.
Exercise exerciseForRun(Exercise exercise, std::optional<quint32> seed = std::nullopt);

} // namespace tarvel
