#include "ui/exercise_chooser.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvel {

ExerciseChooser::ExerciseChooser(const QList<ListedExercise>& exercises, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ExerciseChooser"));
    setWindowTitle(QStringLiteral("Выбор упражнения"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(QStringLiteral("Выберите упражнение:"), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ExerciseList"));
    list_->setWordWrap(true);
    for (const ListedExercise& exercise : exercises) {
        auto* row =
            new QListWidgetItem(exercise.error.isEmpty() ? exercise.title : exercise.error, list_);
        row->setData(Qt::UserRole, exercise.path);
        if (!exercise.error.isEmpty()) row->setFlags(Qt::NoItemFlags);
    }
    column->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("ChooserButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Начать"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Без упражнения"));
    column->addWidget(buttons);
    resize(480, 360);

    auto setOk = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!chosenPath().isEmpty());
    };
    connect(list_, &QListWidget::currentRowChanged, this, setOk);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (!chosenPath().isEmpty()) accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The first usable exercise is ready to start.
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->flags() & Qt::ItemIsEnabled) {
            list_->setCurrentRow(i);
            break;
        }
    setOk();
}

QString ExerciseChooser::chosenPath() const {
    const QListWidgetItem* row = list_->currentItem();
    if (!row || !(row->flags() & Qt::ItemIsEnabled)) return {};
    return row->data(Qt::UserRole).toString();
}

} // namespace tarvel
