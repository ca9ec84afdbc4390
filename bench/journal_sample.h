#pragma once
// Journals and receipts as a register in training use writes them, for the benchmarks: the
// receipt header, sale lines in the eight departments, the total block with its date and time,
// cash payments with their change, and now and then a shift report of 1Д or 2В.

#include "support/fakes.h"

#include <QString>
#include <random>

namespace tarvel::bench {

// One piece the register appends to the journal when it closes a receipt: CR LF and the
// receipt tape.
QString sampleReceiptPiece(std::mt19937& random);

// A journal text of at least `characters` characters, the same for the same seed.
QString sampleJournal(qsizetype characters, unsigned seed = 1);

// A printer that takes everything and keeps nothing. The tests' recording printer keeps a
// string for every call, and a receipt under a header of megabytes prints one call a character:
// keeping ten million strings would time the recording, not the register.
struct QuietPrinter : Printer {
    std::optional<float> printableWidth() override { return 10000; }
    std::optional<float> printableHeight() override { return 15000; }
    bool setFontSize(float) override { return true; }
    bool setCurrentX(float) override { return true; }
    bool setCurrentY(float) override { return true; }
    bool printStay(const QString&) override { return true; }
    bool printNextZone(const QString&) override { return true; }
    bool printEndLine(const QString&) override { return true; }
    bool finishPrintout() override { return true; }
    bool closeJob() override { return true; }
};

// The tests' fakes stand in for the desktop: the benchmarks time the register, not it.
struct QuietPlatform {
    test::FakeClock clock;
    test::FakeRegional regional;
    test::RecordingMessages messages;
    QuietPrinter printer;
    test::FakeProgramEnd programEnd;
    test::FakeSettings settings;
};

} // namespace tarvel::bench
