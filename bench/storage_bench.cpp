// The journal's storage with a journal of tens of megabytes, each operation timed against its
// floor: the least any implementation must do (read and decode the file; encode and write it).
// At the end the ratios are printed with their targets.
//
//   build-f/bench/tarvel_storage_bench [--journal_mb=50] [Google Benchmark flags]

#include "journal_sample.h"
#include "ratios.h"

#include "register/cash_register.h"
#include "storage/codepage.h"
#include "storage/journal_file.h"
#include "storage/system_disk.h"
#include "storage/text_files.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <unistd.h>

using namespace tarvel;
using namespace tarvel::bench;

namespace {

// The data directories of one run: each benchmark that writes has its own.
struct Workspace {
    QTemporaryDir root;
    QString journal;        // the sample journal text
    QByteArray journalFile; // bazasmen.txt as the close writes it: journal and CR LF
    QuietPlatform platform;

    explicit Workspace(qsizetype megabytes) {
        journal = sampleJournal(megabytes * 1024 * 1024);
        journalFile = encodeWindows1251(journal).bytes + QByteArrayLiteral("\r\n");
    }
    // A fresh data directory holding the default header and the given journal file.
    DataDir dataDir(const QString& name, const QByteArray& journalBytes) const {
        QDir(root.path()).mkpath(name);
        const DataDir dir(root.filePath(name));
        write(dir.filePath(kHeaderFileName), encodeWindows1251(kDefaultHeader).bytes);
        write(dir.filePath(kJournalFileName), journalBytes);
        return dir;
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size() || !file.flush())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        // On the disk before any timing starts: no benchmark pays for writing back its data.
        ::fsync(file.handle());
    }
};

Workspace* gWorkspace = nullptr;

void setBytes(benchmark::State& state, qsizetype bytesPerIteration) {
    state.SetBytesProcessed(int64_t(state.iterations()) * bytesPerIteration);
}

// The least a read of a one-byte code page costs: the file read and each byte widened as it is.
void ReadDecodeFloor(benchmark::State& state) {
    const DataDir dir = gWorkspace->dataDir(QStringLiteral("floor_read"), gWorkspace->journalFile);
    for (auto _ : state) {
        QFile file(dir.filePath(kJournalFileName));
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        const QString text = QString::fromLatin1(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    setBytes(state, gWorkspace->journalFile.size());
}

// The same floor with what readJournal has besides: the bytes read into memory and widened
// into a text that both ask the system for large pages. Where a page fault is dear (a virtual
// machine) the plain floor pays mostly for its hundred thousand faults.
void ReadDecodeLargePagesFloor(benchmark::State& state) {
    const DataDir dir = gWorkspace->dataDir(QStringLiteral("floor_read"), gWorkspace->journalFile);
    for (auto _ : state) {
        QFile file(dir.filePath(kJournalFileName));
        file.open(QIODevice::ReadOnly);
        QByteArray bytes(file.size(), Qt::Uninitialized);
        preferLargePages(bytes.data(), bytes.size());
        file.read(bytes.data(), bytes.size());
        QString text(bytes.size(), Qt::Uninitialized);
        preferLargePages(text.data(), text.size() * qsizetype(sizeof(QChar)));
        const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
        char16_t* out = reinterpret_cast<char16_t*>(text.data());
        std::copy(in, in + bytes.size(), out); // each byte widened as it is
        benchmark::DoNotOptimize(text.constData());
    }
    setBytes(state, gWorkspace->journalFile.size());
}

// The conversion alone, on the journal in memory: the program's table, the plain widening or
// narrowing copy of the same characters (Latin-1: the least any one-byte code page costs), and
// ICU's windows-1251 converter, which the program used before it had its own table.
enum class Converter { Table, Latin1, Icu };

void DecodeBench(benchmark::State& state) {
    const auto converter = Converter(state.range(0));
    if (converter == Converter::Icu && !QStringDecoder("windows-1251").isValid())
        return state.SkipWithError("no windows-1251 converter in this Qt");
    const QByteArray& bytes = gWorkspace->journalFile;
    for (auto _ : state) {
        QString text = converter == Converter::Table ? *decodeWindows1251(bytes)
                       : converter == Converter::Latin1
                           ? QString::fromLatin1(bytes)
                           : QStringDecoder("windows-1251").decode(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    setBytes(state, bytes.size());
}

void EncodeBench(benchmark::State& state) {
    const auto converter = Converter(state.range(0));
    if (converter == Converter::Icu && !QStringEncoder("windows-1251").isValid())
        return state.SkipWithError("no windows-1251 converter in this Qt");
    const QString& text = gWorkspace->journal;
    for (auto _ : state) {
        QByteArray bytes = converter == Converter::Table ? encodeWindows1251(text).bytes
                           : converter == Converter::Latin1
                               ? text.toLatin1()
                               : QStringEncoder("windows-1251").encode(text);
        benchmark::DoNotOptimize(bytes.constData());
    }
    setBytes(state, text.size());
}

// What start-up's worker thread does: bazasmen.txt read and decoded.
void ReadJournalBench(benchmark::State& state) {
    const DataDir dir = gWorkspace->dataDir(QStringLiteral("load"), gWorkspace->journalFile);
    for (auto _ : state) {
        const JournalRead read = readJournal(dir.filePath(kJournalFileName));
        benchmark::DoNotOptimize(read.text.constData());
    }
    setBytes(state, gWorkspace->journalFile.size());
}

// Start-up's storage part: the journal read, taken in, and bazasmen.txt brought up to date
// (one CR LF).
void FormLoadBench(benchmark::State& state) {
    const DataDir dir = gWorkspace->dataDir(QStringLiteral("form_load"), gWorkspace->journalFile);
    QuietPlatform& p = gWorkspace->platform;
    for (auto _ : state) {
        CashRegister reg({p.clock, p.regional, p.printer, p.programEnd, dir});
        reg.start();
        benchmark::DoNotOptimize(reg.state().TxtCHLK.text().constData());
    }
    setBytes(state, gWorkspace->journalFile.size());
}

// The least a whole write costs: each character narrowed as it is, written (and synced).
void encodeAndWrite(const QString& path, const QString& text, bool sync) {
    const QByteArray bytes = text.toLatin1();
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    file.write("\r\n", 2);
    file.flush();
    if (sync) ::fdatasync(file.handle());
}

void EncodeWriteFloor(benchmark::State& state) {
    const DataDir dir = gWorkspace->dataDir(QStringLiteral("floor_write"), {});
    for (auto _ : state)
        encodeAndWrite(dir.filePath(kJournalFileName), gWorkspace->journal, false);
    setBytes(state, gWorkspace->journalFile.size());
}

void EncodeWriteSyncFloor(benchmark::State& state) {
    const DataDir dir = gWorkspace->dataDir(QStringLiteral("floor_write_sync"), {});
    for (auto _ : state)
        encodeAndWrite(dir.filePath(kJournalFileName), gWorkspace->journal, true);
    setBytes(state, gWorkspace->journalFile.size());
}

// A whole rewrite of bazasmen.txt, as start-up does once for a file edited by hand and a
// write does after a failure: encoded, written through a temporary file, synced, renamed.
void WriteWholeBench(benchmark::State& state) {
    const DataDir dir = gWorkspace->dataDir(QStringLiteral("save"), {});
    for (auto _ : state) {
        const QByteArray bytes = encodeWindows1251(gWorkspace->journal).bytes;
        writeFileWithCrLf(dir.filePath(kJournalFileName), bytes);
    }
    setBytes(state, gWorkspace->journalFile.size());
}

// One closed receipt reaching the journal: the text and the file (appended and synced).
void JournalAppendBench(benchmark::State& state) {
    const bool big = state.range(0) != 0;
    const DataDir dir =
        gWorkspace->dataDir(big ? QStringLiteral("append_big") : QStringLiteral("append_empty"),
                            big ? gWorkspace->journalFile : QByteArray());
    QuietPlatform& p = gWorkspace->platform;
    CashRegister reg({p.clock, p.regional, p.printer, p.programEnd, dir});
    reg.start();
    std::mt19937 random(2);
    const QString piece = sampleReceiptPiece(random);
    for (auto _ : state)
        reg.journal().append(piece);
    state.SetLabel(big ? QStringLiteral("%1 MB journal")
                             .arg(gWorkspace->journalFile.size() / 1048576)
                             .toStdString()
                       : std::string("empty journal"));
}

} // namespace

int main(int argc, char** argv) {
    qsizetype megabytes = 50;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--journal_mb=", 13) == 0) {
            megabytes = std::atoi(argv[i] + 13);
            for (int k = i; k + 1 < argc; ++k)
                argv[k] = argv[k + 1];
            --argc;
            --i;
        }
    }
    benchmark::Initialize(&argc, argv);
    Workspace workspace(megabytes);
    gWorkspace = &workspace;
    std::printf("journal file: %.1f MB windows-1251, %lld characters\n",
                workspace.journalFile.size() / 1048576.0, (long long)workspace.journal.size());

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("ReadDecodeFloor", ReadDecodeFloor)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("ReadDecodeLargePagesFloor", ReadDecodeLargePagesFloor)
        ->Unit(ms)
        ->UseRealTime();
    benchmark::RegisterBenchmark("ReadJournal", ReadJournalBench)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("FormLoad", FormLoadBench)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("EncodeWriteFloor", EncodeWriteFloor)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("EncodeWriteSyncFloor", EncodeWriteSyncFloor)
        ->Unit(ms)
        ->UseRealTime();
    benchmark::RegisterBenchmark("WriteWhole", WriteWholeBench)->Unit(ms)->UseRealTime();
    for (auto* b : {benchmark::RegisterBenchmark("Decode", DecodeBench),
                    benchmark::RegisterBenchmark("Encode", EncodeBench)})
        b->Arg(int(Converter::Table))
            ->Arg(int(Converter::Latin1))
            ->Arg(int(Converter::Icu))
            ->Unit(ms)
            ->UseRealTime();
    benchmark::RegisterBenchmark("JournalAppend", JournalAppendBench)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nRatios (medians):\n");
    printRatio(reporter, "decode / widening copy", "Decode/0", "Decode/1", 2.0);
    printRatio(reporter, "decode / ICU's decode", "Decode/0", "Decode/2", 1.0);
    printRatio(reporter, "encode / narrowing copy", "Encode/0", "Encode/1", 2.0);
    printRatio(reporter, "encode / ICU's encode", "Encode/0", "Encode/2", 1.0);
    printRatio(reporter, "readJournal / (readAll + widen)", "ReadJournal", "ReadDecodeFloor", 2.0);
    printRatio(reporter, "readJournal / (the same, large pages)", "ReadJournal",
               "ReadDecodeLargePagesFloor", 2.0);
    printRatio(reporter, "start storage / (readAll + widen)", "FormLoad", "ReadDecodeFloor", 0);
    printRatio(reporter, "whole write / (narrow + write + sync)", "WriteWhole",
               "EncodeWriteSyncFloor", 1.5);
    printRatio(reporter, "whole write / (narrow + write, no sync)", "WriteWhole",
               "EncodeWriteFloor", 0);
    printRatio(reporter, "journal append: large / empty journal", "JournalAppend/1",
               "JournalAppend/0", 0);
    return 0;
}
