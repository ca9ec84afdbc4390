#include "qt/qt_services.h"

#include <QApplication>
#include <QCollator>
#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace tarvel {

QDate SystemClock::currentDate() const {
    return QDate::currentDate();
}
QTime SystemClock::currentTime() const {
    return QTime::currentTime();
}

// A machine with no locale configured (the "C" locale) would print dates such as "6 Dec 2026"
// on a Russian receipt; there the register writes dates and times the Russian way instead.
static QLocale dateTimeLocaleFor(const QLocale& system) {
    return system.language() == QLocale::C ? QLocale(QLocale::Russian, QLocale::Russia) : system;
}

// The goods are Russian words: a machine set up for another language (or none) would put Ё
// after Я or Latin names before Cyrillic ones, so the list always sorts the Russian way.
static QLocale collationLocaleFor(const QLocale& system) {
    return system.language() == QLocale::Russian ? system
                                                 : QLocale(QLocale::Russian, QLocale::Russia);
}

SystemRegional::SystemRegional(QLocale locale)
    : locale_(std::move(locale)), dateTime_(dateTimeLocaleFor(locale_)),
      noCase_(collationLocaleFor(locale_)) {
    noCase_.setCaseSensitivity(Qt::CaseInsensitive);
}

QChar SystemRegional::decimalSeparator() const {
    const QString sep = locale_.decimalPoint();
    return sep.isEmpty() ? QLatin1Char('.') : sep.at(0);
}

QString SystemRegional::shortDate(QDate date) const {
    return dateTime_.toString(date, QLocale::ShortFormat);
}

QString SystemRegional::longTime(QTime time) const {
    // The long format of some locales carries a time zone name; the register shows hours,
    // minutes and seconds only.
    QString format = dateTime_.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t')).replace(QLatin1String("  "), QLatin1String(" "));
    return dateTime_.toString(time, format.trimmed());
}

QString SystemRegional::toUpper(const QString& text) const {
    return locale_.toUpper(text);
}

int SystemRegional::compareNoCase(const QString& a, const QString& b) const {
    return noCase_.compare(a, b);
}

void QtMessageBoxes::show(const QString& text, const QString& caption, Icon icon) {
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, caption,
                    text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtMessageBoxes::ask(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    // Qt's own captions are English without a translation installed; the trainee reads Russian.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::No); // Enter alone never takes another's folder
    return box.exec() == QMessageBox::Yes;
}

QString QtSettingsStore::read(const QString& name, const QString& defaultValue) const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kProgramTitle, kProgramTitle);
    settings.beginGroup(kSettingsSection);
    return settings.value(name, defaultValue).toString();
}

void QtSettingsStore::write(const QString& name, const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kProgramTitle, kProgramTitle);
    settings.beginGroup(kSettingsSection);
    settings.setValue(name, value);
}

void QtProgramEnd::endProgram() {
    QCoreApplication::exit(0);
}

} // namespace tarvel
