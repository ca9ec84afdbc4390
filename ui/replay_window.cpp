#include "ui/replay_window.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tarvel {

ReplayWindow::ReplayWindow(const KeyLog& log, double speed, const QString& runningVersion,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), lastLineCut_(log.lastLineCut) {
    const KeyLogHead& head = log.head;
    setObjectName(QStringLiteral("Replay"));
    setWindowTitle(QStringLiteral("Показ записи"));
    auto* column = new QVBoxLayout(this);
    QStringList lines{
        QStringLiteral("Ученик: %1")
            .arg(head.trainee.isEmpty() ? QStringLiteral("—") : head.trainee),
        QStringLiteral("Упражнение: %1")
            .arg(head.exercise.isEmpty() ? QStringLiteral("—") : head.exercise),
        QStringLiteral("Записано: %1")
            .arg(head.started.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))),
        QStringLiteral("Скорость: ×%1").arg(speed),
        QStringLiteral("Журнал и клише показа — во временной папке; настоящие файлы не меняются."),
    };
    // The amounts the trainee was given, for an exercise that draws them: the same seed draws
    // them again.
    if (head.seed) lines.insert(2, QStringLiteral("Вариант: %1").arg(*head.seed));
    if (head.version != runningVersion)
        lines << QStringLiteral("Запись сделана версией %1, показ идёт в версии %2: лента может "
                                "отличаться.")
                     .arg(head.version, runningVersion);
    auto* about = new QLabel(lines.join(u'\n'), this);
    about->setObjectName(QStringLiteral("ReplayAbout"));
    about->setWordWrap(true);
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("ReplayProgress"));
    column->addWidget(about);
    column->addWidget(progress_);
    resize(360, 180);
}

void ReplayWindow::showProgress(qsizetype played, qsizetype total, bool finished) {
    if (!finished) {
        progress_->setText(QStringLiteral("Показано %1 из %2.").arg(played).arg(total));
        return;
    }
    QString text = QStringLiteral("Показ окончен: %1 из %2.").arg(played).arg(total);
    if (lastLineCut_)
        text += QStringLiteral("\nПоследняя строка записи оборвана (запись прервалась, например, "
                               "при отключении питания): показано всё, что записано до неё.");
    progress_->setText(text);
}

} // namespace tarvel
