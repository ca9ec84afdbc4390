#pragma once
// The amounts of an exercise file: money as the instructor writes it ("78.90"), the named
// values drawn for each run ([values] and "{name}" in place of an amount), and the money the
// customer hands over. Only the exercise file's reader includes this (it needs toml++).
//
//     [values]
//     a = { from = "10.00", to = "99.50", step = "0.50" }   # 10.00, 10.50, ... 99.50

#include "exercises/exercise.h"

#include <toml++/toml.h>

namespace tarvel {

// What is wrong in an exercise file, and the line it was found on (0: the file as a whole).
struct ExerciseFileFault {
    int line = 0;
    QString what;
};

[[noreturn]] void failAt(const toml::source_region& where, const QString& what);
QString tomlText(std::string_view utf8);
// «key», for messages.
QString quoted(std::string_view utf8);

// "78.90", "78,90", "78" or the integer 78: more than zero, as many digits as the register
// shows.
Kopecks moneyOf(const toml::node& node);

// The [values] table in the order the file writes it, the order the values are drawn in.
QList<ValueRange> valuesOf(const toml::table& root);

// Reads the amounts of the work. "{name}" stands for a value: the item notes where it goes and
// holds the value at its lowest until a run draws its own.
class AmountReader {
  public:
    explicit AmountReader(QList<ValueRange> values) : values_(std::move(values)) {}

    Kopecks read(const toml::node& node, ExerciseItem& item, AmountPlace place,
                 qsizetype index = 0) const;
    // A cash receipt's "tendered" (its lines read): "banknote", one amount or a list of them.
    void readTenders(const toml::node& node, ExerciseItem& item) const;
    // A text the trainee reads may show values; "{name}" of none is a slip.
    void checkNames(const toml::node& node) const;

  private:
    void checkTenders(const toml::node& node, const ExerciseItem& item) const;

    QList<ValueRange> values_;
};

} // namespace tarvel
