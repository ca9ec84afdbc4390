#pragma once
// Files for the tests of every layer: a data folder in a fresh temporary folder, a file named
// in bytes that need not be UTF-8, and a receipt as the journal keeps it.

#include "storage/codepage.h"
#include "storage/data_dir.h"
#include "support/qt_printing.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarvel::test {

// A data directory in a fresh temporary folder; text goes in and out in windows-1251.
class TempDataDir {
  public:
    TempDataDir() { EXPECT_TRUE(dir_.isValid()); }
    DataDir dataDir() const { return DataDir(dir_.path()); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString folder() const { return dir_.path(); }
    void writeBytes(const QString& name, const QByteArray& bytes) const;
    void writeText(const QString& name, const QString& text) const {
        writeBytes(name, encodeWindows1251(text).bytes);
    }
    QByteArray readBytes(const QString& name) const;
    QString readText(const QString& name) const {
        return decodeWindows1251(readBytes(name)).value_or(QString());
    }
    void remove(const QString& name) const { QFile::remove(path(name)); }

  private:
    QTemporaryDir dir_;
};

// A file in `folder` whose name the system keeps as bytes that need not be UTF-8 (windows-1251,
// say); removed with the object, by those bytes, as Qt cannot name it.
class RawNamedFile {
  public:
    RawNamedFile(const QString& folder, const QByteArray& name, const QByteArray& bytes);
    ~RawNamedFile();
    // The path as Qt reads it from the system, as main() reads its arguments.
    QString path() const { return QString::fromLocal8Bit(path_); }
    // Whether its name reads as something else than its bytes. Windows keeps names in UTF-16,
    // where such a name never arises: there the bytes are simply letters of its code page.
    bool unreadable() const { return path().contains(QChar::ReplacementCharacter); }

  private:
    QByteArray path_;
};

// A closed receipt as the journal keeps it, and what bazasmen.txt holds once the close has
// written `journal`.
inline const QString kReceipt = QStringLiteral("\r\n 01  150 руб\r\nИТОГО\r\n150руб\r\n**********");
inline QByteArray closeBytes(const QString& journal) {
    return encodeWindows1251(journal).bytes + QByteArrayLiteral("\r\n");
}

} // namespace tarvel::test
