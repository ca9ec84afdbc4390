#pragma once
// Key logs: every key pressed in a run, with its time since the start, so an instructor can
// replay how a trainee worked. One UTF-8 text file per run in the keys/ folder of the data
// folder, named by the start's date and time and the trainee:
//
//     Tarvel key log 1
//     version: 0.1
//     trainee: Иванова А.
//     exercise: Покупка без сдачи
//     started: 2026-12-05 21:30:15
//     header:    ИП ТОРБИН Т.Т.\r\n ИНН 771313131313\r\n******************\r\n
//     seed: 3141592653
//
//     0 Command1
//     420 Command5
//     3810 CommandVV
//     9120 TxtCHL    ООО РОМАШКА\r\n
//
// The head holds "name: value" lines up to an empty line; "header" is the receipt header in
// use at the start, so a replay prints the same tape; "seed", only for an exercise whose amounts
// are drawn for each run, is the draw the run's amounts came from (logs before it have none). Each
// entry is the milliseconds since the start and the key's control name; an entry naming the receipt
// tape (TxtCHL) or the indicator (TxtIND) instead carries the whole text the trainee typed into
// that field. In values "\\", "\r" and "\n" stand for a backslash, CR and LF.

#include "register/register_events.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace tarvel {

struct KeyLogHead {
    QString version; // of the register that wrote the log
    QString trainee;
    QString exercise; // its title; empty for a run without one
    QDateTime started;
    QString receiptHeader;
    std::optional<quint32> seed = std::nullopt; // the exercise's variant, if its amounts are drawn
};

struct KeyLogEntry {
    qint64 ms = 0;          // since the start
    std::optional<Key> key; // a key press, or else text typed into `field`
    TypedField field = TypedField::ReceiptTape;
    QString text;
};

struct KeyLog {
    KeyLogHead head;
    QList<KeyLogEntry> entries;
    // The file ended inside a line (the power went off while it was written): the entries are
    // the whole lines before it.
    bool lastLineCut = false;
};

QByteArray keyLogHead(const KeyLogHead& head);
QByteArray keyLogLine(const KeyLogEntry& entry);

struct KeyLogRead {
    std::optional<KeyLog> log;
    QString error; // in Russian, naming the file and the line, when there is no log
};
KeyLogRead parseKeyLog(QByteArrayView bytes, const QString& fileName);
KeyLogRead readKeyLog(const QString& path);

// "2026-12-05_21-30-15_Иванова_А.keys": only letters, digits and "-" of the name are kept.
QString keyLogFileName(const QDateTime& started, const QString& trainee);

// Writes a key log as the run goes: the head when it starts, then each entry at once, on the
// disk before the call returns.
class KeyLogWriter {
  public:
    // Creates keys/ in `dataFolder` when needed and a new log in it. Returns an empty string,
    // or the Russian message for the trainee.
    QString start(const QString& dataFolder, const KeyLogHead& head);
    QString add(const KeyLogEntry& entry);
    const QString& path() const { return path_; }

  private:
    QString path_;
};

} // namespace tarvel
