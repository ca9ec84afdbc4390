#pragma once
// Fakes of the platform interfaces: a fixed clock and locale, recorded message boxes and
// printer calls, an in-memory settings store, and a data directory in a temporary folder.

#include "panel/cash_register.h"
#include "platform/services.h"
#include "support/qt_printing.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace tarvel::test {

class FakeClock : public Clock {
public:
    QDate date{2026, 12, 5};
    QTime time{21, 30, 15};
    QDate currentDate() const override { return date; }
    QTime currentTime() const override { return time; }
};

// Russian-style dates ("05.12.2026") and times ("21:30:15"), with a chosen separator.
class FakeRegional : public RegionalSettings {
public:
    QChar separator = QLatin1Char('.');
    QChar decimalSeparator() const override { return separator; }
    QString shortDate(QDate d) const override { return d.toString(QStringLiteral("dd.MM.yyyy")); }
    QString longTime(QTime t) const override { return t.toString(QStringLiteral("HH:mm:ss")); }
    QString toUpper(const QString& text) const override { return text.toUpper(); }
    int compareNoCase(const QString& a, const QString& b) const override {
        return a.compare(b, Qt::CaseInsensitive);
    }
};

class RecordingMessages : public MessageBoxes {
public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
    };
    QList<Shown> shown;
    void show(const QString& text, const QString& caption, Icon icon) override {
        shown.append({text, caption, icon});
    }
    QStringList texts() const;
    void clear() { shown.clear(); }
};

class FakeSettings : public SettingsStore {
public:
    QMap<QString, QString> values;
    QString read(const QString& name, const QString& def) const override {
        return values.value(name, def);
    }
    void write(const QString& name, const QString& value) override { values[name] = value; }
};

// Records every printer call as a line of text ("x 12", "stay A", "finish", ...). With
// `failing` set, every call fails as it does when no printer is installed.
class RecordingPrinter : public Printer {
public:
    bool failing = false;
    float width = 10000;
    float height = 15000;
    QStringList calls;

    std::optional<float> printableWidth() override;
    std::optional<float> printableHeight() override;
    bool setFontSize(float points) override;
    bool setCurrentX(float x) override;
    bool setCurrentY(float y) override;
    bool printStay(const QString& text) override;
    bool printNextZone(const QString& text) override;
    bool printEndLine(const QString& text) override;
    bool finishPrintout() override;
    bool closeJob() override;

    // The text that reached the paper of all printouts, each CR read as a line break and each
    // next-zone move as a TAB.
    QString paperText() const;

private:
    bool record(const QString& call);
};

class FakeGoodsWindow : public GoodsWindow {
public:
    bool loaded = false;
    bool shown = false;
    QStringList calls;
    bool isLoaded() const override { return loaded; }
    void show() override;
    void hide() override;
    void unload() override;
};

class FakeProgramEnd : public ProgramEnd {
public:
    int ended = 0;
    void endProgram() override { ++ended; }
};

// A data directory in a fresh temporary folder.
class TempDataDir {
public:
    TempDataDir();
    DataDir dataDir() const { return DataDir(dir_.path()); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // Writes raw bytes (windows-1251 text is written as such by the callers).
    void writeBytes(const QString& name, const QByteArray& bytes) const;
    // Writes text encoded in windows-1251.
    void writeText(const QString& name, const QString& text) const;
    QByteArray readBytes(const QString& name) const;
    QString readText(const QString& name) const; // decoded from windows-1251
    void remove(const QString& name) const;
    // Puts the shipped default header and an empty journal in place.
    void writeDefaults() const;

private:
    QTemporaryDir dir_;
};

// A register wired to fakes, with the default data files in a temporary directory, started
// (Form_Load) unless asked otherwise.
struct RegisterRig {
    FakeClock clock;
    FakeRegional regional;
    RecordingMessages messages;
    RecordingPrinter printer;
    FakeProgramEnd programEnd;
    FakeGoodsWindow goods;
    TempDataDir files;
    std::unique_ptr<CashRegister> reg;

    explicit RegisterRig(QChar separator = QLatin1Char('.'), bool load = true);
    // A fresh register over the same fakes and files (a new run of the program).
    void restart(bool load = true);

    PanelState& s() { return reg->state(); }
    // Presses keys by their captions: "0".."9", "00", ".", "СБ", "+", "-", "Х", "/", "=",
    // "ВВ", "НЛ", "ВТ", "%", "1Д", "2В", "3Т", "4С", "КН", "КР", "КЛ", "КЧ", "КЗ", "CHL", "ФЦ";
    // a sequence separated by spaces, e.g. "1 5 0 ВВ". Test-only: the window maps keys by
    // its control table, not by captions.
    void press(const QString& keys);
};

} // namespace tarvel::test
