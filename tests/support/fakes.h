#pragma once
// Fakes of the platform interfaces: a fixed clock and locale, recorded message boxes and
// printer calls, an in-memory settings store, and a register wired to them (files: temp_files.h).

#include "register/cash_register.h"
#include "register/file_messages.h"
#include "register/notice_boxes.h"
#include "register/services.h"
#include "storage/settings.h"
#include "support/temp_files.h"

#include <QMap>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace tarvel::test {

struct FakeClock : Clock {
    QDate date{2026, 12, 5};
    QTime time{21, 30, 15};
    QDate currentDate() const override { return date; }
    QTime currentTime() const override { return time; }
};

// Russian-style dates ("05.12.2026") and times ("21:30:15"), with a chosen separator.
struct FakeRegional : RegionalSettings {
    QChar separator = QLatin1Char('.');
    QChar decimalSeparator() const override { return separator; }
    QString shortDate(QDate d) const override { return d.toString(QStringLiteral("dd.MM.yyyy")); }
    QString longTime(QTime t) const override { return t.toString(QStringLiteral("HH:mm:ss")); }
    QString toUpper(const QString& text) const override { return text.toUpper(); }
    int compareNoCase(const QString& a, const QString& b) const override {
        return a.compare(b, Qt::CaseInsensitive);
    }
};

struct RecordingMessages : MessageBoxes {
    struct Shown {
        QString text, caption;
        Icon icon;
    };
    QList<Shown> shown;
    QStringList asked;   // every question, in order
    bool answer = false; // the trainee's answer to each: Yes when true
    void show(const QString& t, const QString& c, Icon i) override { shown.append({t, c, i}); }
    bool ask(const QString& t, const QString&) override {
        asked << t;
        return answer;
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& m : shown)
            out << m.text;
        return out;
    }
    void clear() { shown.clear(); }
};

struct FakeSettings : SettingsStore {
    QMap<QString, QString> values;
    QString read(const QString& n, const QString& d) const override { return values.value(n, d); }
    void write(const QString& name, const QString& value) override { values[name] = value; }
};

// Records every printer call as text ("x 12", "stay A", "finish", ...); with `failing` set every
// call fails, as with no printer installed. `onCall` runs first at every call.
struct RecordingPrinter : Printer {
    bool failing = false;
    float width = 10000, height = 15000;
    QStringList calls;
    std::function<void()> onCall;

    std::optional<float> printableWidth() override { return measure("width", width); }
    std::optional<float> printableHeight() override { return measure("height", height); }
    bool setFontSize(float p) override { return record(QStringLiteral("font %1").arg(p)); }
    bool setCurrentX(float x) override { return record(QStringLiteral("x %1").arg(x)); }
    bool setCurrentY(float y) override { return record(QStringLiteral("y %1").arg(y)); }
    bool printStay(const QString& t) override { return record(QStringLiteral("stay ") + t); }
    bool printNextZone(const QString& t) override { return record(QStringLiteral("zone ") + t); }
    bool printEndLine(const QString& t) override { return record(QStringLiteral("endline ") + t); }
    bool finishPrintout() override { return record(QStringLiteral("finish")); }
    bool closeJob() override { return record(QStringLiteral("close")); }

    // The text that reached the paper of all printouts, each CR read as a line break and each
    // next-zone move as a TAB.
    QString paperText() const;
    // Each finished printout as its page shows it, row by row from the top of the page: a
    // character cell is 1 % of the page wide and 2 % high, print zones are 14 cells wide, and
    // a CR (or the end of a line) goes on at the left edge of the next row.
    QList<QStringList> pages() const;

    bool record(const QString& call) {
        if (onCall) onCall();
        calls << (failing ? QStringLiteral("FAILED ") + call : call);
        return !failing;
    }
    std::optional<float> measure(const char* call, float value) {
        return record(QLatin1String(call)) ? std::optional(value) : std::nullopt;
    }
};

struct FakeGoodsWindow : GoodsWindow {
    bool loaded = false, shown = false;
    QStringList calls;
    bool isLoaded() const override { return loaded; }
    void show() override { call("show", true, true); }
    void hide() override { call("hide", true, false); }
    void unload() override { call("unload", false, false); }
    void call(const char* name, bool isLoaded, bool isShown) {
        calls << QString::fromLatin1(name);
        loaded = isLoaded, shown = isShown;
    }
};

struct FakeProgramEnd : ProgramEnd {
    int ended = 0;
    void endProgram() override { ++ended; }
};

// The shipped default header and an empty journal.
void writeDefaults(const TempDataDir& files);

// A register wired to fakes, with the default data files in a temporary directory, started
// unless asked otherwise.
struct RegisterRig {
    FakeClock clock;
    FakeRegional regional;
    RecordingMessages messages;
    NoticeBoxes notices{messages}; // the register's notices shown as the program shows them
    RecordingPrinter printer;
    FakeProgramEnd programEnd;
    FakeGoodsWindow goods;
    TempDataDir files;
    std::unique_ptr<CashRegister> reg;

    explicit RegisterRig(QChar separator = QLatin1Char('.'), bool load = true);
    // A fresh register over the same fakes and files (a new run of the program).
    void restart(bool load = true);

    const PanelState& s() const { return reg->state(); }
    // Presses keys by their captions (see keysOf): "1 5 0 ВВ", "КР 3Т", "CHL".
    void press(const QString& keys);
    // The trainee types over the whole open header: the tape's text becomes `text`.
    void typeHeader(const QString& text) { reg->editHeader(0, s().TxtCHL.text().size(), text); }
};

// Keys by their captions on the panel, separated by spaces: "1 5 0 ВВ", "КР 3Т", or by their
// control names ("CommandVV"). The key with a symbol for a caption is "CHL", the power key
// "VKL". An unknown caption fails the test.
std::vector<Key> keysOf(const QString& captions);

} // namespace tarvel::test
