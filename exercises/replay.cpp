#include "exercises/replay.h"

#include "register/file_messages.h"
#include "storage/codepage.h"
#include "storage/data_dir.h"
#include "storage/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace tarvel {
namespace {

QString writeHeader(const QString& path, const QString& header) {
    QFile file(path);
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(encodeWindows1251(header).bytes) != file.size() || !file.flush())
        return writeFailureMessage(fileErrorOf(path, lastSystemError(), file));
    return {};
}

const QString kScratchPrefix = QStringLiteral("tarvel-replay-");
const QString kInUseName = QStringLiteral("replay.lock");

std::unique_ptr<QLockFile> inUseLock(const QString& folder) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(kInUseName));
    lock->setStaleLockTime(0); // only a gone process frees it, never age
    return lock;
}

} // namespace

ReplayFolder::ReplayFolder()
    : dir_(QDir::temp().filePath(kScratchPrefix + QStringLiteral("XXXXXX"))) {
    if (!dir_.isValid()) return;
    inUse_ = inUseLock(dir_.path());
    inUse_->tryLock(0);
}

ReplayFolder::~ReplayFolder() = default;

void ReplayFolder::removeAbandoned() {
    const QDir temp = QDir::temp();
    const QStringList names =
        temp.entryList({kScratchPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QString folder = temp.filePath(name);
        // A folder whose lock is not there yet may be one a replay is making this moment.
        if (!QFileInfo::exists(QDir(folder).filePath(kInUseName))) continue;
        const std::unique_ptr<QLockFile> lock = inUseLock(folder);
        if (!lock->tryLock(0)) continue; // its replay still runs
        lock->unlock();
        QDir(folder).removeRecursively();
    }
}

QString ReplayFolder::prepare(const KeyLogHead& head, const QString& dataFolder) {
    if (!dir_.isValid())
        return QStringLiteral("Не удалось создать временную папку для показа: %1.")
            .arg(dir_.errorString());
    const QString goods = QDir(dataFolder).filePath(kGoodsFileName);
    if (QFileInfo::exists(goods) && !QFile::copy(goods, QDir(path()).filePath(kGoodsFileName)))
        return QStringLiteral("Не удалось скопировать файл %1 для показа.").arg(shownPath(goods));
    // An empty journal, and the header as the tape showed it: read back, it gives the same tape.
    const QString journal = QDir(path()).filePath(kJournalFileName);
    clearSystemError();
    if (QFile file(journal); !file.open(QIODevice::WriteOnly))
        return writeFailureMessage(fileErrorOf(journal, lastSystemError(), file));
    return writeHeader(QDir(path()).filePath(kHeaderFileName), head.receiptHeader);
}

ReplayPlayer::ReplayPlayer(CashRegister& reg, QList<KeyLogEntry> entries, double speed,
                           Alarm& alarm, Hooks hooks)
    : reg_(reg), entries_(std::move(entries)), speed_(speed), alarm_(alarm),
      hooks_(std::move(hooks)) {}

void ReplayPlayer::start() {
    scheduleNext();
}

// The time from the start at which an entry plays, so that rounding never adds up.
qint64 ReplayPlayer::playTime(qsizetype index) const {
    return index < 0 ? 0 : std::llround(double(entries_[index].ms) / speed_);
}

void ReplayPlayer::scheduleNext() {
    // The power key ends the run: the replay stops before it, so the panel stays to be seen.
    if (next_ >= entries_.size() || entries_[next_].key == Key::Power) {
        finished_ = true;
        if (hooks_.finished) hooks_.finished();
        return;
    }
    alarm_.set(playTime(next_) - playTime(next_ - 1), [this] { playNext(); });
}

// The next entry is set only once this one's operation has returned: a message box opened by a
// played key (КР's "Впишите новое клише") holds the replay until the instructor closes it, as
// it held the trainee.
void ReplayPlayer::playNext() {
    play(entries_[next_++]);
    if (hooks_.stepped) hooks_.stepped();
    scheduleNext();
}

// Typed text replaces the field's text as the trainee left it; a locked tape takes no typing.
void ReplayPlayer::play(const KeyLogEntry& entry) {
    if (entry.key) {
        if (hooks_.showKey) hooks_.showKey(*entry.key);
        reg_.press(*entry.key);
    } else if (entry.field == TypedField::Indicator) {
        reg_.indicatorEdited(entry.text);
    } else {
        reg_.editHeader(0, reg_.state().TxtCHL.text().size(), entry.text);
    }
}

} // namespace tarvel
