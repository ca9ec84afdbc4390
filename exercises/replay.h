#pragma once
// Watching a recorded run: the key log played back on a register, each key at its recorded
// time divided by the speed, in a scratch copy of the data folder so the trainee's own journal
// and header are never touched.

#include "exercises/key_log.h"
#include "exercises/timing.h"
#include "register/cash_register.h"

#include <QLockFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace tarvel {

// A temporary folder, removed with the object: clishe.txt holds the header the run started
// with, the journal starts empty (it shows the run's receipts alone), and the goods directory
// is copied in. Nothing else of the data folder: the lock of a register working there would
// turn the replay's own register away.
class ReplayFolder {
  public:
    ReplayFolder();
    ~ReplayFolder();
    // Returns an empty string, or the Russian message for the instructor.
    QString prepare(const KeyLogHead& head, const QString& dataFolder);
    QString path() const { return dir_.path(); }

    // The scratch folders of replays whose program is gone (killed, or the computer switched
    // off) are never removed by their owner: the next start removes them.
    static void removeAbandoned();

  private:
    QTemporaryDir dir_;
    std::unique_ptr<QLockFile> inUse_; // held while the replay runs
};

class ReplayPlayer {
  public:
    struct Hooks {
        std::function<void(Key)> showKey; // a key about to be pressed, to show it down
        std::function<void()> stepped;    // after each entry: draw the panel
        std::function<void()> finished;
    };

    // `speed`: 2 plays twice as fast as recorded.
    ReplayPlayer(CashRegister& reg, QList<KeyLogEntry> entries, double speed, Alarm& alarm,
                 Hooks hooks);

    void start();
    qsizetype played() const { return next_; }
    qsizetype total() const { return entries_.size(); }
    bool finished() const { return finished_; }

  private:
    void scheduleNext();
    void playNext();
    void play(const KeyLogEntry& entry);
    qint64 playTime(qsizetype index) const;

    CashRegister& reg_;
    QList<KeyLogEntry> entries_;
    double speed_;
    Alarm& alarm_;
    Hooks hooks_;
    qsizetype next_ = 0;
    bool finished_ = false;
};

} // namespace tarvel
