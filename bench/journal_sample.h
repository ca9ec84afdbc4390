#pragma once
// Journals and receipts as a register in training use writes them, for the benchmarks: the
// receipt header, sale lines in the eight departments, the total block with its date and time,
// cash payments with their change, and now and then a shift report of 1Д or 2В.

#include "platform/services.h"

#include <QString>
#include <random>

namespace tarvel::bench {

// One piece the register appends to the journal when it closes a receipt: CR LF and the
// receipt tape.
QString sampleReceiptPiece(std::mt19937& random);

// A journal text of at least `characters` characters, the same for the same seed.
QString sampleJournal(qsizetype characters, unsigned seed = 1);

// Platform services that do nothing: the benchmarks time the register, not the desktop.
struct QuietPlatform {
    struct : Clock {
        QDate currentDate() const override { return {2026, 12, 5}; }
        QTime currentTime() const override { return {21, 30, 15}; }
    } clock;
    struct : RegionalSettings {
        QChar decimalSeparator() const override { return QLatin1Char('.'); }
        QString shortDate(QDate d) const override { return d.toString(u"dd.MM.yyyy"); }
        QString longTime(QTime t) const override { return t.toString(u"HH:mm:ss"); }
        QString toUpper(const QString& text) const override { return text.toUpper(); }
        int compareNoCase(const QString& a, const QString& b) const override {
            return a.compare(b, Qt::CaseInsensitive);
        }
    } regional;
    struct : MessageBoxes {
        int shown = 0;
        void show(const QString&, const QString&, Icon) override { ++shown; }
    } messages;
    struct : Printer {
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
    } printer;
    struct : ProgramEnd {
        void endProgram() override {}
    } programEnd;
};

} // namespace tarvel::bench
