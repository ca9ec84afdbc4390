#include "register/file_messages.h"

#include <QDir>

namespace tarvel {

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

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
    case FileProblem::ChangedElsewhere:
        return QStringLiteral("файл изменён другой программой");
    case FileProblem::Undecodable:
        return QStringLiteral("файл не удалось прочитать целиком");
    case FileProblem::NameNotUtf8:
        return QStringLiteral("имя файла не в кодировке UTF-8, открыть его нельзя — переименуйте "
                              "файл");
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

QString folderInUseMessage(const QString& folder) {
    return QStringLiteral("С папкой %1 уже работает другая запущенная касса.\n"
                          "Вторая касса с теми же файлами не запускается, чтобы не стереть "
                          "чеки первой.")
        .arg(native(folder));
}

} // namespace tarvel
