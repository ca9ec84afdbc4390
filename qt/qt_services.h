#pragma once
// The Qt implementations of the platform interfaces: the system clock and locale, Qt message
// boxes, QSettings, and the end of the Qt event loop. The printer has its own file.

#include "register/services.h"
#include "storage/settings.h"

#include <QCollator>
#include <QLocale>

class QWidget;

namespace tarvel {

class SystemClock : public Clock {
  public:
    QDate currentDate() const override;
    QTime currentTime() const override;
};

class SystemRegional : public RegionalSettings {
  public:
    explicit SystemRegional(QLocale locale = QLocale::system());
    QChar decimalSeparator() const override;
    QString shortDate(QDate date) const override;
    QString longTime(QTime time) const override;
    QString toUpper(const QString& text) const override;
    int compareNoCase(const QString& a, const QString& b) const override;

  private:
    QLocale locale_;
    QLocale dateTime_; // the locale whose date and time formats the register writes
    // Made once: the goods directory sorts its whole file with it.
    QCollator noCase_;
};

// Modal QMessageBox with an OK button (or Да and Нет), over the given parent window.
class QtMessageBoxes : public MessageBoxes {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void show(const QString& text, const QString& caption, Icon icon) override;
    bool ask(const QString& text, const QString& caption) override;

  private:
    QWidget* parent_ = nullptr;
};

// QSettings in the platform's per-user place, application "Tarvel", group "Settings".
class QtSettingsStore : public SettingsStore {
  public:
    QString read(const QString& name, const QString& defaultValue) const override;
    void write(const QString& name, const QString& value) override;
};

class QtProgramEnd : public ProgramEnd {
  public:
    void endProgram() override;
};

} // namespace tarvel
