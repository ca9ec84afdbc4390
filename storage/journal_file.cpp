#include "storage/journal_file.h"

#include "storage/codepage.h"
#include "storage/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tarvel {
namespace {

// Flushing Qt's buffer hands the bytes to the system; only this puts them on the disk, so a
// power cut right after a closed receipt still finds it in the file.
bool syncToDisk(QFile& file) {
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#elif defined(Q_OS_DARWIN)
    return ::fsync(file.handle()) == 0;
#else
    return ::fdatasync(file.handle()) == 0;
#endif
}

QString unreadableMessage(const QString& path) {
    return QStringLiteral("Файл журнала %1 есть, но прочитать его не удалось.\n"
                          "Журнал будет вестись только в памяти и в этот файл записан не "
                          "будет, чтобы не затереть то, что в нём хранится.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

QString JournalFile::start(const TapesLoad& load, QStringView journal) {
    switch (load.journal) {
    case JournalLoad::Unreadable:
        state_ = State::MemoryOnly;
        return unreadableMessage(path_);
    case JournalLoad::Loaded:
        if (load.journalMatchesFile) {
            state_ = State::Live;
            fileSize_ = journal.size(); // one byte per character in such a file
            if (appendBytes(QByteArrayLiteral("\r\n")).isEmpty()) return {};
        }
        break;
    case JournalLoad::Missing:
        break;
    }
    // A first run, or a file in some other form (edited by hand, lone CR or LF, no final
    // CR LF): written whole once through a temporary file, so the old one stays whole if
    // this fails.
    return writeWhole(journal);
}

QString JournalFile::append(QStringView piece, QStringView journal) {
    if (state_ != State::Live || piece.isEmpty()) return {};
    if (!piece.startsWith(kCrLf)) return writeWhole(journal); // the file's last CR LF must go
    QByteArray bytes = encodeWindows1251(piece.mid(kCrLf.size())).bytes;
    bytes.append("\r\n", 2);
    return appendBytes(bytes);
}

QString JournalFile::appendBytes(const QByteArray& bytes) {
    QFile file(path_);
    // ExistingOnly: a file removed behind the register's back is not recreated holding the
    // newest piece alone. Unbuffered: nothing of a failed piece waits in a buffer to be
    // written after the file has been cut back.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly |
                   QIODevice::Unbuffered)) {
        return fail(QFileInfo::exists(path_) ? fileErrorReason(file)
                                             : QStringLiteral("файл удалён"));
    }
    if (file.size() != fileSize_) return fail(QStringLiteral("файл изменён другой программой"));
    if (file.write(bytes) != bytes.size() || !file.flush() || !syncToDisk(file)) {
        const QString reason = fileErrorReason(file);
        file.resize(fileSize_); // leave no half piece behind when the disk allows it
        return fail(reason);
    }
    fileSize_ += bytes.size();
    return {};
}

QString JournalFile::writeWhole(QStringView journal) {
    const QString reason = writeTextFileWithCrLf(path_, journal);
    if (!reason.isEmpty()) return fail(reason);
    state_ = State::Live;
    fileSize_ = QFileInfo(path_).size();
    return {};
}

QString JournalFile::fail(const QString& reason) {
    state_ = State::AtCloseOnly;
    return writeFailureMessage(path_, reason) +
           QStringLiteral("\nЧеки пока хранятся только в памяти кассы; журнал будет записан "
                          "в файл целиком при её выключении.");
}

} // namespace tarvel
