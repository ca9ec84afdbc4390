// The instructor's window over a class of 200 trainees with 50 attempts each (twice the
// largest class, and a term's work): the group read whole, against the plain reading of the
// same files' bytes from the disk, and the key log of one attempt found among the class's.
//
//   build/bench/tarvel_group_bench [Google Benchmark flags]

#include "ratios.h"

#include "exercises/group_results.h"
#include "exercises/key_log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace tarvel;
using namespace tarvel::bench;

namespace {

constexpr int kTrainees = 200;
constexpr int kAttempts = 50;

QTemporaryDir* gGroup = nullptr;
qint64 gBytes = 0;
QList<QByteArray> gFiles; // every results.csv, for the parse alone

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// Each trainee's results.csv and a key log for every attempt, as the registers leave them.
void makeGroup(const QString& root) {
    const QDateTime start(QDate(2026, 9, 1), QTime(9, 0));
    for (int i = 0; i < kTrainees; ++i) {
        const QDir folder(QDir(root).filePath(QStringLiteral("ученик_%1").arg(i)));
        folder.mkpath(QStringLiteral("keys"));
        QByteArray csv = QByteArrayLiteral("\xEF\xBB\xBF");
        for (int n = 0; n < kAttempts; ++n) {
            ResultRow row;
            row.trainee = QStringLiteral("Иванова-%1 Анна Сергеевна").arg(i);
            row.title = QStringLiteral("Упражнение %1: покупка со сдачей и возвратом").arg(n % 12);
            row.result = {n % 6, 5, 60 + n, 40 + n, n % 3, 0, n % 4 != 0};
            row.result.mistakes = {{MistakeKind::WrongDepartment, 1 + n % 2},
                                   {MistakeKind::WrongChange, 1}};
            const QDateTime began = start.addDays(n).addSecs(i * 7);
            row.when = began.addSecs(row.result.seconds);
            csv += resultLine(row);
            write(folder.filePath(QStringLiteral("keys/") + keyLogFileName(began, row.trainee)),
                  keyLogHead({QStringLiteral("0.1"), row.trainee, row.title, began, {}}));
        }
        write(folder.filePath(kResultsFileName), csv);
        gFiles << csv;
        gBytes += csv.size();
    }
}

// The least any reading costs: the folder listed and every results.csv read into memory.
void ReadFloor(benchmark::State& state) {
    for (auto _ : state) {
        const QDir root(gGroup->path());
        for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile file(root.filePath(name + u'/' + kResultsFileName));
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll().constData());
        }
    }
    state.SetBytesProcessed(state.iterations() * gBytes);
}

void ReadGroup(benchmark::State& state) {
    for (auto _ : state) {
        const GroupResults group = readGroup(gGroup->path());
        if (group.trainees.size() != kTrainees) state.SkipWithError("not every trainee read");
        benchmark::DoNotOptimize(group.cells.constData());
    }
    state.SetBytesProcessed(state.iterations() * gBytes);
}

// The rows parsed from the bytes in memory: what the reading costs beyond the disk.
void ParseOnly(benchmark::State& state) {
    for (auto _ : state)
        for (const QByteArray& csv : gFiles)
            benchmark::DoNotOptimize(parseResults(csv).rows.constData());
    state.SetBytesProcessed(state.iterations() * gBytes);
}

// The replay button: the log of one attempt among its trainee's fifty.
void KeyLogOf(benchmark::State& state) {
    const GroupResults group = readGroup(gGroup->path());
    const TraineeRecord& trainee = group.trainees[kTrainees / 2];
    for (auto _ : state)
        if (keyLogOf(trainee, trainee.attempts[kAttempts / 2]).isEmpty())
            state.SkipWithError("no log found");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    QTemporaryDir group;
    gGroup = &group;
    makeGroup(group.path());
    std::printf("group: %d trainees x %d attempts, results files %.2f MB\n", kTrainees, kAttempts,
                gBytes / 1048576.0);

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("ReadFloor", ReadFloor)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("ReadGroup", ReadGroup)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("ParseOnly", ParseOnly)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("KeyLogOf", KeyLogOf)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nRatios (medians):\n");
    printRatio(reporter, "readGroup / (list + read the files)", "ReadGroup", "ReadFloor", 0);
    printRatio(reporter, "parse alone / readGroup", "ParseOnly", "ReadGroup", 0);
    const auto read = reporter.medians.find("ReadGroup");
    if (read != reporter.medians.end())
        std::printf("readGroup %.1f ms (target < 1000 ms: %s)\n", read->second.realNs / 1e6,
                    read->second.realNs < 1e9 ? "met" : "MISSED");
    return 0;
}
