#include "app/start_problem.h"

#include "register/file_messages.h"

#include <cstdio>

namespace tarvel {

void tellStartProblem(const StartProblem& problem, MessageBoxes& messages) {
    using Kind = StartProblem::Kind;
    if (problem.kind == Kind::TakeOverDeclined) return;
    if (problem.kind == Kind::FolderInUse || problem.kind == Kind::NotTakenOver)
        std::fprintf(stderr, "%s\n", qPrintable(problem.text));
    messages.show(problem.text, kProgramTitle, MessageBoxes::Icon::Critical);
}

QString dataFolderMessage(const DataFolderError& error) {
    using Kind = DataFolderError::Kind;
    const QString stoodInTheWay = error.cause ? shownPath(error.cause->path) : QString();
    const QString folder = shownPath(error.folder);
    const QString reason = error.cause ? reasonText(*error.cause) : QString();
    QString what;
    switch (error.kind) {
    case Kind::NoFolder:
        what = QStringLiteral("Система не называет личную папку данных пользователя.");
        break;
    case Kind::NotAFolder:
        what = QStringLiteral("Не удалось создать папку данных %1: %2 — это файл, а не папка.")
                   .arg(folder, stoodInTheWay);
        break;
    case Kind::CannotCreate:
        what = QStringLiteral("Не удалось создать папку данных %1: %2.").arg(folder, reason);
        break;
    case Kind::NotWritable:
        what = QStringLiteral("Нельзя записывать в папку данных %1: нет права записи в папку %2.")
                   .arg(folder, stoodInTheWay);
        break;
    case Kind::CannotSeed:
        what = QStringLiteral("Не удалось скопировать файл %1 в папку данных %2: %3.")
                   .arg(error.file, folder, reason);
        break;
    }
    return what +
           QStringLiteral(
               "\nТренажёр не запущен.\nДругую папку можно указать так: tarvel --data-dir ПАПКА");
}

StartProblem dataFolderProblem(const DataFolderError& error) {
    return {StartProblem::Kind::DataFolder, dataFolderMessage(error)};
}

StartProblem replayProblem(const QString& reason) {
    return {StartProblem::Kind::ReplayNotStarted,
            reason + QStringLiteral("\nПоказ записи не начат.")};
}

StartProblem folderInUseProblem(const QString& folder) {
    return {StartProblem::Kind::FolderInUse,
            QStringLiteral("С папкой %1 уже работает другая запущенная касса.\n"
                           "Вторая касса с теми же файлами не запускается, чтобы не стереть "
                           "чеки первой.")
                .arg(shownPath(folder))};
}

QString folderHeldElsewhereMessage(const QString& folder, const QString& computer,
                                   const QDateTime& since) {
    return QStringLiteral("С папкой %1 работает касса на другом компьютере (%2) с %3.\n"
                          "Возможно, это след кассы, которую не закрыли перед выключением "
                          "компьютера или извлечением флешки.")
        .arg(shownPath(folder), computer, since.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

QString folderTakeOverQuestion(const QString& folder, const QString& computer,
                               const QDateTime& since) {
    return folderHeldElsewhereMessage(folder, computer, since) +
           QStringLiteral("\n\nЗанять папку для этой кассы? Если касса на том компьютере ещё "
                          "работает, чеки одной из касс будут потеряны.");
}

StartProblem folderNotTakenOverProblem(const QString& folder, const QString& computer,
                                       const QDateTime& since) {
    return {StartProblem::Kind::NotTakenOver,
            folderHeldElsewhereMessage(folder, computer, since) +
                QStringLiteral("\nЗанять папку не удалось: касса не запускается.")};
}

StartProblem takeOverDeclined() {
    return {StartProblem::Kind::TakeOverDeclined, {}};
}

} // namespace tarvel
