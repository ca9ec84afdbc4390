#include "app/data_folder_message.h"

namespace tarvel {

QString dataFolderMessage(const DataFolderError& error) {
    using Kind = DataFolderError::Kind;
    QString what;
    switch (error.kind) {
    case Kind::NoFolder:
        what = QStringLiteral("Система не называет личную папку данных пользователя.");
        break;
    case Kind::NotAFolder:
    case Kind::CannotCreate:
        what = QStringLiteral("Не удалось создать папку данных %1: %2.")
                   .arg(error.folder, error.reason);
        break;
    case Kind::NotWritable:
        what = QStringLiteral("Нельзя записывать в папку данных %1: %2.")
                   .arg(error.folder, error.reason);
        break;
    case Kind::CannotSeed:
        what = QStringLiteral("Не удалось скопировать файл %1 в папку данных %2: %3.")
                   .arg(error.file, error.folder, error.reason);
        break;
    }
    return what +
           QStringLiteral(
               "\nТренажёр не запущен.\nДругую папку можно указать так: tarvel --data-dir ПАПКА");
}

} // namespace tarvel
