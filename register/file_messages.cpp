#include "register/file_messages.h"

#include <QDir>

namespace tarvel {

namespace {

// A path longer than this runs off a message box: its middle gives way to "…", keeping the
// top folders and the file's own name in sight.
constexpr qsizetype kLongestShownPath = 100;
constexpr qsizetype kShownHead = 40;

QString native(const QString& path) {
    return shownPath(path);
}

} // namespace

QString shownPath(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    if (shown.size() <= kLongestShownPath) return shown;
    const qsizetype tail = kLongestShownPath - kShownHead - 1;
    return shown.first(kShownHead) + QChar(0x2026) + shown.last(tail);
}

QString reasonText(const FileError& error) {
    switch (error.reason) {
    case FileProblem::NoSpace:
        return QStringLiteral("нет места на диске");
    case FileProblem::NoPermission:
        return QStringLiteral("нет прав доступа");
    case FileProblem::ReadOnlyDisk:
        return QStringLiteral("диск доступен только для чтения");
    case FileProblem::FileMissing:
        return QStringLiteral("файл не найден");
    case FileProblem::FolderMissing:
        return QStringLiteral("нет такого каталога");
    case FileProblem::IsFolder:
        return QStringLiteral("на этом месте стоит каталог");
    case FileProblem::NotAFile:
        return QStringLiteral("это не файл");
    case FileProblem::InputOutput:
        return QStringLiteral("ошибка ввода-вывода на диске");
    case FileProblem::NameTooLong:
        return QStringLiteral("слишком длинный путь или имя файла");
    case FileProblem::LinkLoop:
        return QStringLiteral("символические ссылки замыкаются в круг");
    case FileProblem::ChangedElsewhere:
        return QStringLiteral("файл изменён другой программой");
    case FileProblem::Undecodable:
        return QStringLiteral("файл не удалось прочитать целиком");
    case FileProblem::NameNotUtf8:
        return QStringLiteral("имя файла не в кодировке UTF-8, открыть его нельзя — переименуйте "
                              "файл");
    case FileProblem::InUse:
        return QStringLiteral("файл занят другой программой — закройте её");
    case FileProblem::WouldShorten:
        return QStringLiteral("в файле больше, чем удалось прочитать");
    case FileProblem::Other:
        break;
    }
    return QStringLiteral("системная ошибка %1").arg(error.systemCode);
}

QString writeFailureMessage(const FileError& error) {
    return QStringLiteral("Не удалось записать файл %1: %2")
        .arg(native(error.path), reasonText(error));
}

QString journalUnreadableMessage(const FileError& error) {
    return QStringLiteral("Файл журнала %1 есть, но прочитать его не удалось: %2.\n"
                          "Журнал будет вестись только в памяти и в этот файл записан не "
                          "будет, чтобы не затереть то, что в нём хранится.")
        .arg(native(error.path), reasonText(error));
}

QString journalAppendFailedMessage(const FileError& error) {
    return writeFailureMessage(error) +
           QStringLiteral("\nЧеки пока хранятся только в памяти кассы; касса запишет их в файл "
                          "со следующим чеком или при выключении.");
}

QString journalNotSavedMessage(const FileError& error) {
    return writeFailureMessage(error) + QStringLiteral("\nЖурнал (контрольная лента) не сохранён.");
}

} // namespace tarvel
