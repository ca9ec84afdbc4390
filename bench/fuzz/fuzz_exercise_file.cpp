// An exercise file as any editor may leave it: read by the exercise reader, which either gives
// an exercise that can be checked or one message naming the file, never both and never none.
// The seeds (bench/run_fuzzers.sh) hold a dotted key and a table header some 40 000 levels deep:
// the reader must refuse them before the TOML parser, which would run off the stack.

#include "exercises/exercise_file.h"
#include "fuzz_check.h"

#include <cstdint>

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ExerciseLoad load = parseExercise(bytes, QStringLiteral("f.toml"));
    FUZZ_CHECK(load.exercise.has_value() == load.error.isEmpty());
    if (!load.exercise) {
        FUZZ_CHECK(load.error.startsWith(QStringLiteral("Упражнение «f.toml»")));
        return 0;
    }
    const Exercise& exercise = *load.exercise;
    FUZZ_CHECK(!exercise.title.isEmpty() && !exercise.task.isEmpty() && !exercise.items.isEmpty());
    int previousLine = 0;
    for (const ExerciseItem& item : exercise.items) {
        // The work comes in the order it stands in the file.
        FUZZ_CHECK(item.sourceLine >= previousLine);
        previousLine = item.sourceLine;
        FUZZ_CHECK(!describeItem(item).isEmpty());
        if (item.kind != ItemKind::Receipt) continue;
        FUZZ_CHECK(!item.receipt.lines.isEmpty());
        for (const ExpectedLine& line : item.receipt.lines)
            FUZZ_CHECK(line.department >= 1 && line.department <= 8 && line.amount > 0);
        FUZZ_CHECK((item.receipt.payment == Payment::Cash) == !item.receipt.tenders.isEmpty());
    }
    return 0;
}
